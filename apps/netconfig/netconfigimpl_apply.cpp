// Validation, the Apply / OK buttons, identification, DHCP release and renew,
// and the system error box.
#include "netconfigimpl.h"

#include "configreader.h"
#include "dhcplease.h"
#include "identityapply.h"
#include "settingsfile.h"
#include "systemerror.h"

#include "devcheck.h"
#include "msgbox.h"
#include "waitcursor.h"

#include <QPointer>

namespace {

enum MainTab { TabAdapters = 0, TabIdentification = 2 };

// The runner leaves the code untouched only when nothing could be started
// at all, which this code says.
constexpr unsigned long kNothingStarted = ERROR_FILE_NOT_FOUND;

bool IsIdentityField(CardField field)
{
    return field == CardField::ComputerName || field == CardField::Workgroup || field == CardField::DNSSuffix;
}

} // namespace

// While an apply runs (commands in a local event loop), nothing that would
// start another apply or change the model can be reached; the dialog still
// paints. Focus returns to where it was.
class CApplyGuard
{
public:
    explicit CApplyGuard(CNetConfigImpl& dialog) : m_Dialog(dialog), m_Focus(QApplication::focusWidget())
    {
        m_Dialog.m_Applying = true;
        m_Dialog.m_Applier->ClearCancel();
        m_Dialog.wsMain->setEnabled(false);
        m_Dialog.frame4->setEnabled(false);
    }
    ~CApplyGuard()
    {
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
    CNetConfigImpl& m_Dialog;
    QPointer<QWidget> m_Focus;
    CWaitCursor m_Wait;
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

bool CNetConfigImpl::ApplyAdapter(int Index)
{
    const CNetworkCardList& m_Adapters = m_Editor.Cards();
    DEV_CHECK(Index < (int)m_Adapters.count());
    if (!m_Editor.IsRow(Index) || !ValidateRows({Index}))
        return false;
    CApplyGuard guard(*this);
    return ApplyCardAt(Index);
}

// DNS, WINS, address: a failing phase stops the card, earlier phases stay
// applied, and the failure is shown once.
bool CNetConfigImpl::ApplyCardAt(int row)
{
    const CNetworkCard card = m_Editor.Card(row);
    unsigned long code = kNothingStarted;
    if (m_Applier->ApplyCard(card, row, &code))
        return true;
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
    // What is about to be applied, and the page as shown.
    QList<int> rows;
    for (int row = 0; row < m_Editor.Count(); ++row) {
        if (m_Editor.Card(row).HasChanges() || (isVisible() && row == CurrentAdapterIndex()))
            rows << row;
    }
    if (rows.isEmpty())
        rows << CurrentAdapterIndex();
    if (!ValidateRows(rows))
        return false;
    CApplyGuard guard(*this);
    for (int row = 0; row < m_Editor.Count(); ++row) {
        if (!ApplyCardAt(row))
            return false;
    }
    return ApplyIdentification();
}

void CNetConfigImpl::ApplyClick()
{
    const int index = CurrentAdapterIndex();
    if (!ApplyAdapter(index) || !ApplyIdentification())
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

bool CNetConfigImpl::ApplyIdentification()
{
    // A join refreshes the model from the system; what was asked for stays.
    const CIdentity wanted = m_Editor.Wanted();
    CIdentity remembered = m_Editor.Remembered();
    const CIdentityOutcome outcome = ApplyIdentity(wanted, remembered, [this] { AfterJoin(); });
    m_Editor.SetRemembered(remembered);
    m_Editor.SetWanted(wanted);
    IdentityPage()->ShowIdentity();
    if (!outcome.ok)
        ShowSystemError(outcome.error);
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
