#include <bwcore/ui/CDlgRegImportOverwrite.h>

#include <bwcore/platform.h>

CDlgRegImportOverwrite::CDlgRegImportOverwrite(CWnd* pParent) : CDialog(IDD, pParent) {}

CDlgRegImportOverwrite::~CDlgRegImportOverwrite() = default;

BEGIN_MESSAGE_MAP(CDlgRegImportOverwrite, CDialog)
ON_BN_CLICKED(IDC_NO_BUTTON, &CDlgRegImportOverwrite::OnNo)
ON_BN_CLICKED(IDC_NO_TO_ALL_BUTTON, &CDlgRegImportOverwrite::OnNotoall)
ON_BN_CLICKED(IDC_YES_BUTTON, &CDlgRegImportOverwrite::OnYes)
ON_BN_CLICKED(IDC_YES_TO_ALL_BUTTON, &CDlgRegImportOverwrite::OnYestoall)
END_MESSAGE_MAP()

void CDlgRegImportOverwrite::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CDlgRegImportOverwrite::OnInitDialog() {
    CDialog::OnInitDialog();
    // Each prefix ends with two blanks.
    const CString strLines[] = {
        "Key Name:  " + m_strKeyName,
        "Value Name:  " + m_strValueName,
        "New Value:  " + m_strNewValue,
    };
    for (const CString& strLine : strLines)
        SendDlgItemMessage(IDC_VALUE_LIST, LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(strLine.GetString()));
    return TRUE;
}

void CDlgRegImportOverwrite::OnNo() {
    EndDialog(IDC_NO_BUTTON);
}

void CDlgRegImportOverwrite::OnNotoall() {
    EndDialog(IDC_NO_TO_ALL_BUTTON);
}

void CDlgRegImportOverwrite::OnYes() {
    EndDialog(IDC_YES_BUTTON);
}

void CDlgRegImportOverwrite::OnYestoall() {
    EndDialog(IDC_YES_TO_ALL_BUTTON);
}
