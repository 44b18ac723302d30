#include <bwcore/afx/CWnd.h>

#include <mutex>
#include <unordered_map>

namespace {

// The permanent objects (created or attached windows) and the temporary wrappers, by handle.
// At process end the temporaries still in the map are deleted; their handles are cleared first
// so that no wrapper destroys its window.
struct HandleMaps {
    std::mutex mutex;
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, CWnd*> temporary;

    ~HandleMaps() { delete_temporaries(temporary); }

    static void delete_temporaries(std::unordered_map<HWND, CWnd*>& wrappers) {
        for (auto& entry : wrappers) {
            entry.second->m_hWnd = nullptr;
            delete entry.second;
        }
        wrappers.clear();
    }
};

HandleMaps& handle_maps() {
    static HandleMaps maps;
    return maps;
}

} // namespace

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    HandleMaps& maps = handle_maps();
    std::lock_guard<std::mutex> lock(maps.mutex);
    auto permanent = maps.permanent.find(hWnd);
    if (permanent != maps.permanent.end())
        return permanent->second;
    CWnd*& wrapper = maps.temporary[hWnd];
    if (!wrapper) {
        wrapper = new CWnd;
        wrapper->m_hWnd = hWnd;
    }
    return wrapper;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    HandleMaps& maps = handle_maps();
    std::lock_guard<std::mutex> lock(maps.mutex);
    auto permanent = maps.permanent.find(hWnd);
    return permanent == maps.permanent.end() ? nullptr : permanent->second;
}

// The wrappers are deleted outside the lock: a destructor may look at the maps.
void CWnd::DeleteTempMap() {
    std::unordered_map<HWND, CWnd*> doomed;
    {
        HandleMaps& maps = handle_maps();
        std::lock_guard<std::mutex> lock(maps.mutex);
        doomed.swap(maps.temporary);
    }
    HandleMaps::delete_temporaries(doomed);
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd)
        return FALSE;
    HandleMaps& maps = handle_maps();
    std::lock_guard<std::mutex> lock(maps.mutex);
    if (!maps.permanent.emplace(hWndNew, this).second)
        return FALSE;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) {
        HandleMaps& maps = handle_maps();
        std::lock_guard<std::mutex> lock(maps.mutex);
        auto permanent = maps.permanent.find(hWnd);
        if (permanent != maps.permanent.end() && permanent->second == this)
            maps.permanent.erase(permanent);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    HWND hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                  nHeight, hWndParent, nIDorHMenu, nullptr, lpParam);
    if (!hWnd)
        return FALSE;
    if (!Attach(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

// A permanent object lets go of its window first, so that nothing maps the dead handle; a
// temporary wrapper keeps it until the temporary map is deleted.
BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    HWND hWnd = FromHandlePermanent(m_hWnd) == this ? Detach() : m_hWnd;
    return ::DestroyWindow(hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    *phWnd = ::GetDlgItem(m_hWnd, nID);
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) {
    ::SetDlgItemTextA(m_hWnd, nID, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return static_cast<int>(::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem)
        return 0;
    FromHandle(hItem)->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    ::SetWindowTextA(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthA(m_hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

void CWnd::DoDataExchange(CDataExchange*) {}
