// Message boxes chosen by an error code: the catalogue text whose identifier is the code negated,
// shown with AfxMessageBox, the negated code as the help context.
//
// The text is used as a format for the one argument when the argument is not null: a string
// pointer for a "%s", an integer carried in the pointer for a "%d" (or another integer
// conversion). With a null argument the text is shown as it stands, a "%" included. A code without
// a text (positive, 0, below -65535, or an identifier the catalogue lacks) shows the fallback text
// 30660 formatted with the code itself, the argument unused.
//
// One argument can fill only one conversion: a text with none shows the text as the format makes
// it ("%%" becomes "%"); a text with more than one, with the positional "%1", or with a
// conversion that the pointer cannot carry ("%ld", "%f"), is shown unformatted rather than read
// values that were never passed.
//
// The parent window is not used; the type (MB_... flags) alone gives the icon and buttons. The
// result is the button pressed (IDOK, IDYES, ...). The three functions behave identically.
#pragma once

#include <bwcore/export.h>

class CWnd;

BWCORE_API int DlgMsgError(CWnd* pParent, int nCode, int nType, void* pArg);
BWCORE_API int DlgMsgInfo(CWnd* pParent, int nCode, int nType, void* pArg);
BWCORE_API int DlgMsgInfoEx(CWnd* pParent, int nCode, int nType, void* pArg);
