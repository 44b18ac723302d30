// The Win32 subset the library is written against: the real one on Windows, our own on Linux.
// This is the only place that chooses between them.
#pragma once

#include <bwcore/export.h>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// Image lists.
#include <commctrl.h>
// The C runtime's multibyte string functions (on Linux they come with the Win32 subset).
#include <mbstring.h>
#else
#include <bwcore/win32/windows.h>
#endif
