// libFuzzer target: arbitrary bytes as a file that ExtractIconA reads, as an icon file, as a PE
// file's icon groups, or as neither; seed it with corpus-icons.
//
// Besides the sanitizers' checks, the target aborts when a property fails:
//  - the count (index -1) is at most 1 for an icon file and at most 65535 groups for a PE file;
//  - an icon extracted at the first index, the count's last index or a group id is a live icon
//    of 32 by 32 pixels, which can be destroyed.
#include "FuzzFile.h"

#include <bwcore/bwcore.h>

#include <stdio.h>
#include <stdlib.h>

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        fprintf(stderr, "icon extraction property violated: %s\n", pszWhat);
        abort();
    }
}

void CheckIcon(HICON hIcon) {
    if (!hIcon)
        return;
    ICONINFO info = {};
    Check(GetIconInfo(hIcon, &info) != FALSE, "an extracted icon is a live icon");
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    Check(colour.bmWidth == 32 && colour.bmHeight == 32, "an extracted icon has 32 by 32 pixels");
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    Check(DestroyIcon(hIcon) != FALSE, "an extracted icon can be destroyed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    const std::string path = WriteFuzzFile("icons", pData, nSize);
    const auto nCount =
        reinterpret_cast<ULONG_PTR>(ExtractIconA(nullptr, path.c_str(), static_cast<UINT>(-1)));
    const bool bPe = nSize >= 2 && pData[0] == 'M' && pData[1] == 'Z';
    Check(nCount <= (bPe ? 65535u : 1u), "the count is one a directory can hold");
    CheckIcon(ExtractIconA(nullptr, path.c_str(), 0));
    if (nCount > 1)
        CheckIcon(ExtractIconA(nullptr, path.c_str(), static_cast<UINT>(nCount - 1)));
    CheckIcon(ExtractIconA(nullptr, path.c_str(), static_cast<UINT>(-7)));
    return 0;
}
