#include <bwcore/ui/DlgMsg.h>

#include <bwcore/afx.h>
#include <bwcore/platform.h>

#include <string.h>

namespace {

const UINT kFallbackTextId = 30660;

enum class Conversion { None, String, Integer, Unusable };

// What the text's conversions ask of the single argument.
Conversion ConversionOf(LPCSTR pszFormat) {
    Conversion found = Conversion::None;
    for (LPCSTR p = pszFormat; *p != '\0'; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        // Flags, width, precision and the short size, all of which an int or a string takes;
        // a long size ("%ld") would read more than the pointer carries here.
        p += strspn(p, "-+ #0123456789.h");
        if (found != Conversion::None || *p == '\0')
            return Conversion::Unusable;
        if (*p == 's')
            found = Conversion::String;
        else if (strchr("dicouxX", *p) != nullptr)
            found = Conversion::Integer;
        else
            return Conversion::Unusable;
    }
    return found;
}

CString MessageText(int nCode, void* pArg) {
    // Catalogue identifiers are 16-bit; anything else has no text.
    const bool bInRange = nCode < 0 && nCode >= -0xFFFF;
    CString strText;
    CString strMessage;
    if (!bInRange || !strText.LoadString(static_cast<UINT>(-nCode))) {
        CString strFallback;
        strFallback.LoadString(kFallbackTextId);
        strMessage.Format(strFallback, nCode);
        return strMessage;
    }
    if (pArg == nullptr)
        return strText;
    switch (ConversionOf(strText)) {
    case Conversion::None:
    case Conversion::String:
        strMessage.Format(strText, static_cast<LPCSTR>(pArg));
        return strMessage;
    case Conversion::Integer:
        strMessage.Format(strText, static_cast<int>(reinterpret_cast<INT_PTR>(pArg)));
        return strMessage;
    case Conversion::Unusable:
        break;
    }
    return strText;
}

int ShowMessage(int nCode, int nType, void* pArg) {
    // The negated code, computed without overflow for the most negative one.
    const UINT nHelpContext = 0u - static_cast<UINT>(nCode);
    return AfxMessageBox(MessageText(nCode, pArg), static_cast<UINT>(nType), nHelpContext);
}

} // namespace

int DlgMsgError(CWnd*, int nCode, int nType, void* pArg) {
    return ShowMessage(nCode, nType, pArg);
}

int DlgMsgInfo(CWnd*, int nCode, int nType, void* pArg) {
    return ShowMessage(nCode, nType, pArg);
}

int DlgMsgInfoEx(CWnd*, int nCode, int nType, void* pArg) {
    return ShowMessage(nCode, nType, pArg);
}
