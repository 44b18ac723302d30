// Message boxes for Linux, with nobody to answer them: the text goes to standard error and the
// box answers with its default button.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/user.h>

#include <stdio.h>

namespace {

struct button_set {
    int count;
    int buttons[3];
};

// The buttons of each MB_ type, left to right.
const button_set sets[] = {
    {1, {IDOK}},
    {2, {IDOK, IDCANCEL}},
    {3, {IDABORT, IDRETRY, IDIGNORE}},
    {3, {IDYES, IDNO, IDCANCEL}},
    {2, {IDYES, IDNO}},
    {2, {IDRETRY, IDCANCEL}},
    {3, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}},
};

} // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    (void)hWnd;
    (void)lpCaption;
    const UINT type = uType & MB_TYPEMASK;
    if (type >= sizeof sets / sizeof sets[0]) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    fprintf(stderr, "%s\n", lpText != nullptr ? lpText : "");
    fflush(stderr);
    const button_set& set = sets[type];
    const int defaultButton = static_cast<int>((uType & MB_DEFMASK) >> 8);
    return set.buttons[defaultButton < set.count ? defaultButton : 0];
}

BOOL WINAPI MessageBeep(UINT uType) {
    (void)uType;
    return TRUE;
}
