// CDataExchange: the direction and the window of one UpdateData pass, given to DoDataExchange.
#pragma once

#include <bwcore/platform.h>

class CWnd;

class BWAFX_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // TRUE: from the controls into the members; FALSE: from the members into the controls.
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};
