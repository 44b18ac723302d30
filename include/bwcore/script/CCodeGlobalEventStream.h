// CCodeGlobalEventStream: a code stream over an event script file that also appends every line
// it hands out to an array that the caller owns.
//
// Several event files read one after another through streams sharing one array build one running
// line array; GetCurrentLineCount, read before a parse, is then the number of lines that earlier
// files contributed, so that line numbers found in this file can index the shared array.
//
// The file is read exactly as by CCodeFileStream (line ends, the 2047-byte cut, Ctrl-Z), and copies
// share the open file in the same way. OpenFile on a stream that is already open lets go of the
// open file and opens the file again from its start. The array is bound at construction and never
// rebound, so the stream can be copied but not assigned.
#pragma once

#include <bwcore/afx/CStringArray.h>
#include <bwcore/script/CCodeStream.h>

#include <cstdio>
#include <memory>

class BWCORE_API CCodeGlobalEventStream : public CCodeStream {
public:
    CCodeGlobalEventStream(const CString& strFileName, CStringArray& lines);
    CCodeGlobalEventStream(const CCodeGlobalEventStream& other);
    CCodeGlobalEventStream& operator=(const CCodeGlobalEventStream& other) = delete;
    ~CCodeGlobalEventStream() override;

    // Opens the file and returns whether that worked; an empty name fails like any failed open.
    bool OpenFile();

    // Reads the next line and appends a copy of it, as zero-terminated text, to the array.
    bool GetNextLine(char* pszLine) override;
    // The number of elements in the array, whoever put them there.
    unsigned int GetCurrentLineCount() override;

protected:
    // The open file, shared by copies; null until OpenFile succeeds.
    std::shared_ptr<FILE> m_pFile;
    CStringArray& m_lines;
};
