#include <bwcore/tools/CSystem.h>

namespace {

// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

} // namespace

DWORD CSystem::ConvertHexStringToDecimalValue(CStringEx strHex) {
    LPCSTR pch = strHex;
    while (*pch == ' ' || *pch == '\t') {
        ++pch;
    }
    if (pch[0] == '0' && (pch[1] == 'x' || pch[1] == 'X')) {
        pch += 2;
    }
    DWORD dwValue = 0;
    for (; HexDigitValue(*pch) >= 0; ++pch) {
        dwValue = (dwValue << 4) | static_cast<DWORD>(HexDigitValue(*pch));
    }
    return dwValue;
}
