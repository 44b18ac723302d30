// CStringEx: the framework string with text-splitting operations.
//
// TokenizeStringIntoStringArray splits the text at every occurrence of the separator character
// and adds the pieces to the array in order. Every separator ends a piece, so empty pieces are
// kept where two separators meet or a separator leads or trails: n separators give n + 1 pieces
// ("a,,b" gives "a", "", "b"; ",a," gives "", "a", ""). Empty text gives no piece at all.
// bEmptyArray true empties the array first, so that it then holds exactly the pieces of this
// text; false appends them to what it already holds. The result is the number of pieces added.
// The text is stepped through character by character in the ANSI code page: a separator byte that
// is the trail byte of a double-byte character does not split it.
#pragma once

#include <bwcore/afx/CString.h>
#include <bwcore/afx/CStringArray.h>

class BWTOOLS_API CStringEx : public CString {
public:
    CStringEx(const char* psz);
    CStringEx(const CString& str);
    CStringEx(const CStringEx& other) = default;
    CStringEx& operator=(const CStringEx& other) = default;
    ~CStringEx();

    int TokenizeStringIntoStringArray(CStringArray& arr, char chSeparator, bool bEmptyArray) const;
};
