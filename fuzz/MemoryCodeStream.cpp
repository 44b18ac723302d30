#include "MemoryCodeStream.h"

namespace {

const uint8_t kCtrlZ = 0x1A;

} // namespace

MemoryCodeStream::MemoryCodeStream(const CString& strFileName, const uint8_t* pData, size_t nSize,
                                   unsigned int nLineCount)
    : CCodeStream(strFileName), m_pData(pData), m_nSize(nSize), m_nLineCount(nLineCount) {}

bool MemoryCodeStream::GetNextLine(char* pszLine) {
    int nLength = 0;
    while (nLength < LineBufferSize - 1 && m_nPos < m_nSize) {
        uint8_t ch = m_pData[m_nPos];
        if (ch == kCtrlZ) {
            // Nothing from here on is text.
            m_nSize = m_nPos;
            break;
        }
        ++m_nPos;
        if (ch == '\r' && m_nPos < m_nSize && m_pData[m_nPos] == '\n') {
            ch = '\n';
            ++m_nPos;
        }
        pszLine[nLength++] = static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    pszLine[nLength] = '\0';
    return nLength > 0;
}

unsigned int MemoryCodeStream::GetCurrentLineCount() {
    return m_nLineCount;
}
