// Validation, the Apply / OK buttons with their plan, progress and check of
// what took effect, identification, DHCP release and renew, and the system
// error box.
#include "netconfigimpl.h"

#include "configreader.h"
#include "dhcplease.h"
#include "identityapply.h"
#include "netconfig_rules.h"
#include "safeapply.h"
#include "settingsfile.h"
#include "systemerror.h"

#include "devcheck.h"
#include "msgbox.h"
#include "waitcursor.h"

#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>

#include <cstdio>

namespace {

enum MainTab { TabAdapters = 0, TabIdentification = 2 };

// The runner leaves the code untouched only when nothing could be started
// at all, which this code says.
constexpr unsigned long kNothingStarted = ERROR_FILE_NOT_FOUND;

bool IsIdentityField(CardField field)
{
    return field == CardField::ComputerName || field == CardField::Workgroup || field == CardField::DNSSuffix;
}

// A question whose default is to go on: without a screen it is only said.
bool AskToGoOn(QWidget* parent, const QString& text)
{
    if (QuarvelMsgBoxHeadless()) {
        std::fprintf(stderr, "netconfig: %s\n", qUtf8Printable(text));
        return true;
    }
    return QMessageBox::question(parent, QString(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

} // namespace

// While an apply runs (commands in a local event loop), nothing that would
// start another apply or change the model can be reached; the dialog still
// paints, shows the progress of a long plan and can cancel it between
// commands. Focus returns to where it was.
class CApplyGuard
{
public:
    CApplyGuard(CNetConfigImpl& dialog, const CApplyPlan& plan)
        : m_Dialog(dialog), m_Focus(QApplication::focusWidget()), m_Total(int(plan.Commands().count()))
    {
        m_Dialog.m_Applying = true;
        m_Dialog.m_Applier->ClearCancel();
        m_Dialog.m_RunLog.clear();
        m_Dialog.wsMain->setEnabled(false);
        m_Dialog.frame4->setEnabled(false);
        if (m_Dialog.isVisible())
            ShowProgress(plan);
    }
    ~CApplyGuard()
    {
        delete m_Progress;
        m_Dialog.wsMain->setEnabled(true);
        m_Dialog.frame4->setEnabled(true);
        m_Dialog.m_Applying = false;
        if (m_Focus)
            m_Focus->setFocus();
        m_Dialog.UpdateControlStates();
    }
    CApplyGuard(const CApplyGuard&) = delete;
    CApplyGuard& operator=(const CApplyGuard&) = delete;

private:
    void ShowProgress(const CApplyPlan& plan)
    {
        m_Progress = new QProgressDialog(QString(), CNetConfigImpl::tr("&Cancel"), 0, m_Total, &m_Dialog);
        m_Progress->setWindowModality(Qt::WindowModal);
        m_Progress->setMinimumDuration(500);
        QObject::connect(m_Progress, &QProgressDialog::canceled, m_Dialog.m_Applier.get(), &CApplier::Cancel);
        QObject::connect(m_Dialog.m_Applier.get(), &CApplier::commandStarted, m_Progress,
                         [this, plan](const Command& command) {
                             m_Progress->setLabelText(
                                 CNetConfigImpl::tr("Applying %1 of %2: %3 of %4")
                                     .arg(++m_Started)
                                     .arg(m_Total)
                                     .arg(PhaseName(command.phase), plan.wanted.at(command.adapter).m_Description));
                             m_Progress->setValue(m_Started - 1);
                         });
    }

    CNetConfigImpl& m_Dialog;
    QPointer<QWidget> m_Focus;
    CWaitCursor m_Wait;
    QProgressDialog* m_Progress = nullptr;
    int m_Total;
    int m_Started = 0;
};

bool CNetConfigImpl::ValidateInput()
{
    return ValidateRows({CurrentAdapterIndex()});
}

// The first card (in list order) that validation refuses is shown with its
// problem; the identification is checked with every card.
bool CNetConfigImpl::ValidateRows(const QList<int>& rows)
{
    for (int row : rows) {
        if (!m_Editor.IsRow(row))
            continue;
        const CValidationProblem problem = Validate(m_Editor.Card(row), m_Editor.Wanted());
        if (problem) {
            ShowProblem(row, problem);
            return false;
        }
    }
    return true;
}

// What Windows would take but is most likely a typing error: the user
// decides.
bool CNetConfigImpl::ConfirmWarnings(const QList<int>& rows)
{
    for (int row : rows) {
        const QString warning = GatewayWarning(m_Editor.Card(row));
        if (!warning.isEmpty() && !AskToGoOn(this, warning))
            return false;
    }
    return true;
}

void CNetConfigImpl::ShowProblem(int row, const CValidationProblem& problem)
{
    const bool identity = IsIdentityField(problem.field);
    // A console load names the place in its file; the dialog shows the field.
    const QString where =
        m_LoadedFile.isEmpty()
            ? QString()
            : QStringLiteral("%1: [%2] %3")
                  .arg(m_LoadedFile, identity ? QStringLiteral("HostInformation") : AdapterSection(row),
                       SettingsKey(problem.field));
    QuarvelMsgBox(this, problem.message, where);
    if (!identity && row != CurrentAdapterIndex())
        SelectAdapter(row);
    const int tab = identity ? TabIdentification : TabAdapters;
    if (wsMain->currentIndex() != tab)
        tbPageMain->setCurrentTab(tab);
    if (identity)
        IdentityPage()->FocusField(problem.field);
    else
        AdaptersPage()->FocusField(problem.field);
}

// Every card with a change, and the one on screen (the page as shown is
// checked even when nothing changed).
QList<int> CNetConfigImpl::RowsToApply(bool withShown) const
{
    QList<int> rows;
    for (int row = 0; row < m_Editor.Count(); ++row) {
        if (m_Editor.Card(row).HasChanges() || (withShown && row == AdaptersPage()->CurrentRow()))
            rows << row;
    }
    return rows;
}

// Worked out against the system as it is now, not as it was read.
CApplyPlan CNetConfigImpl::PlanFor(const QList<int>& rows) const
{
    CNetworkCardList live;
    const bool known = ReadAdapterCards(live) == ERROR_SUCCESS && live.count() == m_Editor.Count();
    CApplyPlan plan =
        MakeApplyPlan(m_Editor.Cards(), rows, known ? &live : nullptr, m_Editor.Wanted(), m_Editor.Remembered());
    if (known)
        plan.live = live;
    return plan;
}

// Check, plan, snapshot the system, run, verify, and let a change that may
// cut the user off be kept or reverted.
CNetConfigImpl::ApplyOutcome CNetConfigImpl::RunApply(const QList<int>& rows)
{
    if (!m_Restoring && !NoOtherApplyWaiting())
        return ApplyOutcome::Busy;
    if (!ValidateRows(rows) || (!m_Restoring && !ConfirmWarnings(rows)))
        return ApplyOutcome::Refused;
    const CApplyPlan plan = PlanFor(rows);
    if (m_WhatIf) {
        PrintPlan(plan);
        return ApplyOutcome::Done;
    }
    if (m_Restoring || plan.IsEmpty())
        return RunPlan(plan);
    const QString snapshot = CSafeApplyStore::ForThisMachine().TakeSnapshot(
        plan.live.isEmpty() ? m_Editor.Cards() : plan.live, plan.liveIdentity);
    if (snapshot.isEmpty() && m_ConsoleKeepSeconds >= 0) {
        QuarvelMsgBox(this, tr("Can not save the current settings before changing them."),
                      CSafeApplyStore::ForThisMachine().Folder());
        return ApplyOutcome::Refused;
    }
    return KeepOrRevert(plan, snapshot, RunPlan(plan));
}

CNetConfigImpl::ApplyOutcome CNetConfigImpl::RunPlan(const CApplyPlan& plan)
{
    {
        CApplyGuard guard(*this, plan);
        for (int row : plan.rows) {
            if (!ApplyCardAt(row, plan.phases.value(row)))
                return ApplyOutcome::Failed;
        }
    }
    if (!ApplyIdentification())
        return ApplyOutcome::Failed;
    const CDifferenceList differences = VerifyPlan(plan, SettleTimeMs());
    ReportDifferences(differences);
    return differences.isEmpty() ? ApplyOutcome::Done : ApplyOutcome::Differences;
}

bool CNetConfigImpl::ApplyAdapter(int Index)
{
    const CNetworkCardList& m_Adapters = m_Editor.Cards();
    DEV_CHECK(Index < (int)m_Adapters.count());
    if (!m_Editor.IsRow(Index) || !ValidateRows({Index}))
        return false;
    const CApplyPlan plan = PlanFor({Index});
    CApplyGuard guard(*this, plan);
    return ApplyCardAt(Index, plan.phases.value(Index));
}

// DNS, WINS, address: a failing phase stops the card, earlier phases stay
// applied, and the failure is shown once.
bool CNetConfigImpl::ApplyCardAt(int row, const QList<Phase>& phases)
{
    const CNetworkCard card = m_Editor.Card(row);
    unsigned long code = kNothingStarted;
    if (m_Applier->ApplyCard(card, row, phases, &code))
        return true;
    // The user who cancelled knows why it stopped.
    if (!m_Applier->IsCancelled())
        ShowSystemError(code);
    return false;
}

bool CNetConfigImpl::RunCommands(const CommandList& queue, unsigned long* code)
{
    return m_Applier->RunCommands(queue, code);
}

bool CNetConfigImpl::ApplyAll()
{
    CWaitCursor wait;
    m_LastOutcome = RunApply(RowsToApply(isVisible()));
    UpdateRestoreButton();
    return m_LastOutcome == ApplyOutcome::Done;
}

void CNetConfigImpl::ApplyClick()
{
    const int index = CurrentAdapterIndex();
    const ApplyOutcome outcome = RunApply({index});
    UpdateRestoreButton();
    if (outcome != ApplyOutcome::Done)
        return;
    // Identification may have refreshed the model; clear the card as it is now.
    m_Editor.ClearChanges(index);
    UpdateControlStates();
}

void CNetConfigImpl::OKClick()
{
    if (ApplyAll())
        accept();
}

void CNetConfigImpl::NoteCommand(const Command& command, const CommandResult& result)
{
    m_RunLog.append({command, result});
    if (m_Verbose)
        std::fprintf(stderr, "netconfig: %s: exit code %lu\n", qUtf8Printable(command.CommandLine()), result.exitCode);
}

void CNetConfigImpl::PrintPlan(const CApplyPlan& plan) const
{
    for (const Command& command : plan.Commands())
        std::printf("%s\n", qUtf8Printable(command.CommandLine()));
    for (const QString& call : plan.IdentityCalls())
        std::printf("%s\n", qUtf8Printable(call));
    std::fflush(stdout);
}

bool CNetConfigImpl::ApplyIdentification()
{
    // A join refreshes the model from the system; what was asked for stays.
    const CIdentity wanted = m_Editor.Wanted();
    CIdentity remembered = m_Editor.Remembered();
    const bool renamed = IdentityDiffers(wanted.computerName, remembered.computerName);
    const CIdentityOutcome outcome = ApplyIdentity(wanted, remembered, [this] { AfterJoin(); });
    m_Editor.SetRemembered(remembered);
    m_Editor.SetWanted(wanted);
    IdentityPage()->ShowIdentity();
    if (!outcome.ok)
        ShowSystemError(outcome.error);
    else if (renamed && remembered.computerName == wanted.computerName)
        QuarvelMsgBox(this, tr("The new computer name takes effect when the computer is restarted."), QString(),
                      QString(), QString(), 3);
    return outcome.ok;
}

// A new membership means new leases, for an adapter that has one.
void CNetConfigImpl::AfterJoin()
{
    const CNetworkCard* card = CurrentCard();
    if (!card || !card->m_DHCPEnabled)
        return;
    ReleaseRenew(Release);
    ReleaseRenew(Renew);
}

void CNetConfigImpl::ReleaseRenew(ReleaseRenewAction action)
{
    CWaitCursor wait;
    const CNetworkCard* card = CurrentCard();
    if (!card)
        return;
    const CLeaseOutcome outcome =
        ReleaseRenewLease(card->m_AdapterName, action == Release ? LeaseAction::Release : LeaseAction::Renew);
    if (!outcome.listed)
        return;
    if (outcome.found && outcome.error != 0)
        ShowSystemError(outcome.error);
    else
        RefreshConfiguration();
}

void CNetConfigImpl::btnRenew_clicked()
{
    ReleaseRenew(Renew);
}

void CNetConfigImpl::btnRelease_clicked()
{
    ReleaseRenew(Release);
}

void CNetConfigImpl::ShowSystemError(unsigned long code)
{
    if (code == 0)
        return;
    unsigned long number = code;
    // A box even without text: the user must learn that the step failed.
    QuarvelMsgBox(this, SystemErrorText(&number), QString(), QString(), QString(), 1, 258);
}

void CNetConfigImpl::SetConsoleOptions(bool whatif, bool verbose, int keepSeconds)
{
    m_WhatIf = whatif;
    m_Verbose = verbose;
    m_ConsoleKeepSeconds = keepSeconds;
}

// Every difference once per apply: one box, or a line each on standard
// error where no box can show.
void CNetConfigImpl::ReportDifferences(const CDifferenceList& differences)
{
    if (differences.isEmpty())
        return;
    const QStringList lines = DescribeDifferences(differences, m_Editor.Cards(), m_RunLog);
    const QString header = tr("Not every setting took effect:");
    if (QuarvelMsgBoxHeadless()) {
        QuarvelMsgBox(this, header);
        for (const QString& line : lines)
            QuarvelMsgBox(this, line);
        return;
    }
    QuarvelMsgBox(this, header, lines.join(QLatin1Char('\n')));
}
