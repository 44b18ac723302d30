#include <bwcore/afx/CDialog.h>

#include <bwcore/afx/CDynLinkLibrary.h>
#include <bwcore/afx/CUiDriver.h>

namespace {

// Posted to the dialog at the end of WM_INITDIALOG: when it arrives the dialog is up and the
// driver is told. The dialog procedure is ours alone, so a private message cannot meet another
// meaning.
const UINT WM_BW_DIALOG_SHOWN = WM_APP + 0x3B00;

} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE module = nullptr;
    LPCDLGTEMPLATE dialog_template = m_lpDialogTemplate;
    if (!dialog_template) {
        module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
        HRSRC resource = module ? ::FindResourceA(module, m_lpszTemplateName, RT_DIALOG) : nullptr;
        HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
        dialog_template = static_cast<LPCDLGTEMPLATE>(loaded ? ::LockResource(loaded) : nullptr);
        if (!dialog_template)
            return -1;
    }
    m_bEnded = false;
    INT_PTR result = ::DialogBoxIndirectParamA(module, dialog_template,
                                               m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr,
                                               DialogProc, reinterpret_cast<LPARAM>(this));
    // The window is gone: the object lets go of its handle, and the wrappers made while the
    // dialog ran are freed, as the framework's idle processing would have freed them.
    Detach();
    CWnd::DeleteTempMap();
    return result;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Attach(hDlg);
        BOOL result = dialog->OnInitDialog();
        if (!dialog->m_bEnded)
            ::PostMessageA(hDlg, WM_BW_DIALOG_SHOWN, 0, 0);
        return result;
    }
    // Only dialogs of this procedure are in the permanent map under this handle.
    CDialog* dialog = static_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
    if (!dialog)
        return FALSE;
    switch (message) {
    case WM_BW_DIALOG_SHOWN:
        if (CUiDriver* driver = CUiDriver::Current())
            if (!dialog->m_bEnded)
                driver->DialogShown(*dialog);
        return TRUE;
    case WM_COMMAND:
        return dialog->OnCommand(wParam, lParam);
    default:
        return FALSE;
    }
}
