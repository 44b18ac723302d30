#include <bwcore/win32/errors.h>

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

} // namespace

DWORD WINAPI GetLastError(void) {
    return tLastError;
}

void WINAPI SetLastError(DWORD dwErrCode) {
    tLastError = dwErrCode;
}
