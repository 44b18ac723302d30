#include <bwcore/script/CCodeFileStream.h>

#include "TextFileReader.h"

CCodeFileStream::CCodeFileStream(const CString& strFileName) : CCodeStream(strFileName) {}

CCodeFileStream::CCodeFileStream(const CCodeFileStream& other) = default;

CCodeFileStream& CCodeFileStream::operator=(const CCodeFileStream& other) = default;

CCodeFileStream::~CCodeFileStream() = default;

bool CCodeFileStream::OpenFile() {
    if (m_strFileName.IsEmpty()) {
        return false;
    }
    m_pFile = OpenTextFile(m_strFileName);
    return m_pFile != nullptr;
}

bool CCodeFileStream::GetNextLine(char* pszLine) {
    return ReadTextLine(m_pFile, pszLine);
}

unsigned int CCodeFileStream::GetCurrentLineCount() {
    return 0;
}
