// ShellExecuteExW: starts a program from the system folder or PATH with a
// Windows-style parameter string, optionally handing back a process handle.
#include "winsys/cmdline.h"
#include "emul.h"
#include "kobject.h"
#include "sysdir.h"
#include "text.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

using namespace winsys;

namespace {

const ULONG_PTR kStarted = 42;   // any instance value above 32 means success

bool IsExecutableFile(const std::string& path, bool* denied)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (::access(path.c_str(), X_OK) == 0)
        return true;
    *denied = true;
    return false;
}

// Finds the program; on failure *seError holds the SE_ERR_ value.
std::string FindProgram(const std::string& file, const std::string& dir, int* seError)
{
    bool denied = false;
    std::string found;
    if (file.find('/') != std::string::npos) {
        const std::string path = file[0] == '/' || dir.empty() ? file : dir + "/" + file;
        if (IsExecutableFile(path, &denied))
            found = path;
    } else {
        std::vector<std::string> folders{SystemDirectory()};
        const char* path = std::getenv("PATH");
        for (const std::string& f : Split(path ? path : "/usr/bin:/bin", ':'))
            folders.push_back(f.empty() ? "." : f);
        std::vector<std::string> names{file};
        if (file.find('.') == std::string::npos)
            names.push_back(file + ".exe");
        for (size_t i = 0; i < folders.size() && found.empty(); ++i)
            for (const std::string& name : names)
                if (found.empty() && !folders[i].empty() && IsExecutableFile(folders[i] + "/" + name, &denied))
                    found = folders[i] + "/" + name;
    }
    *seError = found.empty() ? (denied ? SE_ERR_ACCESSDENIED : SE_ERR_FNF) : 0;
    return found;
}

BOOL Refuse(SHELLEXECUTEINFOW* info, int seError, DWORD error)
{
    info->hInstApp = reinterpret_cast<HINSTANCE>(ULONG_PTR(seError));
    return Fail(error, FALSE);
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& dir, bool hidden,
            int* err)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (hidden) {   // a hidden console program's output goes nowhere
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    if (!dir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    *err = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return *err == 0 ? pid : -1;
}

}  // namespace

namespace winsys {

// Shared by this library's ShellExecuteExW and the shell32 module's.
__attribute__((visibility("default"))) BOOL ShellExecuteImpl(SHELLEXECUTEINFOW* info)
{
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    info->hProcess = nullptr;
    const std::string verb = Lower(Utf16ToUtf8(info->lpVerb));
    if (!verb.empty() && verb != "open" && verb != "runas")
        return Refuse(info, SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION);
    const std::string file = Utf16ToUtf8(info->lpFile);
    const std::string dir = Utf16ToUtf8(info->lpDirectory);
    struct stat st;
    if (!dir.empty() && (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
        return Refuse(info, SE_ERR_PNF, ERROR_PATH_NOT_FOUND);
    int seError = SE_ERR_FNF;
    const std::string program = file.empty() ? std::string() : FindProgram(file, dir, &seError);
    if (program.empty())
        return Refuse(info, seError, seError == SE_ERR_ACCESSDENIED ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    int err = 0;
    const pid_t pid = Spawn(program, SplitCommandLine(Utf16ToUtf8(info->lpParameters)), dir,
                            info->nShow == SW_HIDE, &err);
    if (pid < 0)
        return err == ENOMEM ? Refuse(info, SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY)
                             : Refuse(info, SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED);
    auto process = std::make_shared<ProcessObject>(pid, true);
    info->hInstApp = reinterpret_cast<HINSTANCE>(kStarted);
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = RegisterHandle(process);
    else
        ReapInBackground(process);
    return TRUE;
}

}  // namespace winsys

BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
    return winsys::ShellExecuteImpl(pExecInfo);
}
