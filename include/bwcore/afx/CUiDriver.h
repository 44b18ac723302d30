// CUiDriver: the one place where message boxes and modal dialogs meet whoever answers them.
//
// Every AfxMessageBox asks the installed driver (AnswerMessageBox: the text, the MB_... type and
// the help context; its result is the button pressed, IDOK, IDYES, ...). Every CDialog::DoModal
// tells the installed driver once the dialog is up, that is after OnInitDialog, when the messages
// posted to the dialog run (DialogShown); a dialog that OnInitDialog already ended is not shown to
// it. The driver may then press a button (PressButton: BM_CLICK on the control, the path of a real
// click) or Escape (PressEscape: WM_COMMAND IDCANCEL, as the dialog manager sends for Escape), or
// leave the dialog as it is.
//
// With no driver installed, AfxMessageBox calls MessageBoxA: on Windows the real box; on Linux
// the Win32 layer writes the text to standard error and answers with the box's default button.
// A modal dialog runs as it is: on Windows the real dialog waits for the user; on Linux the
// headless dialog manager presses the dialog's default push button.
//
// The base class answers a box with MessageBoxA and leaves a dialog alone, so that a driver
// overrides only what it answers. Tests install a driver that answers from a script.
//
// Threads: Install may be called on any thread (the pointer is atomic), but the driver is called
// on the thread that shows the box or dialog, and must stay alive until it has been replaced and
// no box or dialog it may be answering is still up; install drivers around the UI work, not
// during it.
#pragma once

#include <bwcore/platform.h>

class CDialog;
class CWnd;

class BWAFX_API CUiDriver {
public:
    virtual ~CUiDriver() = default;

    // The button pressed for a message box: MessageBoxA (no owner, caption NULL).
    virtual int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp);
    // A modal dialog is up; nothing.
    virtual void DialogShown(CDialog& dialog);

    // Installs the driver (null: none) and returns the one installed before.
    static CUiDriver* Install(CUiDriver* pDriver);
    // The installed driver; null when there is none.
    static CUiDriver* Current();

    // Clicks button nID of the dialog (BM_CLICK sent to the control); FALSE when the dialog has
    // no control nID.
    static BOOL PressButton(CWnd& dialog, int nID);
    // Presses Escape in the dialog: WM_COMMAND with IDCANCEL, from no control.
    static void PressEscape(CWnd& dialog);
};
