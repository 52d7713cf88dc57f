// Starting a hidden child through the shell and waiting for its exit code,
// as the apply code runs netsh; finding a process in a snapshot and
// terminating it, as the -kill switch does. The child is this program.
#include "calls.h"

namespace winfidelity {

namespace {

struct ShellRun
{
    BOOL rc = FALSE;
    ULONG_PTR instance = 0; // above 32 on success, else an SE_ERR_ code
    DWORD err = 0;
    HANDLE process = nullptr;
    // The value of a success differs between systems: reported as 33.
    ull Instance() const { return instance > 32 ? 33 : instance; }
};

ShellRun Start(const Environment& env, const WideString& program, const std::string& parameters)
{
    const WideString wideParameters = Wide(parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
    info.lpFile = program.c_str();
    info.lpParameters = wideParameters.c_str();
    info.nShow = SW_HIDE;
    SetLastError(0);
    const BOOL rc = env.shellExecute(&info);
    const DWORD err = GetLastError();
    return {rc, reinterpret_cast<ULONG_PTR>(info.hInstApp), err, info.hProcess};
}

// The -kill walk: every process this one may terminate is opened, the
// first that is our child is terminated.
bool TerminateChild(Report& report)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    const bool valid = snapshot != INVALID_HANDLE_VALUE;
    report.Add("process.snapshot", valid ? 1 : 0, 0, valid ? 0 : GetLastError(), valid);
    if (!valid)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        WideString name = WideText(entry.szExeFile, MAX_PATH);
        for (WCHAR& c : name)
            c = c >= 'a' && c <= 'z' ? WCHAR(c - 'a' + 'A') : c;
        found =
            entry.th32ParentProcessID == GetCurrentProcessId() && name.find(Wide("WINFIDELITY")) != WideString::npos;
        SetLastError(0);
        const BOOL terminated = found ? TerminateProcess(process, 0) : FALSE;
        const DWORD err = GetLastError();
        CloseHandle(process);
        if (found)
            report.Add("process.terminate", terminated, 0, err, terminated != FALSE);
    }
    report.Add("process.found", found ? 1 : 0, 0, 0, found);
    CloseHandle(snapshot);
    return found;
}

// Terminating a sleeping child found in a snapshot.
void CheckKill(Report& report, const Environment& env)
{
    const ShellRun run = Start(env, env.selfProgram, kChildSleep);
    if (!run.process)
        return report.Add("process.child", 0, 0, 0, false);
    const DWORD polled = WaitForSingleObject(run.process, 0);
    report.Add("process.poll", polled, 0, 0, polled == WAIT_TIMEOUT);
    if (!TerminateChild(report))
        TerminateProcess(run.process, 1);
    // Bounded only so that a broken termination cannot hang the run.
    const DWORD wait = WaitForSingleObject(run.process, 60000);
    DWORD exitCode = 0;
    const BOOL got = GetExitCodeProcess(run.process, &exitCode);
    report.Add("process.exit", got, exitCode, 0, wait == WAIT_OBJECT_0 && got && exitCode == 0);
    CloseHandle(run.process);
}

} // namespace

void CheckProcesses(Report& report, const Environment& env)
{
    CheckKill(report, env);
    ShellRun run = Start(env, env.selfProgram, std::string(kChildExit) + " 3");
    report.Add("shell.code3.start", run.rc, run.Instance(), run.err, run.rc && run.instance > 32 && run.process);
    if (run.process) {
        const DWORD wait = WaitForSingleObject(run.process, INFINITE);
        DWORD exitCode = 0;
        const BOOL got = GetExitCodeProcess(run.process, &exitCode);
        // The application takes the last error as the failure's code when the
        // exit code is not 0, so its value here matters.
        report.Add("shell.code3.exit", got, exitCode, GetLastError(), wait == WAIT_OBJECT_0 && got && exitCode == 3);
        CloseHandle(run.process);
    }
    // A bare name is looked for in the system folder, then on the path.
    run = Start(env, Wide("winfidelity-missing-program"), "");
    report.Add("shell.missing", run.rc, run.Instance(), run.err, !run.rc && run.instance == SE_ERR_FNF && !run.process);
}

} // namespace winfidelity
