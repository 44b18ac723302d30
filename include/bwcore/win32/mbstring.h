// The C runtime's multibyte string functions, for Linux: the ones the library calls, on the
// process's ANSI code page (GetACP), which is also the runtime's multibyte code page.
#pragma once

#include <bwcore/win32/types.h>

#include <stddef.h>

// Copies count bytes of src to dest. A source shorter than count is copied with its terminator
// and dest is filled with zeros up to count bytes, so dest always receives exactly count bytes;
// a source of count bytes or more gets no terminator. A double-byte character is not split: when
// the last byte that fits is a lead byte, a zero takes its place. Returns dest; a null dest or
// src copies nothing.
BW_EXTERN_C BWAFX_API unsigned char* _mbsnbcpy(unsigned char* dest, const unsigned char* src,
                                               size_t count);
