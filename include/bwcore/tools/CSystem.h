// CSystem: static conversions of text to numbers.
//
// ConvertHexStringToDecimalValue reads a hexadecimal number: leading blanks (spaces and tabs) are
// skipped, then an optional "0x" or "0X" prefix, then digits 0-9, a-f and A-F. Reading stops at
// the first character that is not such a digit (a trailing blank, a sign, a double-byte
// character, the end of the text); text without digits gives 0. Each digit shifts the value left
// by four bits and the bits that leave the top are lost, so a number of more than eight digits
// keeps its low 32 bits: the value of its last eight digits ("123456789" gives 0x23456789).
#pragma once

#include <bwcore/tools/CStringEx.h>

class BWTOOLS_API CSystem {
public:
    CSystem() = delete;

    static DWORD ConvertHexStringToDecimalValue(CStringEx strHex);
};
