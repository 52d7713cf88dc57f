// Process snapshots and process handles over this machine's /proc.
#include "emul.h"
#include "kobject.h"
#include "text.h"

#include <cerrno>
#include <csignal>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <unistd.h>

using namespace winsys;

namespace {

std::string BaseName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// The executable file's name, as Windows lists the image name.
std::string ImageName(const std::string& proc)
{
    char buf[4096];
    const ssize_t n = ::readlink((proc + "/exe").c_str(), buf, sizeof buf - 1);
    if (n > 0) {
        std::string path(buf, size_t(n));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
            path.resize(path.size() - deleted.size());
        return BaseName(path);
    }
    std::ifstream cmdline(proc + "/cmdline");
    std::string argv0;
    if (std::getline(cmdline, argv0, '\0') && !argv0.empty())
        return BaseName(argv0);
    std::ifstream comm(proc + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

bool ReadEntry(pid_t pid, PROCESSENTRY32W& e)
{
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream statFile(proc + "/stat");
    std::string stat;
    if (!std::getline(statFile, stat))
        return false;
    const size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return false;
    // After the name: state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt
    // utime stime cutime cstime priority nice num_threads ...
    std::vector<std::string> fields = SplitList(stat.substr(close + 1));
    if (fields.size() < 18)
        return false;
    std::memset(&e, 0, sizeof e);
    e.dwSize = sizeof e;
    e.th32ProcessID = DWORD(pid);
    e.th32ParentProcessID = DWORD(std::strtoul(fields[1].c_str(), nullptr, 10));
    e.cntThreads = DWORD(std::strtoul(fields[17].c_str(), nullptr, 10));
    e.pcPriClassBase = 8;
    const std::u16string name = Utf8ToUtf16(ImageName(proc));
    std::memcpy(e.szExeFile, name.data(), std::min<size_t>(name.size(), MAX_PATH - 1) * sizeof(WCHAR));
    return true;
}

BOOL NextEntry(HANDLE hSnapshot, LPPROCESSENTRY32W lppe, bool first)
{
    auto snap = LookupAs<SnapshotObject>(hSnapshot);
    if (!snap)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!lppe || lppe->dwSize < sizeof(PROCESSENTRY32W))
        return Fail(ERROR_BAD_LENGTH, FALSE);
    if (first)
        snap->next = 0;
    if (snap->next >= snap->entries.size())
        return Fail(ERROR_NO_MORE_FILES, FALSE);
    const DWORD size = lppe->dwSize;
    *lppe = snap->entries[snap->next++];
    lppe->dwSize = size;
    return TRUE;
}

}  // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD)
{
    auto snap = std::make_shared<SnapshotObject>();
    if (dwFlags & TH32CS_SNAPPROCESS) {
        DIR* dir = ::opendir("/proc");
        if (!dir)
            return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
        while (dirent* d = ::readdir(dir)) {
            char* end = nullptr;
            const long pid = std::strtol(d->d_name, &end, 10);
            PROCESSENTRY32W e;
            if (pid > 0 && *end == '\0' && ReadEntry(pid_t(pid), e))
                snap->entries.push_back(e);
        }
        ::closedir(dir);
    }
    return RegisterHandle(snap);
}

BOOL WINAPI Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
    return NextEntry(hSnapshot, lppe, true);
}

BOOL WINAPI Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
    return NextEntry(hSnapshot, lppe, false);
}

HANDLE WINAPI OpenProcess(DWORD dwDesiredAccess, BOOL, DWORD dwProcessId)
{
    if (dwProcessId == 0)
        return Fail(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
    if (::kill(pid_t(dwProcessId), 0) != 0) {
        if (errno == ESRCH)
            return Fail(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
        if (dwDesiredAccess & PROCESS_TERMINATE)
            return Fail(ERROR_ACCESS_DENIED, HANDLE(nullptr));
    }
    return RegisterHandle(std::make_shared<ProcessObject>(pid_t(dwProcessId), false));
}

BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode)
{
    auto process = LookupAs<ProcessObject>(hProcess);
    if (!process)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    const DWORD code = process->Terminate(uExitCode);
    return code ? Fail(code, FALSE) : TRUE;
}
