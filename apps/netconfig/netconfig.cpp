#include "netconfig.h"

#include "devcheck.h"

#include <QtGlobal>

CNetConfig::CNetConfig(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl) : QDialog(parent, fl)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setupUi(this);
    tbPageMain->setSide(0);
    resize(QSize(592, 542).expandedTo(minimumSizeHint()));

    // Wired only now, so that setting the texts above reaches no slot.
    ConnectSignals();
}

CNetConfig::~CNetConfig() = default;

void CNetConfig::ConnectSignals()
{
    CAdaptersPage* adapters = WStackPage;
    CDrivesPage* drives = WStackPage_2;
    CIdentityPage* identity = WStackPage_3;
    CUtilitiesPage* utilities = WStackPage_4;
    const auto textChanged = &QLineEdit::textChanged;
    const auto edited = &CNetConfig::ledControl_textChanged;
    connect(buttonOk, &QPushButton::clicked, this, &CNetConfig::OKClick);
    connect(buttonCancel, &QPushButton::clicked, this, &CNetConfig::CancelClick);
    connect(btnApply, &QPushButton::clicked, this, &CNetConfig::ApplyClick);
    connect(drives->btnDisconnectDrive, &QPushButton::clicked, this, &CNetConfig::DisconnectDrive);
    connect(drives->btnMapNetDrive, &QPushButton::clicked, this, &CNetConfig::MapNetDrive);
    connect(tbPageMain, &CTabBarEx::selected, this, &CNetConfig::SelectMainTab);
    connect(identity->ledHostName, textChanged, this, edited);
    connect(identity->ledDomain, textChanged, this, edited);
    connect(identity->ledDNSSuffix, textChanged, this, edited);
    connect(btnSave, &QPushButton::clicked, this, &CNetConfig::SaveToFile);
    connect(btnLoad, &QPushButton::clicked, this, &CNetConfig::LoadFromFile);
    ConnectAdapterSignals(adapters);
    ConnectUtilitySignals(utilities);
}

void CNetConfig::ConnectUtilitySignals(CUtilitiesPage* utilities)
{
    // The option page must be up before OnChangeUtility looks at it.
    connect(utilities->comboUtility, &QComboBox::activated, utilities->wsUtilityParams,
            &QStackedWidget::setCurrentIndex);
    connect(utilities->btnTraceHops, &QCheckBox::toggled, utilities->spinTraceHopsNum, &QWidget::setEnabled);
    connect(utilities->btnReplyWait, &QCheckBox::toggled, utilities->spinReplyWaitTime, &QWidget::setEnabled);
    connect(utilities->btnPingEchoRqv, &QCheckBox::toggled, utilities->spinPingEchoRqvNum, &QWidget::setEnabled);
    connect(utilities->comboUtility, &QComboBox::activated, this, &CNetConfig::OnChangeUtility);
    connect(utilities->editUtilityTarget, &QLineEdit::textChanged, this, &CNetConfig::OnChangeUtilityTarget);
    connect(utilities->btnStartUtility, &QPushButton::clicked, this, &CNetConfig::OnStartUtility);
    connect(utilities->editUtilityOutput, &QTextEdit::textChanged, this, &CNetConfig::OnOutputTextChanged);
    connect(utilities->btnClearOutput, &QPushButton::clicked, this, &CNetConfig::OnClearUtilityOutput);
}

void CNetConfig::ConnectAdapterSignals(CAdaptersPage* adapters)
{
    const auto textChanged = &QLineEdit::textChanged;
    const auto edited = &CNetConfig::ledControl_textChanged;
    connect(adapters->cbAdapters, &QComboBox::activated, this, &CNetConfig::SelectAdapter);
    connect(adapters->ckbDNSAuto, &QCheckBox::stateChanged, this, &CNetConfig::DNSAuto);
    connect(adapters->ledDNSServer, textChanged, this, edited);
    connect(adapters->btnDNSServers, &QPushButton::clicked, this, &CNetConfig::EditDNSServers);
    connect(adapters->ckbHaveWins, &QCheckBox::stateChanged, this, &CNetConfig::HaveWINS);
    connect(adapters->ledPrimaryWINS, textChanged, this, edited);
    connect(adapters->ledSecondaryWINS, textChanged, this, edited);
    connect(adapters->btnRenew, &QPushButton::clicked, this, &CNetConfig::btnRenew_clicked);
    connect(adapters->btnRelease, &QPushButton::clicked, this, &CNetConfig::btnRelease_clicked);
    connect(adapters->ledIPAddress, textChanged, this, edited);
    connect(adapters->ledSubNet, textChanged, this, edited);
    connect(adapters->ledGateway, textChanged, this, edited);
    connect(adapters->btnGateways, &QPushButton::clicked, this, &CNetConfig::EditGateways);
    connect(adapters->groupBox1Buttons, &QButtonGroup::idClicked, this, &CNetConfig::DHCPSettingsChange);
}

// Sets every text of the form; each page sets its own.
void CNetConfig::languageChange()
{
    retranslateUi(this);
}

#define NOT_IMPLEMENTED(signature) qCWarning(lcNetconfig, "CNetConfig::" signature ": Not implemented yet")

void CNetConfig::SelectAdapter(int)
{
    NOT_IMPLEMENTED("SelectAdapter(int)");
}
void CNetConfig::DHCPEnable(int)
{
    NOT_IMPLEMENTED("DHCPEnable(int)");
}
void CNetConfig::DHCPDisable(int)
{
    NOT_IMPLEMENTED("DHCPDisable(int)");
}
void CNetConfig::HaveWINS(int)
{
    NOT_IMPLEMENTED("HaveWINS(int)");
}
void CNetConfig::DNSAuto(int)
{
    NOT_IMPLEMENTED("DNSAuto(int)");
}
void CNetConfig::SaveToFile()
{
    NOT_IMPLEMENTED("SaveToFile()");
}
void CNetConfig::ApplyClick()
{
    NOT_IMPLEMENTED("ApplyClick()");
}
void CNetConfig::OKClick()
{
    NOT_IMPLEMENTED("OKClick()");
}
void CNetConfig::MapNetDrive()
{
    NOT_IMPLEMENTED("MapNetDrive()");
}
void CNetConfig::btnRenew_clicked()
{
    NOT_IMPLEMENTED("btnRenew_clicked()");
}
void CNetConfig::btnRelease_clicked()
{
    NOT_IMPLEMENTED("btnRelease_clicked()");
}
void CNetConfig::btnRenewRelease_clicked()
{
    NOT_IMPLEMENTED("btnRenewRelease_clicked()");
}
void CNetConfig::SelectNetTab(int)
{
    NOT_IMPLEMENTED("SelectNetTab(int)");
}
void CNetConfig::DisconnectDrive()
{
    NOT_IMPLEMENTED("DisconnectDrive()");
}
void CNetConfig::ledControl_textChanged(const QString&)
{
    NOT_IMPLEMENTED("ledControl_textChanged(const QString&)");
}
void CNetConfig::SelectMainTab(int)
{
    NOT_IMPLEMENTED("SelectMainTab(int)");
}
void CNetConfig::EditGateways()
{
    NOT_IMPLEMENTED("EditGateways()");
}
void CNetConfig::EditDNSServers()
{
    NOT_IMPLEMENTED("EditDNSServers()");
}
void CNetConfig::LoadFromFile()
{
    NOT_IMPLEMENTED("LoadFromFile()");
}
void CNetConfig::CancelClick()
{
    NOT_IMPLEMENTED("CancelClick()");
}
void CNetConfig::DHCPSettingsChange(int)
{
    NOT_IMPLEMENTED("DHCPSettingsChange(int)");
}
