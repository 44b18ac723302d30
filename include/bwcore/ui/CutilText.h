// Small text conversions for the front end's dialogs: thousands separators, line breaks to and
// from their escaped form, hexadecimal text, replacement and tokenising.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/export.h>

// The value in decimal with a comma between each group of three digits counted from the right
// and a leading minus sign when it is negative (-1234567 gives "-1,234,567"). The value is taken
// as the 32-bit number that a long is on Windows, also where long is wider: only its low 32 bits
// count. Returns 0.
BWCORE_API int CutilAddCommaToNumber(long lValue, CString& strOut);

// Every carriage-return line-feed pair becomes a backslash and an 'n', in place; double-byte
// characters stay whole (a backslash that is a trail byte is not seen). The buffer must hold at
// least 4092 bytes and its text at most 4091: the text is copied back with a count of 4092, which
// fills the rest of those 4092 bytes with zeros whatever the text's length. A null buffer is left
// alone.
BWCORE_API void CutilConvertCRLFToSlashN(char* pszText);
// The reverse: every backslash-n pair becomes a carriage-return line-feed pair, in place, with the
// same buffer rule.
BWCORE_API void CutilConvertSlashNToCRLF(char* pszText);

// Stores the value of the hexadecimal text as CSystem::ConvertHexStringToDecimalValue reads it.
// Returns 0; with a null text or output nothing is stored.
BWCORE_API int CutilHexToDec(const char* pszHex, unsigned long* pValue);

// Replaces every occurrence of strOld in strText by strNew, left to right; 1 if there was at
// least one, else 0 (an empty strOld never occurs).
BWCORE_API int CutilStringReplace(CString& strText, const CString& strOld, const CString& strNew);

// Empties the array and fills it with the pieces of the text between the separators (the low byte
// of nSeparator), as CStringEx::TokenizeStringIntoStringArray splits it; returns the array's
// element count.
BWCORE_API int CutilTokenizeString(const CString& strText, int nSeparator, CStringArray& arr);
