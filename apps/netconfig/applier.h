#pragma once

#include "commandrunner.h"

// Sends cards to the system: builds each phase's commands, runs them through
// a runner and keeps the registry's static DNS value in step. No window:
// failures come back as system error codes for the caller to show.
class CApplier : public QObject
{
    Q_OBJECT

public:
    explicit CApplier(CCommandRunner& runner, QObject* parent = nullptr);

    // Runs every command in order, whatever the earlier ones gave; the result
    // and *code are the last command's (one started without a process keeps
    // the code before it). A time-out or a cancel stops the list there.
    // False with *code untouched when the list is empty or nothing can run.
    // Waits in a local event loop: the caller is blocked, the dialog is not.
    bool RunCommands(const CommandList& commands, unsigned long* code);

    // The given phases of the card, in order (DNS, WINS, address); the
    // first failing phase stops the card and leaves its code in *code.
    bool ApplyCard(const CNetworkCard& card, int row, const QList<Phase>& phases, unsigned long* code);

    // Stops after the command that runs now and refuses every later list
    // until ClearCancel(): an apply is cancelled as a whole, between commands.
    void Cancel();
    bool IsCancelled() const { return m_Cancelled; }
    void ClearCancel() { m_Cancelled = false; }
    bool IsRunning() const { return m_Running; }

signals:
    void commandStarted(const Command& command);
    void commandFinished(const Command& command, const CommandResult& result);

private:
    CommandResult RunOne(const Command& command);
    bool SyncNameServer(const CNetworkCard& card, bool netshResult);

    CCommandRunner& m_Runner;
    bool m_Running = false;
    bool m_Cancelled = false;
};
