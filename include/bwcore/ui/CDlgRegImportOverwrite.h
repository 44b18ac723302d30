// CDlgRegImportOverwrite: the question asked when a registry file being imported holds a value
// that the registry set already has. The caller fills the strings and calls DoModal, whose result
// is the button pressed: IDC_YES_BUTTON (use the file's value), IDC_YES_TO_ALL_BUTTON (the file's
// values from now on, the default button), IDC_NO_BUTTON (keep the set's value),
// IDC_NO_TO_ALL_BUTTON (keep the set's values from now on), or IDCANCEL when the dialog is closed
// with Escape or the system menu.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/export.h>

class BWCORE_API CDlgRegImportOverwrite : public CDialog {
public:
    enum { IDD = 31263 };
    // The buttons, whose identifiers are the dialog's results, and the list box of the names.
    enum {
        IDC_YES_TO_ALL_BUTTON = 1309,
        IDC_YES_BUTTON = 1310,
        IDC_NO_TO_ALL_BUTTON = 1311,
        IDC_NO_BUTTON = 1312,
        IDC_VALUE_LIST = 31264,
    };

    // Four empty strings.
    explicit CDlgRegImportOverwrite(CWnd* pParent = NULL);
    ~CDlgRegImportOverwrite() override;

    // Not shown.
    CString m_strData;
    // Shown, after their prefixes, as the third, second and first line of the list box.
    CString m_strNewValue;
    CString m_strValueName;
    CString m_strKeyName;

protected:
    DECLARE_MESSAGE_MAP()
    // Exchanges nothing.
    void DoDataExchange(CDataExchange* pDX) override;
    // The base's initialisation, then the lines "Key Name:  " + key, "Value Name:  " + value
    // name and "New Value:  " + new value in the list box; TRUE, so the focus is set as usual.
    BOOL OnInitDialog() override;

    // Each ends the dialog with its own button's identifier.
    void OnNo();
    void OnNotoall();
    void OnYes();
    void OnYestoall();
};
