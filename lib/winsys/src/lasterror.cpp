// The per-thread last-error value.
#include "emul.h"

namespace {
thread_local DWORD t_LastError = 0;
}

DWORD WINAPI GetLastError(void)
{
    return t_LastError;
}

void WINAPI SetLastError(DWORD dwErrCode)
{
    t_LastError = dwErrCode;
}
