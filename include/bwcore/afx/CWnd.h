// CWnd: a framework object that stands for a window.
//
// A CWnd holds the window's handle (m_hWnd) and sends it messages; it does not subclass the
// window, so messages reach framework code only through a dialog's procedure (CDialog).
//
// Handle maps. A window that a CWnd created (Create, CreateEx) or was attached to (Attach) is in
// the permanent map until it is destroyed or detached: FromHandle and FromHandlePermanent give
// that object. For any other window FromHandle makes a temporary wrapper, the same one for the
// same handle, owned by the temporary map and deleted by DeleteTempMap, which CDialog::DoModal
// calls when a modal dialog ends (where the framework's idle processing would free them) and
// which also runs when the process ends. A pointer from FromHandle (and from GetDlgItem,
// GetParent) is therefore to be used at once, not kept. The maps are shared by all threads and
// guarded; the framework keeps one pair per thread, which makes no difference to a program that
// keeps its windows on one thread.
//
// windows.h defines SendMessage, GetWindowText and the like as their ...A functions, so on Windows
// these members are SendMessageA, GetWindowTextA and so on, both where they are declared and where
// they are called.
#pragma once

#include <bwcore/afx/CCmdTarget.h>
#include <bwcore/afx/CDataExchange.h>
#include <bwcore/afx/CString.h>

class BWAFX_API CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    // Destroys the window the object created or was attached to, as the framework does; a
    // temporary wrapper, and an object whose window was detached, destroy nothing.
    ~CWnd() override;

    // The handle. (The framework also answers null when called through a null pointer; here the
    // object must exist.)
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The permanent object of the window, else its temporary wrapper; null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // The permanent object of the window; null when it has none.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Deletes every temporary wrapper.
    static void DeleteTempMap();

    // Makes the object the window's permanent object; FALSE for a null handle or when the object
    // already has a window.
    BOOL Attach(HWND hWndNew);
    // Removes the window from the object (and the permanent map) and returns it.
    HWND Detach();

    // Creates the window (CreateWindowExA) and attaches it; FALSE when it cannot be created.
    // For a child window nIDorHMenu carries its control identifier.
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    // A child window (WS_CHILD is added) with control identifier nID.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Destroys the window and detaches it; FALSE when there is none or it cannot be destroyed.
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // The child control nID (FromHandle); null when there is none.
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;

    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;

    BOOL ShowWindow(int nCmdShow);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    // The parent window (FromHandle); null for a top-level window.
    CWnd* GetParent() const;

    // Runs DoDataExchange in the given direction; TRUE.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND m_hWnd = nullptr;

protected:
    // A WM_COMMAND: routes it through OnCmdMsg; TRUE when a handler took it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Moves data between the controls and the members; the base moves nothing.
    virtual void DoDataExchange(CDataExchange* pDX);
};
