// libFuzzer target: arbitrary bytes as a file whose version resource is read by the Linux Win32
// layer (the PE resource parser and the version block of compat/win32), then queried.
//
// The bytes go to the reader exactly as GetFileVersionInfoSizeA and GetFileVersionInfoA take a
// file; when it accepts them, VerQueryValueA looks up the usual sub-blocks in the result. Besides
// the sanitizers' checks (the result buffer is exactly as large as the size reported, so any read
// or write past it is caught), the target aborts when a property fails:
//  - an accepted image gives a buffer of twice the version data plus 4 bytes, with the mark
//    "FE2X" just after the data;
//  - every value found lies inside the buffer: binary values inside the data, text copies in the
//    second half; a failed query reports no length.
#include "version_info.h"

#include <bwcore/bwcore.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        fprintf(stderr, "version reader property violated: %s\n", pszWhat);
        abort();
    }
}

const char* const kSubBlocks[] = {
    "\\",
    "\\VarFileInfo\\Translation",
    "\\VarFileInfo",
    "\\StringFileInfo",
    "\\StringFileInfo\\040904B0",
    "\\StringFileInfo\\040904B0\\FileVersion",
    "\\StringFileInfo\\040904B0\\CompanyName",
    "\\StringFileInfo\\040904E4\\ProductVersion",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    std::vector<BYTE> info;
    if (bwcompat::VersionInfoFromImage(pData, nSize, info) != ERROR_SUCCESS)
        return 0;
    const size_t nDataLength = info[0] | (info[1] << 8);
    Check(info.size() % 2 == 0 && nDataLength <= (info.size() - 4) / 2,
          "the buffer is twice the resource plus 4 bytes");
    Check(memcmp(info.data() + nDataLength, "FE2X", 4) == 0,
          "the conversion mark follows the data");

    const char* pBegin = reinterpret_cast<const char*>(info.data());
    const char* pEnd = pBegin + info.size();
    for (const char* pszSubBlock : kSubBlocks) {
        void* pValue = nullptr;
        UINT nLength = 0;
        if (!VerQueryValueA(info.data(), pszSubBlock, &pValue, &nLength)) {
            Check(nLength == 0, "a failed query reports no length");
            continue;
        }
        const char* p = static_cast<const char*>(pValue);
        Check(p >= pBegin && p <= pEnd && nLength <= static_cast<size_t>(pEnd - p),
              "a value lies inside the buffer");
        const bool bCopy = p >= pBegin + nDataLength + 4;
        Check(bCopy || nLength == 0 || p + nLength <= pBegin + nDataLength,
              "a binary value lies inside the data");
    }
    return 0;
}
