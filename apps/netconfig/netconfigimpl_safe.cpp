// Safe applies: the snapshot taken before each one is how a change is
// reverted when nobody keeps it, undone on request, or recovered after the
// process that waited for its confirmation died.
#include "netconfigimpl.h"

#include "entry.h"
#include "keepdialog.h"
#include "safeapply.h"

#include "msgbox.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

const int kConfirmPollMs = 200;

CPendingApply PendingFor(const QString& snapshot, int seconds)
{
    return {qint64(QCoreApplication::applicationPid()), snapshot, QDateTime::currentDateTimeUtc().addSecs(seconds),
            false};
}

bool ChangedAddresses(const CApplyPlan& plan)
{
    for (int row : plan.rows) {
        if (plan.phases.value(row).contains(Phase::Address))
            return true;
    }
    return false;
}

} // namespace

// Only one apply of a machine may wait for its confirmation at a time.
bool CNetConfigImpl::NoOtherApplyWaiting()
{
    CPendingApply pending;
    if (!CSafeApplyStore::ForThisMachine().ReadPending(&pending) || CSafeApplyStore::IsStale(pending) ||
        pending.pid == QCoreApplication::applicationPid())
        return true;
    QuarvelMsgBox(this, tr("Another change of this computer's network settings waits for its confirmation "
                           "until %1; try again after it.")
                            .arg(QLocale().toString(pending.deadline.toLocalTime(), QLocale::ShortFormat)));
    return false;
}

CNetConfigImpl::ApplyOutcome CNetConfigImpl::KeepOrRevert(const CApplyPlan& plan, const QString& snapshot,
                                                          ApplyOutcome outcome)
{
    if (snapshot.isEmpty())
        return outcome;
    bool keep = true;
    if (m_ConsoleKeepSeconds >= 0)
        keep = (outcome == ApplyOutcome::Done) && WaitForConfirmation(snapshot);
    else if (ChangedAddresses(plan) && m_RevertSeconds > 0 && (!QuarvelMsgBoxHeadless() || m_AskKeepHeadless))
        keep = AskToKeep(snapshot);
    if (keep)
        return outcome;
    if (m_ConsoleKeepSeconds >= 0)
        std::fprintf(stderr, "netconfig: %s\n",
                     qUtf8Printable(outcome == ApplyOutcome::Done
                                        ? tr("No confirmation came in time: the settings from before are restored.")
                                        : tr("The change did not take effect as asked: the settings from before "
                                             "are restored.")));
    RestoreSnapshot(snapshot);
    return ApplyOutcome::Reverted;
}

// The console waits for "netconfig /c /keep" from another process: proof
// that the machine can still be reached.
bool CNetConfigImpl::WaitForConfirmation(const QString& snapshot)
{
    const CSafeApplyStore store = CSafeApplyStore::ForThisMachine();
    const CPendingApply pending = PendingFor(snapshot, m_ConsoleKeepSeconds);
    if (!store.ClaimPending(pending))
        return false;
    std::fprintf(stderr, "netconfig: %s\n",
                 qUtf8Printable(
                     tr("Waiting %1 seconds for \"netconfig /c /keep\" before reverting.").arg(m_ConsoleKeepSeconds)));
    QEventLoop loop;
    QTimer poll;
    bool confirmed = false;
    connect(&poll, &QTimer::timeout, &loop, [&]() {
        CPendingApply current;
        confirmed = store.ReadPending(&current) && current.confirmed;
        if (confirmed || QDateTime::currentDateTimeUtc() >= pending.deadline)
            loop.quit();
    });
    poll.start(kConfirmPollMs);
    loop.exec();
    store.ReleasePending();
    return confirmed;
}

// While the question waits, the change is pending like a console one: a
// crash of the dialog is recovered by the next start.
bool CNetConfigImpl::AskToKeep(const QString& snapshot)
{
    const CSafeApplyStore store = CSafeApplyStore::ForThisMachine();
    store.ClaimPending(PendingFor(snapshot, m_RevertSeconds));
    const bool keep = CKeepDialog::Ask(this, m_RevertSeconds);
    store.ReleasePending();
    return keep;
}

// The snapshot applied as a settings file, checked like any apply; the page
// then shows the system as it is.
CNetConfigImpl::ApplyOutcome CNetConfigImpl::RestoreSnapshot(const QString& path)
{
    RefreshConfiguration();
    if (ReadSettings(path) != 0) {
        QuarvelMsgBox(this, tr("Can not load parameters from file."), path);
        return ApplyOutcome::Refused;
    }
    m_Restoring = true;
    const ApplyOutcome outcome = RunApply(RowsToApply(false));
    m_Restoring = false;
    RefreshConfiguration();
    return outcome;
}

void CNetConfigImpl::RecoverUnconfirmedApply()
{
    const CSafeApplyStore store = CSafeApplyStore::ForThisMachine();
    CPendingApply pending;
    if (!store.ReadPending(&pending) || !CSafeApplyStore::IsStale(pending))
        return;
    QuarvelMsgBox(this,
                  tr("A change of the network settings was never confirmed: the settings from before it "
                     "are restored."),
                  pending.snapshot);
    RestoreSnapshot(pending.snapshot);
    store.ReleasePending();
}

void CNetConfigImpl::RestorePreviousSettings()
{
    const QString snapshot = CSafeApplyStore::ForThisMachine().LatestSnapshot();
    if (snapshot.isEmpty() || !NoOtherApplyWaiting())
        return;
    const QString when = QFileInfo(snapshot).lastModified().toString(QLocale().dateTimeFormat(QLocale::ShortFormat));
    if (!QuarvelMsgBoxHeadless() &&
        QMessageBox::question(this, windowTitle(), tr("Restore the network settings saved on %1?").arg(when)) !=
            QMessageBox::Yes)
        return;
    RestoreSnapshot(snapshot);
}

int CNetConfigImpl::ConsoleUndo()
{
    const QString snapshot = CSafeApplyStore::ForThisMachine().LatestSnapshot();
    if (snapshot.isEmpty()) {
        QuarvelMsgBox(this, tr("There are no earlier settings to restore."));
        return ExitBadFile;
    }
    if (!NoOtherApplyWaiting())
        return ExitBusy;
    return ExitCodeOf(RestoreSnapshot(snapshot));
}

int CNetConfigImpl::ConsoleConfirm()
{
    if (CSafeApplyStore::ForThisMachine().ConfirmPending())
        return ExitDone;
    QuarvelMsgBox(this, tr("No change of the network settings waits for a confirmation."));
    return ExitBusy;
}

void CNetConfigImpl::UpdateRestoreButton()
{
    btnRestore->setEnabled(!CSafeApplyStore::ForThisMachine().LatestSnapshot().isEmpty());
}

int CNetConfigImpl::ExitCodeOf(ApplyOutcome outcome)
{
    switch (outcome) {
    case ApplyOutcome::Done:
        return ExitDone;
    case ApplyOutcome::Refused:
        return ExitBadFile;
    case ApplyOutcome::Failed:
    case ApplyOutcome::Differences:
        return ExitDifferences;
    case ApplyOutcome::Reverted:
        return ExitReverted;
    case ApplyOutcome::Busy:
        return ExitBusy;
    }
    return ExitDifferences;
}

void CNetConfigImpl::SetRevertTime(int seconds, bool fromCommandLine)
{
    m_RevertSeconds = seconds;
    m_AskKeepHeadless = fromCommandLine;
}
