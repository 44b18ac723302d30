// The one export macro of the project's shared libraries.
//
// Symbols are hidden by default; what a library offers is marked with its macro, which expands to
// dllexport (Windows) or default visibility (elsewhere) while that library is being built, and to
// dllimport / default visibility for its users. Exported flat functions also carry C linkage
// (BW_EXTERN_C) so that the front end finds them by their plain names.
#pragma once

#if defined(_WIN32)
#define BW_SYMBOL_EXPORT __declspec(dllexport)
#define BW_SYMBOL_IMPORT __declspec(dllimport)
#else
#define BW_SYMBOL_EXPORT __attribute__((visibility("default")))
#define BW_SYMBOL_IMPORT __attribute__((visibility("default")))
#endif

// The framework subset and, on Linux, the Win32 subset (library bwcompat).
#if defined(BWCOMPAT_BUILDING)
#define BWAFX_API BW_SYMBOL_EXPORT
#else
#define BWAFX_API BW_SYMBOL_IMPORT
#endif

// The sibling tools library (bwtools).
#if defined(BWTOOLS_BUILDING)
#define BWTOOLS_API BW_SYMBOL_EXPORT
#else
#define BWTOOLS_API BW_SYMBOL_IMPORT
#endif

// The core library (bwcore).
#if defined(BWCORE_BUILDING)
#define BWCORE_API BW_SYMBOL_EXPORT
#else
#define BWCORE_API BW_SYMBOL_IMPORT
#endif

#ifdef __cplusplus
#define BW_EXTERN_C extern "C"
#else
#define BW_EXTERN_C
#endif
