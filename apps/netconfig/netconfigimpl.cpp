#include "netconfigimpl.h"

#include "appimages.h"
#include "checklist.h"
#include "devcheck.h"
#include "tabbarex.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLibrary>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStackedWidget>

namespace {

enum MainTab { TabAdapters = 0, TabDrives = 1, TabIdentification = 2, TabUtilities = 3 };
enum AddressSource { SourceAuto = 0, SourceManual = 1 };
const int kCheckedState = 2; // Qt::Checked as delivered by stateChanged(int)

struct TabInfo {
    const char* title;
    const char* image;
};

const TabInfo kTabs[] = {
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network adapters"), "vendor_net_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network drives"), "shared_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network identification"), "domain_small"},
    {QT_TRANSLATE_NOOP("CNetConfigImpl", "Network utilities"), "vendor_net_small"},
};

QString AddressText(const CIPAddressList& list)
{
    return list.isEmpty() ? CIPAddress().ToString() : list.first().ToString();
}

} // namespace

CNetConfigImpl::CNetConfigImpl(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : CNetConfig(parent, name, modal, fl)
{
    installEventFilter(this);

    // Names that end up in the registry and in netsh command lines must not
    // carry file-system or shell metacharacters.
    auto* nameValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^\\\\/:\\*?\"<>\\|]+")), this);
    ledHostName->setValidator(nameValidator);
    ledDomain->setValidator(nameValidator);
    ledDNSSuffix->setValidator(nameValidator);

    m_pShellExecuteEx =
        reinterpret_cast<PFN_ShellExecuteExW>(QLibrary::resolve(QStringLiteral("shell32"), "ShellExecuteExW"));

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

    chlShareList->addColumn(tr("Drive"), 50);
    chlShareList->addColumn(tr("Network path"), 250);

    connect(&utilityProcess, &CProcess::readyReadStdout, this, &CNetConfigImpl::OnReadyStdout);
    connect(&utilityProcess, &CProcess::readyReadStderr, this, &CNetConfigImpl::OnReadyStderr);
    connect(&utilityProcess, &CProcess::processExited, this, &CNetConfigImpl::OnUtilityProcessExited);

    codecByCodepage.insert(QStringLiteral("437"), QStringLiteral("ISO8859-1"));
    codecByCodepage.insert(QStringLiteral("850"), QStringLiteral("ISO8859-1"));
    codecByCodepage.insert(QStringLiteral("936"), QStringLiteral("GBK"));
    codecByCodepage.insert(QStringLiteral("950"), QStringLiteral("Big5"));
    codecByCodepage.insert(QStringLiteral("932"), QStringLiteral("Shift-JIS"));
    codecByCodepage.insert(QStringLiteral("949"), QStringLiteral("eucKR"));
    codecByCodepage.insert(QStringLiteral("852"), QStringLiteral("ISO8859-2"));
    codecByCodepage.insert(QStringLiteral("737"), QStringLiteral("ISO8859-7"));
    codecByCodepage.insert(QStringLiteral("866"), QStringLiteral("IBM 866"));
    ReadConsoleCodepage();

    utilityProcess.setCommunication(CProcess::Stdin | CProcess::Stdout | CProcess::Stderr);
}

CNetConfigImpl::~CNetConfigImpl() = default;

CNetworkCard* CNetConfigImpl::CurrentCard()
{
    const int row = cbAdapters->currentIndex();
    if (row < 0 || row >= m_Adapters.count())
        return nullptr;
    return &m_Adapters[row];
}

int CNetConfigImpl::CurrentAdapterIndex()
{
    return cbAdapters->currentIndex();
}

void CNetConfigImpl::SelectAdapter(int Index)
{
    DEV_CHECK(Index < (int)m_Adapters.count());
    // A remembered row can outlive the adapter it named; show the first one.
    if (Index < 0 || Index >= m_Adapters.count()) {
        if (m_Adapters.isEmpty())
            return;
        Index = 0;
    }
    if (Index != cbAdapters->currentIndex())
        cbAdapters->setCurrentIndex(Index);

    // Copy: the change signals raised below run slots that touch the list.
    const CNetworkCard card = m_Adapters[Index];
    ledIPAddress->setText(card.m_IPAddress.ToString());
    ledSubNet->setText(card.m_SubnetMask.ToString());
    ledGateway->setText(AddressText(card.m_Gateways));
    rbtnAuto->setChecked(card.m_DHCPEnabled);
    rbtnManual->setChecked(!card.m_DHCPEnabled);
    ckbDNSAuto->setChecked(card.m_DNSAuto);
    ledDNSServer->setText(AddressText(card.m_DNSServers));
    ckbHaveWins->setChecked(card.m_WINSAuto);
    ledPrimaryWINS->setText(card.m_PrimaryWINS.ToString());
    ledSecondaryWINS->setText(card.m_SecondaryWINS.ToString());
    ledHostName->setText(m_ComputerName);
    ledDomain->setText(m_Workgroup);
    ledDNSSuffix->setText(m_DNSSuffix);
    UpdateControlStates();
}

void CNetConfigImpl::UpdateControlStates()
{
    bool cardChanged = false;
    if (const CNetworkCard* card = CurrentCard()) {
        btnRenew->setEnabled(card->m_DHCPEnabled);
        btnRelease->setEnabled(card->m_DHCPEnabled);
        ledIPAddress->setEnabled(!card->m_DHCPEnabled);
        ledSubNet->setEnabled(!card->m_DHCPEnabled);
        ledGateway->setEnabled(!card->m_DHCPEnabled);
        btnGateways->setEnabled(!card->m_DHCPEnabled);
        ledDNSServer->setEnabled(!card->m_DNSAuto);
        btnDNSServers->setEnabled(!card->m_DNSAuto);
        ledPrimaryWINS->setEnabled(!card->m_WINSAuto);
        ledSecondaryWINS->setEnabled(!card->m_WINSAuto);
        cardChanged = card->m_AddressChanged || card->m_DNSChanged || card->m_WINSChanged;
    }
    // The DNS suffix is deliberately left out of the rule.
    btnApply->setEnabled(cardChanged || ledHostName->text() != m_ComputerName
                         || ledDomain->text() != m_Workgroup);
}

void CNetConfigImpl::DHCPSettingsChange(int id)
{
    // Only the two radio buttons belong to the group; other ids change nothing.
    const bool known = id == SourceAuto || id == SourceManual;
    ToggleCardSetting(&CNetworkCard::m_DHCPEnabled, &CNetworkCard::m_AddressChanged, id == SourceAuto, known);
}

void CNetConfigImpl::DNSAuto(int state)
{
    ToggleCardSetting(&CNetworkCard::m_DNSAuto, &CNetworkCard::m_DNSChanged, state == kCheckedState, true);
}

void CNetConfigImpl::HaveWINS(int state)
{
    ToggleCardSetting(&CNetworkCard::m_WINSAuto, &CNetworkCard::m_WINSChanged, state == kCheckedState, true);
}

// The three source switches of the page: store a new value in the shown card
// and mark its group changed only when the value really differs.
void CNetConfigImpl::ToggleCardSetting(bool CNetworkCard::*field, bool CNetworkCard::*changed, bool value,
                                       bool apply)
{
    CNetworkCard* pNetCard = CurrentCard();
    DEV_CHECK(0 != pNetCard);
    if (pNetCard && apply && pNetCard->*field != value) {
        pNetCard->*field = value;
        pNetCard->*changed = true;
    }
    UpdateControlStates();
}

void CNetConfigImpl::SelectMainTab(int id)
{
    wsMain->setCurrentIndex(id);
    // Enter starts the utility on its page and means OK everywhere else;
    // clear the old default first so that exactly one button holds it.
    const bool utilities = id == TabUtilities;
    (utilities ? buttonOk : btnStartUtility)->setDefault(false);
    (utilities ? btnStartUtility : buttonOk)->setDefault(true);
}

void CNetConfigImpl::SelectNetTab(int) {}

bool CNetConfigImpl::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5)
        RefreshConfiguration();
    return CNetConfig::eventFilter(object, event);
}

void CNetConfigImpl::RefreshConfiguration()
{
    const int currIndex = cbAdapters->currentIndex();
    // A failed re-read is not reported: the old model stays as it was.
    ReadConfiguration();
    DEV_CHECK(currIndex < cbAdapters->count());
    cbAdapters->setCurrentIndex(currIndex);
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
