#include <bwcore/tools/CStringEx.h>

CStringEx::CStringEx(const char* psz) : CString(psz) {}

CStringEx::CStringEx(const CString& str) : CString(str) {}

CStringEx::~CStringEx() = default;

int CStringEx::TokenizeStringIntoStringArray(CStringArray& arr, char chSeparator,
                                             bool bEmptyArray) const {
    if (bEmptyArray) {
        arr.RemoveAll();
    }
    const int nLength = GetLength();
    if (nLength == 0) {
        return 0;
    }
    LPCSTR pszText = GetString();
    int nPieces = 0;
    int nStart = 0;
    int i = 0;
    // Walks by index rather than by terminator, so a zero inside the string is a character too.
    while (i < nLength) {
        const bool bDoubleByte = IsDBCSLeadByte(static_cast<BYTE>(pszText[i])) && i + 1 < nLength &&
                                 pszText[i + 1] != '\0';
        if (!bDoubleByte && pszText[i] == chSeparator) {
            arr.Add(CString(pszText + nStart, i - nStart));
            ++nPieces;
            nStart = i + 1;
        }
        i += bDoubleByte ? 2 : 1;
    }
    arr.Add(CString(pszText + nStart, nLength - nStart));
    return nPieces + 1;
}
