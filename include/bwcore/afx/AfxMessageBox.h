// AfxMessageBox: a message box through the installed CUiDriver (see CUiDriver.h for what happens
// with none installed).
#pragma once

#include <bwcore/platform.h>

// Shows the text with the MB_... type; nIDHelp is the help context. The button pressed (IDOK,
// IDYES, ...).
BWAFX_API int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows string resource nIDPrompt (found through the resource chain; empty when no module has
// it). A help context of -1 means nIDPrompt itself, as in the framework.
BWAFX_API int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
