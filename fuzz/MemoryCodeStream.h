// MemoryCodeStream: a code stream over bytes in memory, delivering lines by the same rules as the
// file streams: a carriage return and line feed pair arrives as one line feed, a line is cut after
// 2047 bytes (counted after that translation), and a Ctrl-Z byte ends the text.
#pragma once

#include <bwcore/script/CCodeStream.h>

#include <stddef.h>
#include <stdint.h>

class MemoryCodeStream : public CCodeStream {
public:
    // The bytes must outlive the stream. nLineCount is what GetCurrentLineCount reports: the
    // lines that earlier files put into a shared line array.
    MemoryCodeStream(const CString& strFileName, const uint8_t* pData, size_t nSize,
                     unsigned int nLineCount);

    bool GetNextLine(char* pszLine) override;
    unsigned int GetCurrentLineCount() override;

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
    unsigned int m_nLineCount;
};
