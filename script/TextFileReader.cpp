#include "TextFileReader.h"

#include <cstring>

namespace {

constexpr char kCtrlZ = '\x1A';
constexpr size_t kReadBufferSize = 64 * 1024;

// The length of what fgets put into a buffer of nSize bytes that was filled with line feeds
// beforehand. fgets stops at the first line feed it reads, so the first line feed in the buffer
// either ends the data (and the terminator follows it) or is filler just past the terminator.
// This counts zero bytes inside the line too, which strlen would not.
int GetDataLength(const char* pBuffer, int nSize) {
    const char* pLineFeed = static_cast<const char*>(std::memchr(pBuffer, '\n', nSize));
    if (pLineFeed == nullptr) {
        return nSize - 1;
    }
    const int nIndex = static_cast<int>(pLineFeed - pBuffer);
    if (nIndex + 1 < nSize && pLineFeed[1] == '\0') {
        return nIndex + 1;
    }
    return nIndex - 1;
}

// The buffer fgets reads into, kept filled with line feeds: after each read only the bytes that
// fgets wrote are filled again, so a short line costs a short refill. One per thread, since the
// streams of different threads read at the same time.
struct LineFeedFilledChunk {
    char bytes[kTextLineSize];
    LineFeedFilledChunk() { std::memset(bytes, '\n', sizeof(bytes)); }
};
thread_local LineFeedFilledChunk t_chunk;

} // namespace

std::shared_ptr<FILE> OpenTextFile(const CString& strFileName) {
    // Binary mode: the translation is ours, so that no platform adds or skips any of it.
    FILE* pFile = std::fopen(strFileName, "rb");
    if (pFile == nullptr) {
        return nullptr;
    }
    // Scripts are read from start to end: larger reads mean fewer calls into the system.
    std::setvbuf(pFile, nullptr, _IOFBF, kReadBufferSize);
    return std::shared_ptr<FILE>(pFile, [](FILE* p) { std::fclose(p); });
}

bool ReadTextLine(FILE* pFile, char* pszLine) {
    if (pFile == nullptr) {
        return false;
    }
    // Read into a buffer of our own first: a read that finds nothing must leave the caller's
    // buffer as it was, as fgets does.
    char* chunk = t_chunk.bytes;
    if (std::fgets(chunk, kTextLineSize, pFile) == nullptr) {
        // At the end nothing was written; after a read error the contents are undefined.
        std::memset(chunk, '\n', kTextLineSize);
        return false;
    }
    const int nRead = GetDataLength(chunk, kTextLineSize);
    int nLength = nRead;
    if (const void* pCtrlZ = std::memchr(chunk, kCtrlZ, static_cast<size_t>(nLength))) {
        // Nothing from a Ctrl-Z on is ever read, by this stream or any sharing the file.
        nLength = static_cast<int>(static_cast<const char*>(pCtrlZ) - chunk);
        std::fseek(pFile, 0, SEEK_END);
        if (nLength == 0) {
            std::memset(chunk, '\n', static_cast<size_t>(nRead) + 1);
            return false;
        }
    } else if (nLength >= 2 && chunk[nLength - 1] == '\n' && chunk[nLength - 2] == '\r') {
        // fgets stops at the first line feed, so a CR LF pair can only end the line.
        chunk[nLength - 2] = '\n';
        --nLength;
    } else if (nLength == kTextLineSize - 1 && chunk[nLength - 1] == '\r') {
        // A full line ending in CR: a line feed right after makes the pair, which then counts as
        // one byte and so still fits. The byte after the CR is the next line's otherwise.
        const int next = std::getc(pFile);
        if (next == '\n') {
            chunk[nLength - 1] = '\n';
        } else if (next != EOF) {
            std::ungetc(next, pFile);
        }
    }
    chunk[nLength] = '\0';
    std::memcpy(pszLine, chunk, static_cast<size_t>(nLength) + 1);
    std::memset(chunk, '\n', static_cast<size_t>(nRead) + 1); // the line and its terminator
    return true;
}
