// The loadable "shell32" module: the application resolves ShellExecuteExW
// from it at run time. The work and all state stay in libwinsys.
#include <winsys.h>

namespace winsys {
BOOL ShellExecuteImpl(SHELLEXECUTEINFOW* info);   // in libwinsys
}

// Calls the implementation by its own name so that this export never binds
// back to itself, whatever else the process has loaded.
BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    return winsys::ShellExecuteImpl(pExecInfo);
}
