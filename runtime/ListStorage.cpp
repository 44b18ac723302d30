#include <bwcore/runtime/ListStorage.h>

#include <bwcore/platform.h>
#include <bwcore/runtime/Io.h>
#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>

#include "ListRecord.h"

#include <string.h>

#include <algorithm>

namespace {

constexpr uint32_t kChunkSize = 8192;
constexpr uint32_t kWriteBufferSize = 1025;
constexpr int32_t kOpenForReading = 2;
constexpr int32_t kOpenEmptied = 1;
constexpr char kEndOfFileMark = 26;

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

// Finds the line breaks of a text where a walk by characters with _lstrnext meets them, so that
// the second byte of a double-byte character is never taken for a break, without a call per
// byte: which bytes make _lstrnext step over the byte after them is asked once. In a code page
// without such bytes every byte is a character and the breaks are found with memchr.
class BreakFinder {
public:
    BreakFinder() {
        for (int b = 1; b < 256; ++b) {
            const char pair[3] = {static_cast<char>(b), 'x', '\0'};
            leads_[b] = _lstrnext(pair) == pair + 2;
            anyLead_ = anyLead_ || leads_[b];
        }
    }

    void Begin(const char* text, uint32_t length) {
        text_ = text;
        length_ = length;
        nextCr_ = 0;
        nextLf_ = 0;
        searched_ = false;
    }

    // The offset of the first break at or after `from`, which starts a character; the text's
    // length when there is none.
    uint32_t Next(uint32_t from) {
        if (anyLead_)
            return WalkToBreak(from);
        if (!searched_ || nextCr_ < from)
            nextCr_ = Find('\r', from);
        if (!searched_ || nextLf_ < from)
            nextLf_ = Find('\n', from);
        searched_ = true;
        return std::min(nextCr_, nextLf_);
    }

    // Whether the text's last byte, walked to by characters from `from`, is a lead byte: the
    // first byte of a character that the text to come completes.
    bool EndsInLeadByte(uint32_t from) const {
        if (!anyLead_)
            return false;
        uint32_t p = from;
        while (p + 1 < length_)
            p += leads_[static_cast<unsigned char>(text_[p])] && text_[p + 1] != '\0' ? 2 : 1;
        return p + 1 == length_ && leads_[static_cast<unsigned char>(text_[p])];
    }

private:
    uint32_t Find(char c, uint32_t from) const {
        const void* found = memchr(text_ + from, c, length_ - from);
        return found != nullptr ? static_cast<uint32_t>(static_cast<const char*>(found) - text_)
                                : length_;
    }

    // A lead byte takes the byte after it along, unless that is a zero byte or beyond the text.
    uint32_t WalkToBreak(uint32_t p) const {
        while (p < length_) {
            const unsigned char c = static_cast<unsigned char>(text_[p]);
            if (IsBreak(static_cast<char>(c)))
                return p;
            p += leads_[c] && p + 1 < length_ && text_[p + 1] != '\0' ? 2 : 1;
        }
        return length_;
    }

    bool leads_[256] = {};
    bool anyLead_ = false;
    const char* text_ = nullptr;
    uint32_t length_ = 0;
    uint32_t nextCr_ = 0;
    uint32_t nextLf_ = 0;
    bool searched_ = false;
};

// Splits `length` bytes of text into lines, from offset `start`, and inserts every line that a
// break completes. When `moreFollows`, a break in the text's last byte may pair with the first
// byte of the text to come, so the line it ends stays unfinished. Returns the offset where the
// unfinished rest begins (length when there is none).
uint32_t InsertLines(HLIST list, BreakFinder& breaks, char* text, uint32_t length, uint32_t start,
                     bool moreFollows) {
    breaks.Begin(text, length);
    uint32_t lineStart = start;
    for (uint32_t p = breaks.Next(start); p < length; p = breaks.Next(lineStart)) {
        if (p == length - 1 && moreFollows)
            break;
        const char c = text[p];
        text[p] = '\0';
        bwcore::ListInsertLine(list, text + lineStart, length - lineStart);
        text[p] = c;
        ++p;
        if (p < length && IsBreak(text[p]))
            ++p;
        lineStart = p;
    }
    return lineStart;
}

} // namespace

int32_t ListReadFromFile(HLIST list, const char* path) {
    if (list == nullptr || path == nullptr || list->itemSize != 0)
        return 0;
    const int32_t bufferHeap = ListGetHeap();
    char* buffer = static_cast<char*>(MemHeapAlloc(bufferHeap, kChunkSize + 1));
    if (buffer == nullptr)
        return 0;
    HANDLE file = IoOpen(path, kOpenForReading);
    if (file == INVALID_HANDLE_VALUE) {
        MemHeapFree(bufferHeap, buffer);
        return 0;
    }
    BreakFinder breaks;
    uint32_t remainder = IoSize(file);
    // An unfinished line is kept at the start of the buffer, and the next chunk is read after it:
    // so the chunk begins with that line again, as if the file had been read from its start.
    uint32_t carried = 0;
    // After a line longer than a chunk: how many break bytes at the start of the next chunk still
    // belong to the break that ends it.
    uint32_t breakBytesOwed = 0;
    for (;;) {
        uint32_t count = kChunkSize - carried;
        if (IoRead(file, buffer + carried, &count) <= 0) {
            // A failed read ends the reading like the end of the file.
            if (carried == 0)
                break;
            count = 0;
            remainder = 0;
        }
        remainder = remainder > count ? remainder - count : 0;
        const uint32_t length = carried + count;
        const bool moreFollows = remainder > 0;
        buffer[length] = '\0';
        carried = 0;
        uint32_t start = 0;
        while (start < breakBytesOwed && start < length && IsBreak(buffer[start]))
            ++start;
        breakBytesOwed = 0;
        const uint32_t rest = InsertLines(list, breaks, buffer, length, start, moreFollows);
        if (!moreFollows) {
            if (buffer[rest] != kEndOfFileMark)
                ListInsert(list, buffer + rest);
        } else if (rest > start || start == length) {
            carried = length - rest;
            memmove(buffer, buffer + rest, carried);
        } else if (breaks.EndsInLeadByte(start)) {
            // A line longer than a chunk that ends in a lead byte: the piece before that byte
            // becomes an item of its own, and the next chunk begins with the whole character.
            const char lead = buffer[length - 1];
            buffer[length - 1] = '\0';
            ListInsert(list, buffer + start);
            buffer[0] = lead;
            carried = 1;
        } else {
            // A line longer than a chunk: this chunk of it becomes an item of its own, and the
            // line goes on in the next chunk, or ends with the break that begins it.
            if (IsBreak(buffer[length - 1])) {
                buffer[length - 1] = '\0';
                breakBytesOwed = 1;
            } else {
                breakBytesOwed = 2;
            }
            ListInsert(list, buffer + start);
        }
    }
    IoClose(file);
    MemHeapFree(bufferHeap, buffer);
    return 1;
}

int32_t ListFromBuffer(HLIST list, char* buffer, uint32_t length) {
    if (list == nullptr || buffer == nullptr)
        return 0;
    if (length == 0) {
        buffer[0] = '\0';
        bwcore::ListInsertLine(list, buffer, 1);
        return 1;
    }
    BreakFinder breaks;
    InsertLines(list, breaks, buffer, length, 0, true);
    return 1;
}

int32_t ListWriteToFile(HLIST list, const char* path) {
    if (list == nullptr || path == nullptr || list->itemSize != 0)
        return 0;
    IoDelete(path);
    HANDLE file = IoOpen(path, kOpenEmptied);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const int32_t bufferHeap = ListGetHeap();
    char* buffer = static_cast<char*>(MemHeapAlloc(bufferHeap, kWriteBufferSize));
    if (buffer == nullptr) {
        IoClose(file);
        return 0;
    }
    list->current = list->first;
    for (BWLISTNODE* node = list->first; node != nullptr && node->item != nullptr;
         node = node->next) {
        list->current = node;
        const char* item = static_cast<const char*>(node->item);
        const size_t length = strlen(item);
        const size_t breakLength = node == list->first ? 0 : 2;
        memcpy(buffer, "\r\n", breakLength);
        if (breakLength + length < kWriteBufferSize) {
            memcpy(buffer + breakLength, item, length);
            uint32_t size = static_cast<uint32_t>(breakLength + length);
            IoWrite(file, buffer, &size);
        } else {
            uint32_t size = static_cast<uint32_t>(breakLength);
            IoWrite(file, buffer, &size);
            size = static_cast<uint32_t>(length);
            IoWrite(file, item, &size);
        }
    }
    MemHeapFree(bufferHeap, buffer);
    IoClose(file);
    return 1;
}

namespace {

HLIST Copy(HLIST source, bool inSourceHeap) {
    if (source == nullptr || source->itemSize < 0)
        return nullptr;
    HLIST copy = inSourceHeap ? ListCreateEx(source->itemSize, source->heapId)
                              : ListCreate(source->itemSize);
    if (copy == nullptr)
        return nullptr;
    source->current = source->first;
    for (BWLISTNODE* node = source->first; node != nullptr && node->item != nullptr;
         node = node->next) {
        source->current = node;
        const size_t size = source->itemSize == 0 ? strlen(static_cast<const char*>(node->item)) + 1
                                                  : size_t(source->itemSize);
        void* item = size < UINT32_MAX ? MemHeapAlloc(copy->heapId, uint32_t(size + 1)) : nullptr;
        if (item == nullptr)
            break;
        memcpy(item, node->item, size);
        if (!bwcore::ListLinkAfterCurrent(copy, item, true))
            MemHeapFree(copy->heapId, item);
    }
    return copy;
}

} // namespace

HLIST ListCopy(HLIST list) {
    return Copy(list, false);
}

HLIST ListCopyEx(HLIST list) {
    return Copy(list, true);
}
