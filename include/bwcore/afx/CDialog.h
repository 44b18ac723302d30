// CDialog: a modal dialog built from a dialog template.
//
// DoModal finds the template through the resource chain (AfxFindResourceHandle with RT_DIALOG),
// or takes the one given to InitModalIndirect, and runs it with DialogBoxIndirectParamA. The
// dialog's procedure attaches m_hWnd when WM_INITDIALOG arrives and calls OnInitDialog; a
// WM_COMMAND goes to the message map first (ON_BN_CLICKED and the like, the derived class's map
// before its bases'), where CDialog's own map sends IDOK to OnOK and IDCANCEL to OnCancel. When
// the dialog ends, m_hWnd is detached and the temporary window wrappers are deleted
// (CWnd::DeleteTempMap).
//
// Once the dialog is up (after OnInitDialog, when the messages posted to the dialog run), the
// installed CUiDriver is told (CUiDriver::DialogShown) and may press one of its buttons or
// Escape. With no driver the dialog runs as it is: on Windows the real dialog waits for the user;
// on Linux the headless dialog manager presses the default push button.
#pragma once

#include <bwcore/afx/CWnd.h>

class BWAFX_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // The dialog of template nIDTemplate (or named lpszTemplateName), owned by pParentWnd (null:
    // no owner).
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    ~CDialog() override = default;

    // Uses the template in memory (which must outlive DoModal) in place of a resource;
    // lpDialogInit is not used. TRUE.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL,
                           void* lpDialogInit = NULL);

    // Runs the dialog; the value given to EndDialog, or -1 when the template cannot be found or
    // the dialog cannot be created.
    virtual INT_PTR DoModal();
    // Ends the dialog with the result (it closes once the current message has been handled).
    void EndDialog(int nResult);

    // At WM_INITDIALOG: UpdateData(FALSE); TRUE, so that the dialog manager sets the focus.
    virtual BOOL OnInitDialog();

protected:
    // A dialog from InitModalIndirect.
    CDialog();

    // UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

    LPCTSTR m_lpszTemplateName = nullptr;
    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    // Set by EndDialog, so that a dialog ended in OnInitDialog is not shown to the driver.
    bool m_bEnded = false;

    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
};
