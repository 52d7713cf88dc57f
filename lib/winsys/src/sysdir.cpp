// GetSystemDirectoryW: the emulated system folder, found relative to the
// running program so that build and install trees work without set-up.
#include "emul.h"
#include "sysdir.h"
#include "text.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winsys {

namespace {

std::string DirName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string Canonical(const std::string& path)
{
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

bool HoldsWinsys(const std::string& dir)
{
    struct stat st;
    return !dir.empty() && ::stat((dir + "/libwinsys.so").c_str(), &st) == 0;
}

}  // namespace

std::string SystemDirectory()
{
    if (const char* overridden = std::getenv("WINSYS_SYSTEM_DIR"); overridden && *overridden)
        return overridden;
    char exe[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        const std::string dir = Canonical(DirName(std::string(exe, size_t(n))) + "/" + NETCONFIG_SYSTEM_DIR_FROM_BIN);
        if (HoldsWinsys(dir))
            return dir;
    }
    // A program outside the bin folder (a test elsewhere): the folder of this library.
    Dl_info info;
    if (::dladdr(reinterpret_cast<void*>(&SystemDirectory), &info) && info.dli_fname)
        return Canonical(DirName(info.dli_fname));
    return std::string();
}

}  // namespace winsys

using namespace winsys;

UINT WINAPI GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize)
{
    const std::u16string dir = Utf8ToUtf16(SystemDirectory());
    if (dir.empty())
        return Fail(ERROR_PATH_NOT_FOUND, UINT(0));
    if (!lpBuffer || uSize <= dir.size())
        return UINT(dir.size() + 1);
    std::memcpy(lpBuffer, dir.c_str(), (dir.size() + 1) * sizeof(WCHAR));
    return UINT(dir.size());
}

UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize)
{
    const std::string dir = SystemDirectory();
    if (dir.empty())
        return Fail(ERROR_PATH_NOT_FOUND, UINT(0));
    if (!lpBuffer || uSize <= dir.size())
        return UINT(dir.size() + 1);
    std::memcpy(lpBuffer, dir.c_str(), dir.size() + 1);
    return UINT(dir.size());
}
