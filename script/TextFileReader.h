// Reading script files as the Windows C library's text mode delivers them, on every platform.
// Internal to the library; the two file streams share it.
#pragma once

#include <bwcore/afx/CString.h>
#include <bwcore/script/CCodeStream.h>

#include <cstdio>
#include <memory>

// The size of a line buffer: at most 2047 bytes of a line and a zero byte.
constexpr int kTextLineSize = CCodeStream::LineBufferSize;

// Opens the named file for reading; null when the open fails. The file is closed when the last
// holder of the handle lets go of it. The handle carries the bytes read ahead of the lines, so
// every holder of it continues the same reading.
std::shared_ptr<FILE> OpenTextFile(const CString& strFileName);

// Reads the next line into pszLine, a buffer of kTextLineSize bytes: bytes up to and including the
// next line feed, at most kTextLineSize - 1 of them, then a zero byte. A carriage return followed
// by a line feed counts as one line feed, and the cut is made after that translation. A Ctrl-Z
// byte ends the file. False when no byte is left and for a null handle; the buffer is then left
// as it was. A failed read counts as the end: a line it cuts short is delivered as far as it was
// read, and the FILE's error flag tells the caller. A handle that OpenTextFile did not make is read
// without reading ahead, so that its position stays the FILE's own.
bool ReadTextLine(const std::shared_ptr<FILE>& pFile, char* pszLine);
