#include <bwcore/script/CCodeStream.h>

CCodeStream::CCodeStream(const CString& strFileName) : m_strFileName(strFileName) {}

CCodeStream::CCodeStream(const CCodeStream& other) = default;

CCodeStream& CCodeStream::operator=(const CCodeStream& other) = default;

CCodeStream::~CCodeStream() = default;

unsigned int CCodeStream::GetCurrentLineCount() {
    return 0;
}
