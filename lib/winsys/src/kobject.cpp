#include "kobject.h"

#include "emul.h"

#include <algorithm>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <poll.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace winsys {

namespace {

std::mutex g_TableMutex;

// Codes given to TerminateProcess by pid: a process ends with its code
// whichever handle terminated it, as on Windows.
std::mutex g_TerminateMutex;
std::map<pid_t, UINT> g_TerminateCodes;

bool TerminateCodeOf(pid_t pid, UINT* code)
{
    std::lock_guard<std::mutex> guard(g_TerminateMutex);
    const auto it = g_TerminateCodes.find(pid);
    if (it == g_TerminateCodes.end())
        return false;
    *code = it->second;
    return true;
}

std::map<HANDLE, std::shared_ptr<KernelObject>>& Table()
{
    static auto* table = new std::map<HANDLE, std::shared_ptr<KernelObject>>;
    return *table;
}

int OpenPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// Without a pidfd: a process that is gone or a zombie has ended.
bool ProcGone(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z' ||
           line[close + 2] == 'X';
}

}  // namespace

ProcessObject::ProcessObject(pid_t pid, bool child) : m_Pid(pid), m_Child(child)
{
    m_PidFd = OpenPidFd(pid);
    if (child) {   // a new process: a code left for an earlier one with this pid is not its
        std::lock_guard<std::mutex> guard(g_TerminateMutex);
        g_TerminateCodes.erase(pid);
    }
}

ProcessObject::~ProcessObject()
{
    if (m_PidFd >= 0)
        ::close(m_PidFd);
}

bool ProcessObject::PollLocked()
{
    if (m_Exited)
        return true;
    if (m_Child) {
        int status = 0;
        const pid_t r = ::waitpid(m_Pid, &status, WNOHANG);
        if (r == m_Pid || (r < 0 && errno == ECHILD)) {   // ECHILD: reaped elsewhere
            m_Exited = true;
            m_Status = r == m_Pid ? status : 0;
        }
    } else if (m_PidFd >= 0) {
        pollfd p{m_PidFd, POLLIN, 0};
        m_Exited = ::poll(&p, 1, 0) > 0;
    } else {
        m_Exited = ProcGone(m_Pid);
    }
    return m_Exited;
}

bool ProcessObject::Exited()
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    return PollLocked();
}

bool ProcessObject::WaitExit(DWORD timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (Exited())
            return true;
        int remaining = -1;
        if (timeoutMs != INFINITE) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            remaining = int(std::min<long long>(left, 1 << 30));
        }
        if (m_PidFd >= 0) {
            pollfd p{m_PidFd, POLLIN, 0};
            ::poll(&p, 1, remaining);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(remaining < 0 ? 10 : std::min(remaining, 10)));
        }
    }
}

DWORD ProcessObject::ExitCode()
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    if (!PollLocked())
        return STILL_ACTIVE;
    if (m_Terminated)
        return m_TerminateCode;
    UINT code = 0;
    if (WIFSIGNALED(m_Status) && WTERMSIG(m_Status) == SIGKILL && TerminateCodeOf(m_Pid, &code))
        return code;
    if (WIFEXITED(m_Status))
        return DWORD(WEXITSTATUS(m_Status));
    if (WIFSIGNALED(m_Status))
        return DWORD(128 + WTERMSIG(m_Status));
    return 0;
}

DWORD ProcessObject::Terminate(UINT code)
{
    std::lock_guard<std::mutex> guard(m_Mutex);
    if (PollLocked())
        return ERROR_ACCESS_DENIED;   // what Windows answers for an ended process
    if (::kill(m_Pid, SIGKILL) != 0)
        return errno == EPERM ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE;
    m_Terminated = true;
    m_TerminateCode = code;
    std::lock_guard<std::mutex> codes(g_TerminateMutex);
    g_TerminateCodes[m_Pid] = code;
    return 0;
}

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object)
{
    HANDLE h = object.get();
    std::lock_guard<std::mutex> guard(g_TableMutex);
    Table()[h] = std::move(object);
    return h;
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE h)
{
    std::lock_guard<std::mutex> guard(g_TableMutex);
    auto it = Table().find(h);
    return it == Table().end() ? nullptr : it->second;
}

void ReapInBackground(std::shared_ptr<ProcessObject> process)
{
    if (!process->IsChild() || process->Exited())
        return;
    std::thread([process] { process->WaitExit(INFINITE); }).detach();
}

}  // namespace winsys

using namespace winsys;

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    std::shared_ptr<KernelObject> object;
    {
        std::lock_guard<std::mutex> guard(g_TableMutex);
        auto it = Table().find(hObject);
        if (it == Table().end())
            return Fail(ERROR_INVALID_HANDLE, FALSE);
        object = std::move(it->second);
        Table().erase(it);
    }
    if (auto process = std::dynamic_pointer_cast<ProcessObject>(object))
        ReapInBackground(process);
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    auto process = LookupAs<ProcessObject>(hHandle);
    if (!process)
        return Fail(ERROR_INVALID_HANDLE, DWORD(WAIT_FAILED));
    return process->WaitExit(dwMilliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode)
{
    auto process = LookupAs<ProcessObject>(hProcess);
    if (!process)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!lpExitCode)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);   // Windows faults; we refuse
    *lpExitCode = process->ExitCode();
    return TRUE;
}

DWORD WINAPI GetCurrentProcessId(void)
{
    return DWORD(::getpid());
}
