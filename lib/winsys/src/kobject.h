// Kernel objects behind HANDLEs: process snapshots and processes.
#pragma once

#include <winsys.h>

#include <memory>
#include <mutex>
#include <sys/types.h>
#include <vector>

namespace winsys {

struct KernelObject {
    virtual ~KernelObject() = default;
};

struct SnapshotObject : KernelObject {
    std::vector<PROCESSENTRY32W> entries;
    size_t next = 0;
};

// A process, either started by us (a child we must reap) or opened by id.
struct ProcessObject : KernelObject {
    ProcessObject(pid_t pid, bool child);
    ~ProcessObject() override;

    bool Exited();                  // polls without blocking
    bool WaitExit(DWORD timeoutMs);  // true once the process has ended
    DWORD ExitCode();               // STILL_ACTIVE while running
    DWORD Terminate(UINT code);     // 0 or a Windows error
    bool IsChild() const { return m_Child; }

private:
    bool PollLocked();

    std::mutex m_Mutex;
    const pid_t m_Pid;
    const bool m_Child;
    int m_PidFd = -1;
    bool m_Exited = false;
    int m_Status = 0;
    bool m_Terminated = false;
    UINT m_TerminateCode = 0;
};

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE h);
template <class T>
std::shared_ptr<T> LookupAs(HANDLE h)
{
    return std::dynamic_pointer_cast<T>(LookupHandle(h));
}
// Lets go of a child nobody will wait for, so that it does not stay a zombie.
void ReapInBackground(std::shared_ptr<ProcessObject> process);

}  // namespace winsys
