// CCodeStream: the named source of script lines that the tokenizer and the browsers read.
//
// A stream hands out a script one line at a time into a caller's buffer of exactly 2048 bytes
// (CCodeStream::LineBufferSize): at most 2047 bytes of text followed by a zero byte. Its name is
// the file name that the browsers record with everything found in the script.
#pragma once

#include <bwcore/afx/CString.h>

class BWCORE_API CCodeStream {
public:
    // The size of the buffer that GetNextLine fills: a line and its terminating zero byte.
    static constexpr int LineBufferSize = 2048;

    explicit CCodeStream(const CString& strFileName);
    CCodeStream(const CCodeStream& other);
    CCodeStream& operator=(const CCodeStream& other);
    virtual ~CCodeStream();

    // Reads the next line into pszLine (LineBufferSize bytes); false when there is none.
    virtual bool GetNextLine(char* pszLine) = 0;
    // The number of lines recorded before this stream's first line; 0 unless a stream records.
    virtual unsigned int GetCurrentLineCount();

    const CString& GetFileName() const { return m_strFileName; }

protected:
    CString m_strFileName;
};
