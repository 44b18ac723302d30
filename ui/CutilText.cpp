#include <bwcore/ui/CutilText.h>

#include <bwcore/platform.h>
#include <bwcore/tools/CSystem.h>

#include <stdint.h>

namespace {

// What the line-break conversions copy back, terminator included.
const size_t kLineBufferBytes = 4092;

void ReplaceInPlace(char* pszText, LPCSTR pszOld, LPCSTR pszNew) {
    if (pszText == nullptr)
        return;
    CString str(pszText);
    str.Replace(pszOld, pszNew);
    _mbsnbcpy(reinterpret_cast<unsigned char*>(pszText),
              reinterpret_cast<const unsigned char*>(str.GetString()), kLineBufferBytes);
}

} // namespace

int CutilAddCommaToNumber(long lValue, CString& strOut) {
    CString strReversed;
    strReversed.Format("%d", static_cast<int>(static_cast<int32_t>(lValue)));
    strReversed.MakeReverse();
    // The longest form, "-2,147,483,648", needs 15 bytes.
    char szBuffer[260] = {};
    int nOut = 0;
    for (int i = 0; i < strReversed.GetLength(); ++i) {
        const char ch = strReversed[i];
        if (i != 0 && i % 3 == 0 && ch != '-')
            szBuffer[nOut++] = ',';
        szBuffer[nOut++] = ch;
    }
    strOut = szBuffer;
    strOut.MakeReverse();
    return 0;
}

void CutilConvertCRLFToSlashN(char* pszText) {
    ReplaceInPlace(pszText, "\r\n", "\\n");
}

void CutilConvertSlashNToCRLF(char* pszText) {
    ReplaceInPlace(pszText, "\\n", "\r\n");
}

int CutilHexToDec(const char* pszHex, unsigned long* pValue) {
    if (pszHex != nullptr && pValue != nullptr)
        *pValue = CSystem::ConvertHexStringToDecimalValue(CStringEx(pszHex));
    return 0;
}

int CutilStringReplace(CString& strText, const CString& strOld, const CString& strNew) {
    return strText.Replace(strOld, strNew) > 0 ? 1 : 0;
}

int CutilTokenizeString(const CString& strText, int nSeparator, CStringArray& arr) {
    CStringEx(strText).TokenizeStringIntoStringArray(arr, static_cast<char>(nSeparator & 0xFF),
                                                     true);
    return static_cast<int>(arr.GetSize());
}
