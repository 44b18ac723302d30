// CCodeFileStream: a code stream over a script file.
//
// Lines arrive as the Windows C library's text mode delivers them, on every platform: the file is
// read as bytes and translated here, so that a script reads the same everywhere.
//  - A carriage return followed by a line feed arrives as a single line feed; a carriage return
//    followed by anything else stays.
//  - A line is cut after 2047 bytes, counted after that translation; the rest of the physical
//    line arrives as the next line(s). So a carriage return as the 2047th byte, followed by a line
//    feed, ends that line as a line feed.
//  - A Ctrl-Z byte (0x1A) ends the file: it and everything after it are never delivered.
//  - A line holding a zero byte is delivered with it; read as zero-terminated text it ends there.
//
// Copies read from the same open file, sharing its position, and the file is closed when the last
// stream that holds it goes away. OpenFile on a stream that is already open lets go of the open
// file (closing it unless a copy still holds it) and opens the file again from its start.
#pragma once

#include <bwcore/script/CCodeStream.h>

#include <cstdio>
#include <memory>

class BWCORE_API CCodeFileStream : public CCodeStream {
public:
    explicit CCodeFileStream(const CString& strFileName);
    CCodeFileStream(const CCodeFileStream& other);
    CCodeFileStream& operator=(const CCodeFileStream& other);
    ~CCodeFileStream() override;

    // False at once for an empty name; otherwise opens the file and returns whether that worked.
    bool OpenFile();

    bool GetNextLine(char* pszLine) override;
    // Always 0: a file stream records nothing.
    unsigned int GetCurrentLineCount() override;

protected:
    // The open file, shared by copies; null until OpenFile succeeds.
    std::shared_ptr<FILE> m_pFile;
};
