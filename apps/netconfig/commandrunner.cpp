#include "commandrunner.h"

#include <QLibrary>

#include <cstring>

namespace {

static_assert(sizeof(void*) != 8 || sizeof(SHELLEXECUTEINFOW) == 112, "SHELLEXECUTEINFOW layout");

const int kPollMs = 10;
const unsigned long kErrorCancelled = 1223; // ERROR_CANCELLED

} // namespace

CShellCommandRunner::CShellCommandRunner(ShellExecuteFn shellExecute, QObject* parent)
    : CCommandRunner(parent), m_ShellExecute(shellExecute)
{
    m_Poll.setInterval(kPollMs);
    connect(&m_Poll, &QTimer::timeout, this, &CShellCommandRunner::Poll);
}

CShellCommandRunner::ShellExecuteFn CShellCommandRunner::ResolveShellExecute()
{
    return reinterpret_cast<ShellExecuteFn>(QLibrary::resolve(QStringLiteral("shell32"), "ShellExecuteExW"));
}

CShellCommandRunner::~CShellCommandRunner()
{
    if (m_Process) {
        TerminateProcess(m_Process, 1);
        CloseHandle(m_Process);
    }
}

void CShellCommandRunner::Start(const Command& command)
{
    const QString program = command.program, parameters = command.Parameters();
    SHELLEXECUTEINFOW info;
    std::memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_UNICODE;
    info.lpFile = reinterpret_cast<LPCWSTR>(program.utf16());
    info.lpParameters = reinterpret_cast<LPCWSTR>(parameters.utf16());
    info.nShow = SW_HIDE;
    if (m_ShellExecute)
        m_ShellExecute(&info);
    const quintptr instance = reinterpret_cast<quintptr>(info.hInstApp);
    if (!m_ShellExecute || instance <= 32) {
        Finish(
            {CommandResult::NotStarted, m_ShellExecute ? static_cast<unsigned long>(instance) : ERROR_FILE_NOT_FOUND});
    } else if (!info.hProcess) {
        Finish({CommandResult::NoProcess, 0});
    } else {
        m_Process = info.hProcess;
        m_Elapsed.start();
        m_Poll.start();
    }
}

void CShellCommandRunner::Poll()
{
    if (WaitForSingleObject(m_Process, 0) != WAIT_OBJECT_0) {
        if (m_Elapsed.elapsed() >= m_TimeoutMs)
            StopProcess(CommandResult::TimedOut, WAIT_TIMEOUT);
        return;
    }
    CommandResult result;
    DWORD exitCode = 0;
    // The last error read below must describe this run, not a failure left
    // over from some earlier call.
    SetLastError(0);
    if (GetExitCodeProcess(m_Process, &exitCode) && exitCode == 0) {
        result.code = 0;
    } else {
        // Also for a nonzero exit code: netsh's exit code is not a system
        // error number; only a real system error fails the command. Whether
        // the command did what it should is decided by reading the system.
        result.code = GetLastError();
    }
    result.exitCode = exitCode;
    CloseHandle(m_Process);
    m_Process = nullptr;
    m_Poll.stop();
    Finish(result);
}

void CShellCommandRunner::Cancel()
{
    if (m_Process)
        StopProcess(CommandResult::Cancelled, kErrorCancelled);
}

void CShellCommandRunner::StopProcess(CommandResult::Outcome outcome, unsigned long code)
{
    m_Poll.stop();
    TerminateProcess(m_Process, 1);
    WaitForSingleObject(m_Process, 1000);
    CloseHandle(m_Process);
    m_Process = nullptr;
    Finish({outcome, code});
}

void CShellCommandRunner::Finish(const CommandResult& result)
{
    // Always later, never from inside Start(): callers wait in an event loop.
    QMetaObject::invokeMethod(
        this, [this, result]() { emit finished(result); }, Qt::QueuedConnection);
}
