#pragma once

#include "applyplan.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <winsys.h>

// How one command ended.
struct CommandResult
{
    enum Outcome {
        Exited,     // ran to its end; code tells success
        NotStarted, // the shell refused; code is its instance value
        NoProcess,  // started, but no process came back to wait for
        TimedOut,   // killed after the time limit
        Cancelled   // killed on request
    };
    Outcome outcome = Exited;
    unsigned long code = 0;     // 0, or the system error the command counts as
    unsigned long exitCode = 0; // the program's own exit code (Exited only)

    bool Succeeded() const { return (outcome == Exited || outcome == NoProcess) && code == 0; }
};
Q_DECLARE_METATYPE(CommandResult)

// Runs one command at a time without blocking the event loop. Tests put in a
// fake one; the dialog and the console use CShellCommandRunner.
class CCommandRunner : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False when nothing can be run at all (no shell entry point).
    virtual bool IsAvailable() const = 0;
    // Starts command; exactly one finished() follows, later, also after a
    // refused start or a Cancel().
    virtual void Start(const Command& command) = 0;
    // Ends the running command, if any.
    virtual void Cancel() = 0;

signals:
    void finished(const CommandResult& result);
};

// Commands run hidden through the shell's ShellExecuteExW, as Windows runs
// netsh.exe; the process is watched from a timer so that the dialog keeps
// painting, and one that hangs is killed after the time limit.
class CShellCommandRunner : public CCommandRunner
{
    Q_OBJECT

public:
    using ShellExecuteFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

    explicit CShellCommandRunner(ShellExecuteFn shellExecute, QObject* parent = nullptr);
    // ShellExecuteExW from "shell32", resolved at run time; null when missing.
    static ShellExecuteFn ResolveShellExecute();
    ~CShellCommandRunner() override;

    static constexpr int kDefaultTimeoutMs = 60000;
    void SetTimeout(int milliseconds) { m_TimeoutMs = milliseconds; }

    bool IsAvailable() const override { return m_ShellExecute != nullptr; }
    void Start(const Command& command) override;
    void Cancel() override;

private:
    void Poll();
    void Finish(const CommandResult& result);
    void StopProcess(CommandResult::Outcome outcome, unsigned long code);

    ShellExecuteFn m_ShellExecute;
    HANDLE m_Process = nullptr;
    QTimer m_Poll;
    QElapsedTimer m_Elapsed;
    int m_TimeoutMs = kDefaultTimeoutMs;
};
