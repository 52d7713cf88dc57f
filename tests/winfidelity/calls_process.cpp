// Starting a hidden child through the shell and waiting for its exit code,
// as the apply code runs netsh; finding a process in a snapshot and
// terminating it, as the -kill switch does. The child is this program.
#include "calls.h"

#include <cstring>

namespace winfidelity {

namespace {

struct ShellRun
{
    BOOL rc = FALSE;
    ULONG_PTR instance = 0;
    DWORD err = 0;
    HANDLE process = nullptr;
};

// The instance value only says success (above 32) or an SE_ERR_ code; the
// value of a success differs between systems, so it is reported as 33.
unsigned long long InstanceCode(const ShellRun& run)
{
    return run.instance > 32 ? 33 : run.instance;
}

ShellRun Start(const Environment& env, const WideString& program, const WideString& parameters)
{
    SHELLEXECUTEINFOW info;
    std::memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_HIDE;
    SetLastError(0);
    ShellRun run;
    run.rc = env.shellExecute(&info);
    run.err = GetLastError();
    run.instance = reinterpret_cast<ULONG_PTR>(info.hInstApp);
    run.process = info.hProcess;
    return run;
}

void CheckExitCode(Report& report, const Environment& env, const std::string& name, DWORD code)
{
    const ShellRun run = Start(env, env.selfProgram, Wide(std::string(kChildExit) + " " + std::to_string(code)));
    report.Add(name + ".start", run.rc, InstanceCode(run), run.err, run.rc && run.instance > 32 && run.process,
               "the child must start with a process handle");
    if (!run.process)
        return;
    const DWORD wait = WaitForSingleObject(run.process, INFINITE);
    DWORD exitCode = 0;
    const BOOL got = GetExitCodeProcess(run.process, &exitCode);
    // The application takes the last error as the failure's code when the
    // exit code is not 0, so its value here matters.
    report.Add(name + ".exit", got, exitCode, GetLastError(), wait == WAIT_OBJECT_0 && got && exitCode == code,
               "the child's exit code");
    CloseHandle(run.process);
}

bool IsOurChild(const PROCESSENTRY32W& entry)
{
    return entry.th32ParentProcessID == GetCurrentProcessId() &&
           Upper(WideText(entry.szExeFile, MAX_PATH)).find(Wide("WINFIDELITY")) != WideString::npos;
}

// The -kill walk: every process this one may terminate is opened, the
// first match is terminated. Returns whether a match was found.
bool TerminateFirstMatch(Report& report, HANDLE snapshot, PROCESSENTRY32W& entry)
{
    do {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        const bool matches = IsOurChild(entry);
        SetLastError(0);
        const BOOL terminated = matches ? TerminateProcess(process, 0) : FALSE;
        const DWORD err = GetLastError();
        CloseHandle(process);
        if (matches) {
            report.Add("process.terminate", terminated, 0, err, terminated != FALSE, "terminating the child");
            return true;
        }
    } while (Process32NextW(snapshot, &entry));
    return false;
}

void KillChild(Report& report, HANDLE child)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    const bool valid = snapshot != INVALID_HANDLE_VALUE;
    report.Add("process.snapshot", valid ? 1 : 0, 0, valid ? 0 : GetLastError(), valid, "a process snapshot");
    if (!valid)
        return;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    const BOOL first = Process32FirstW(snapshot, &entry);
    const bool found = first && TerminateFirstMatch(report, snapshot, entry);
    report.Add("process.found", found ? 1 : 0, 0, 0, found, "the child is in the snapshot");
    CloseHandle(snapshot);
    if (!found)
        TerminateProcess(child, 1);
}

} // namespace

void CheckShellExecute(Report& report, const Environment& env)
{
    CheckExitCode(report, env, "shell.code3", 3);

    // A bare name is looked for in the system folder, then on the path.
    const ShellRun missing = Start(env, Wide("winfidelity-missing-program"), Wide(""));
    report.Add("shell.missing", missing.rc, InstanceCode(missing), missing.err,
               !missing.rc && missing.instance == SE_ERR_FNF && !missing.process, "SE_ERR_FNF and no process");
}

void CheckProcessKill(Report& report, const Environment& env)
{
    const ShellRun run = Start(env, env.selfProgram, Wide(kChildSleep));
    if (!run.process) {
        report.Fail("process.child", "the child did not start");
        return;
    }
    DWORD exitCode = 0;
    const BOOL running = GetExitCodeProcess(run.process, &exitCode);
    report.Add("process.running", running, exitCode, 0, running && exitCode == STILL_ACTIVE, "STILL_ACTIVE");
    const DWORD polled = WaitForSingleObject(run.process, 0);
    report.Add("process.poll", polled, 0, 0, polled == WAIT_TIMEOUT, "a running process times out");

    KillChild(report, run.process);
    // Bounded only so that a broken termination cannot hang the run.
    const DWORD wait = WaitForSingleObject(run.process, 60000);
    const BOOL got = GetExitCodeProcess(run.process, &exitCode);
    report.Add("process.exit", got, exitCode, 0, wait == WAIT_OBJECT_0 && got && exitCode == 0,
               "terminated with the code given");
    CloseHandle(run.process);

    SetLastError(0);
    HANDLE idle = OpenProcess(PROCESS_TERMINATE, FALSE, 0);
    report.Add("process.open.idle", idle ? 1 : 0, 0, GetLastError(), !idle, "process 0 cannot be opened");
}

} // namespace winfidelity
