#include <bwcore/script/CCodeGlobalEventStream.h>

#include "TextFileReader.h"

CCodeGlobalEventStream::CCodeGlobalEventStream(const CString& strFileName, CStringArray& lines)
    : CCodeStream(strFileName), m_lines(lines) {}

CCodeGlobalEventStream::CCodeGlobalEventStream(const CCodeGlobalEventStream& other) = default;

CCodeGlobalEventStream::~CCodeGlobalEventStream() = default;

bool CCodeGlobalEventStream::OpenFile() {
    m_pFile = OpenTextFile(m_strFileName);
    return m_pFile != nullptr;
}

bool CCodeGlobalEventStream::GetNextLine(char* pszLine) {
    if (!ReadTextLine(m_pFile, pszLine)) {
        return false;
    }
    m_lines.Add(CString(pszLine));
    return true;
}

unsigned int CCodeGlobalEventStream::GetCurrentLineCount() {
    return static_cast<unsigned int>(m_lines.GetSize());
}
