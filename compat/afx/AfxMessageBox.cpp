#include <bwcore/afx/AfxMessageBox.h>

#include <bwcore/afx/CString.h>
#include <bwcore/afx/CUiDriver.h>

// The base driver answers for an empty slot, so both cases take the same path.
int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    static CUiDriver default_driver;
    CUiDriver* driver = CUiDriver::Current();
    return (driver ? driver : &default_driver)->AnswerMessageBox(lpszText, nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString prompt;
    prompt.LoadString(nIDPrompt);
    if (nIDHelp == static_cast<UINT>(-1))
        nIDHelp = nIDPrompt;
    return AfxMessageBox(prompt, nType, nIDHelp);
}
