#include "netconfigimpl.h"

#include "appimages.h"
#include "configreader.h"
#include "devcheck.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace {

enum MainTab { TabAdapters = 0, TabDrives = 1, TabIdentification = 2, TabUtilities = 3 };
const int kCheckedState = 2; // Qt::Checked as delivered by stateChanged(int)

struct TabInfo
{
    const char* title;
    const char* image;
};

const TabInfo kTabs[] = {
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network adapters"), "vendor_net_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network drives"), "shared_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network identification"), "domain_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network utilities"), "vendor_net_small"},
};

} // namespace

CNetConfigImpl::CNetConfigImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : CNetConfig(parent, name, modal, fl)
{
    installEventFilter(this);
    m_pShellExecuteEx = CShellCommandRunner::ResolveShellExecute();
    SetCommandRunner(std::make_unique<CShellCommandRunner>(m_pShellExecuteEx));
    AdaptersPage()->SetEditor(&m_Editor);
    IdentityPage()->SetEditor(&m_Editor);
    connect(&m_Editor, &CAdapterEditor::changed, this, &CNetConfigImpl::UpdateControlStates);
    connect(DrivesPage(), &CDrivesPage::systemError, this, &CNetConfigImpl::ShowSystemError);
    connect(btnRestore, &QPushButton::clicked, this, &CNetConfigImpl::RestorePreviousSettings);
    UpdateRestoreButton();
    SetUpTabs();
}

CNetConfigImpl::~CNetConfigImpl() = default;

void CNetConfigImpl::SetUpTabs()
{
    tbPageMain->removeAllTabs();
    for (const TabInfo& info : kTabs) {
        const int index = tbPageMain->addTab(new CTab(tr(info.title)));
        tbPageMain->tab(index)->setIconSet(AppIcon(QString::fromLatin1(info.image)));
    }
    tbPageMain->setCurrentTab(TabAdapters);
    // The form sized itself before it had tabs, its fixed minimum keeps the
    // layout from growing it, and a hidden tab bar does not announce its new
    // size: so make room for every tab title here.
    tbPageMain->updateGeometry();
    frame3->updateGeometry();
    resize(size().expandedTo(minimumSizeHint()));
}

void CNetConfigImpl::SetCommandRunner(std::unique_ptr<CCommandRunner> runner)
{
    m_Applier = std::make_unique<CApplier>(*runner);
    m_Runner = std::move(runner);
    connect(m_Applier.get(), &CApplier::commandFinished, this, &CNetConfigImpl::NoteCommand);
}

int CNetConfigImpl::CurrentAdapterIndex()
{
    return AdaptersPage()->CurrentRow();
}

void CNetConfigImpl::SelectAdapter(int Index)
{
    const CNetworkCardList& m_Adapters = m_Editor.Cards();
    DEV_CHECK(Index < (int)m_Adapters.count());
    // A row that does not exist (a remembered one whose adapter has gone)
    // leaves the page as it is.
    if (!m_Editor.IsRow(Index))
        return;
    AdaptersPage()->ShowCard(Index);
    IdentityPage()->ShowIdentity();
    UpdateControlStates();
}

void CNetConfigImpl::UpdateControlStates()
{
    AdaptersPage()->UpdateControlStates();
    const CNetworkCard* card = CurrentCard();
    const bool cardChanged = card && card->HasChanges();
    btnApply->setEnabled(cardChanged || m_Editor.IdentityPending());
}

void CNetConfigImpl::ledControl_textChanged(const QString&)
{
    // Typed values reach the model through each field's own edit signal.
    UpdateControlStates();
}

const CNetworkCard* CNetConfigImpl::CurrentCard() const
{
    const int row = AdaptersPage()->CurrentRow();
    return m_Editor.IsRow(row) ? &m_Editor.Card(row) : nullptr;
}

void CNetConfigImpl::DHCPSettingsChange(int id)
{
    const CNetworkCard* pNetCard = CurrentCard();
    DEV_CHECK(0 != pNetCard);
    AdaptersPage()->SetAddressSource(id);
    UpdateControlStates();
}

void CNetConfigImpl::DNSAuto(int state)
{
    const CNetworkCard* pNetCard = CurrentCard();
    DEV_CHECK(0 != pNetCard);
    AdaptersPage()->SetDNSAuto(state == kCheckedState);
    UpdateControlStates();
}

void CNetConfigImpl::HaveWINS(int state)
{
    const CNetworkCard* pNetCard = CurrentCard();
    DEV_CHECK(0 != pNetCard);
    AdaptersPage()->SetWINSAuto(state == kCheckedState);
    UpdateControlStates();
}

void CNetConfigImpl::SelectMainTab(int id)
{
    wsMain->setCurrentIndex(id);
    // Enter starts the utility on its page and means OK everywhere else;
    // clear the old default first so that exactly one button holds it.
    const bool utilities = id == TabUtilities;
    QPushButton* start = UtilitiesPage()->btnStartUtility;
    (utilities ? buttonOk : start)->setDefault(false);
    (utilities ? start : buttonOk)->setDefault(true);
}

void CNetConfigImpl::SelectNetTab(int)
{
}

bool CNetConfigImpl::eventFilter(QObject* object, QEvent* event)
{
    // The model must not change under an apply that is running.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5 && !m_Applying)
        RefreshConfiguration();
    return CNetConfig::eventFilter(object, event);
}

void CNetConfigImpl::RefreshConfiguration()
{
    QComboBox* cbAdapters = AdaptersPage()->cbAdapters;
    const int currIndex = cbAdapters->currentIndex();
    // A failed re-read is not reported: the old model stays as it was.
    ReadConfiguration();
    DEV_CHECK(currIndex < cbAdapters->count());
    SelectAdapter(currIndex);
    UpdateControlStates();
}

void CNetConfigImpl::HideUtilitiesPage()
{
    tbPageMain->removeTab(TabUtilities);
    tbPageMain->setCurrentTab(TabAdapters);
}

void CNetConfigImpl::CancelClick()
{
    reject();
}

void CNetConfigImpl::reject()
{
    // Closing while commands run would leave them half done and unreported.
    if (!m_Applying)
        CNetConfig::reject();
}

void CNetConfigImpl::closeEvent(QCloseEvent* event)
{
    if (m_Applying)
        event->ignore();
    else
        CNetConfig::closeEvent(event);
}

QString CNetConfigImpl::ReadRegistryString(const QString& keyPath, const QString& valueName)
{
    return ::ReadRegistryString(keyPath, valueName);
}
