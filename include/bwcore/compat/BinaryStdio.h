// Binary standard streams. The Windows C runtime opens stdin and stdout in text mode, which turns
// CR LF into LF on input, LF into CR LF on output and ends input at a Ctrl-Z; a program that
// passes bytes through sets the streams it uses to binary mode first. On other systems streams
// are always binary and this only checks its argument.
#pragma once

#include <bwcore/export.h>

#include <stdio.h>

// 1 on success, 0 for a null stream or when the mode cannot be changed.
BW_EXTERN_C BWAFX_API int BwSetBinaryMode(FILE* stream);
