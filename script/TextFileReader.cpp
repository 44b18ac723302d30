#include "TextFileReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr char kCtrlZ = '\x1A';
constexpr size_t kReadAheadSize = 64 * 1024;
constexpr size_t kMaxLineLength = kTextLineSize - 1;

// Bytes read from a file but not yet delivered as lines.
struct ReadAhead {
    std::unique_ptr<char[]> bytes;
    size_t nCapacity;
    size_t nPos = 0;
    size_t nEnd = 0;
    bool bEnded = false; // a Ctrl-Z was read: the bytes up to it are all that is left

    explicit ReadAhead(size_t nSize) : bytes(new char[nSize]), nCapacity(nSize) {}

    // Whether a byte is waiting, reading more when none is.
    bool Fill(FILE* pFile) {
        if (nPos < nEnd) {
            return true;
        }
        if (bEnded) {
            return false;
        }
        nPos = 0;
        nEnd = std::fread(bytes.get(), 1, nCapacity, pFile);
        // Looked for once per block: the bytes from a Ctrl-Z on are dropped as they arrive.
        if (const void* pCtrlZ = std::memchr(bytes.get(), kCtrlZ, nEnd)) {
            nEnd = static_cast<size_t>(static_cast<const char*>(pCtrlZ) - bytes.get());
            bEnded = true;
            std::fseek(pFile, 0, SEEK_END); // for any other reader of the same FILE
        }
        return nEnd > 0;
    }
};

// The closer of the files that OpenTextFile opens; the shared handle keeps it, and with it the
// read-ahead, for all its holders.
struct TextFileCloser {
    ReadAhead ahead{kReadAheadSize};
    void operator()(FILE* pFile) const { std::fclose(pFile); }
};

// Reads a line from the read-ahead into pszLine; its length, 0 when nothing is left.
size_t ReadLineFrom(ReadAhead& ahead, FILE* pFile, char* pszLine) {
    size_t nLength = 0;
    while (nLength < kMaxLineLength && ahead.Fill(pFile)) {
        const char* pStart = ahead.bytes.get() + ahead.nPos;
        const size_t nAvailable = std::min(ahead.nEnd - ahead.nPos, kMaxLineLength - nLength);
        const char* pLineFeed = static_cast<const char*>(std::memchr(pStart, '\n', nAvailable));
        const size_t nTake = pLineFeed != nullptr ? pLineFeed - pStart + 1 : nAvailable;
        std::memcpy(pszLine + nLength, pStart, nTake);
        nLength += nTake;
        ahead.nPos += nTake;
        if (pLineFeed != nullptr) {
            // The line feed ends the line, and a carriage return before it (perhaps read in the
            // previous block) makes one line feed with it.
            if (nLength >= 2 && pszLine[nLength - 2] == '\r') {
                pszLine[nLength - 2] = '\n';
                --nLength;
            }
            return nLength;
        }
    }
    // A full line ending in CR: a line feed right after makes the pair, which then counts as one
    // byte and so still fits. The byte after the CR is the next line's otherwise.
    if (nLength == kMaxLineLength && pszLine[nLength - 1] == '\r' && ahead.Fill(pFile) &&
        ahead.bytes[ahead.nPos] == '\n') {
        pszLine[nLength - 1] = '\n';
        ++ahead.nPos;
    }
    return nLength;
}

} // namespace

std::shared_ptr<FILE> OpenTextFile(const CString& strFileName) {
    TextFileCloser closer; // first, so that a failed allocation leaves no file open
    // Binary mode: the translation is ours, so that no platform adds or skips any of it.
    FILE* pFile = std::fopen(strFileName, "rb");
    if (pFile == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<FILE>(pFile, std::move(closer));
}

bool ReadTextLine(const std::shared_ptr<FILE>& pFile, char* pszLine) {
    if (pFile == nullptr) {
        return false;
    }
    size_t nLength = 0;
    if (TextFileCloser* pCloser = std::get_deleter<TextFileCloser>(pFile)) {
        nLength = ReadLineFrom(pCloser->ahead, pFile.get(), pszLine);
    } else {
        // A byte at a time, and a byte looked at but not taken goes back to the FILE.
        ReadAhead ahead(1);
        nLength = ReadLineFrom(ahead, pFile.get(), pszLine);
        if (ahead.nPos < ahead.nEnd) {
            std::ungetc(static_cast<unsigned char>(ahead.bytes[ahead.nPos]), pFile.get());
        }
    }
    if (nLength == 0) {
        return false;
    }
    pszLine[nLength] = '\0';
    return true;
}
