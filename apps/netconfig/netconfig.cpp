#include "netconfig.h"

#include <QtGlobal>

CNetConfig::CNetConfig(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setupUi(this);

    // Designer cannot express these; they complete the tree from the .ui.
    groupBox1Grid->setObjectName(QString());
    groupBox1Grid->setAlignment(Qt::AlignTop);
    groupBox2Grid->setObjectName(QString());
    groupBox2Grid->setAlignment(Qt::AlignTop);
    tbPageMain->setSide(0);
    groupBox1Buttons->setId(rbtnAuto, 0);
    groupBox1Buttons->setId(rbtnManual, 1);

    // setupUi has just set the texts it holds; the rest are set here.
    SetUtilityTexts();
    resize(QSize(592, 542).expandedTo(minimumSizeHint()));

    // Wired only now, so that setting the texts above reaches no slot.
    ConnectSignals();
}

CNetConfig::~CNetConfig() = default;

void CNetConfig::ConnectSignals()
{
    const auto textChanged = &QLineEdit::textChanged;
    const auto edited = &CNetConfig::ledControl_textChanged;
    connect(buttonOk, &QPushButton::clicked, this, &CNetConfig::OKClick);
    connect(buttonCancel, &QPushButton::clicked, this, &CNetConfig::CancelClick);
    connect(btnApply, &QPushButton::clicked, this, &CNetConfig::ApplyClick);
    connect(btnDisconnectDrive, &QPushButton::clicked, this, &CNetConfig::DisconnectDrive);
    connect(btnMapNetDrive, &QPushButton::clicked, this, &CNetConfig::MapNetDrive);
    connect(tbPageMain, &CTabBarEx::selected, this, &CNetConfig::SelectMainTab);
    connect(cbAdapters, &QComboBox::activated, this, &CNetConfig::SelectAdapter);
    connect(ledHostName, textChanged, this, edited);
    connect(ledDomain, textChanged, this, edited);
    connect(ledDNSSuffix, textChanged, this, edited);
    connect(btnSave, &QPushButton::clicked, this, &CNetConfig::SaveToFile);
    connect(btnLoad, &QPushButton::clicked, this, &CNetConfig::LoadFromFile);
    // The option page must be up before OnChangeUtility looks at it.
    connect(comboUtility, &QComboBox::activated, wsUtilityParams, &QStackedWidget::setCurrentIndex);
    connect(ckbDNSAuto, &QCheckBox::stateChanged, this, &CNetConfig::DNSAuto);
    connect(ledDNSServer, textChanged, this, edited);
    connect(btnDNSServers, &QPushButton::clicked, this, &CNetConfig::EditDNSServers);
    connect(ckbHaveWins, &QCheckBox::stateChanged, this, &CNetConfig::HaveWINS);
    connect(ledPrimaryWINS, textChanged, this, edited);
    connect(ledSecondaryWINS, textChanged, this, edited);
    connect(btnRenew, &QPushButton::clicked, this, &CNetConfig::btnRenew_clicked);
    connect(btnRelease, &QPushButton::clicked, this, &CNetConfig::btnRelease_clicked);
    connect(ledIPAddress, textChanged, this, edited);
    connect(ledSubNet, textChanged, this, edited);
    connect(ledGateway, textChanged, this, edited);
    connect(btnGateways, &QPushButton::clicked, this, &CNetConfig::EditGateways);
    connect(btnTraceHops, &QCheckBox::toggled, spinTraceHopsNum, &QWidget::setEnabled);
    connect(btnReplyWait, &QCheckBox::toggled, spinReplyWaitTime, &QWidget::setEnabled);
    connect(btnPingEchoRqv, &QCheckBox::toggled, spinPingEchoRqvNum, &QWidget::setEnabled);
    connect(comboUtility, &QComboBox::activated, this, &CNetConfig::OnChangeUtility);
    connect(editUtilityTarget, textChanged, this, &CNetConfig::OnChangeUtilityTarget);
    connect(btnStartUtility, &QPushButton::clicked, this, &CNetConfig::OnStartUtility);
    connect(editUtilityOutput, &QTextEdit::textChanged, this, &CNetConfig::OnOutputTextChanged);
    connect(btnClearOutput, &QPushButton::clicked, this, &CNetConfig::OnClearUtilityOutput);
    connect(groupBox1Buttons, &QButtonGroup::idClicked, this, &CNetConfig::DHCPSettingsChange);
}

// Sets every text of the form. retranslateUi covers what the .ui holds.
void CNetConfig::languageChange()
{
    retranslateUi(this);
    SetUtilityTexts();
}

// The utility list is rebuilt so that it always starts at "Ping".
void CNetConfig::SetUtilityTexts()
{
    comboUtility->clear();
    comboUtility->addItem(tr("Ping"));
    comboUtility->addItem(tr("Trace route"));
    comboUtility->setCurrentIndex(0);
    editUtilityOutput->clear();
}

#define NOT_IMPLEMENTED(signature) qWarning("CNetConfig::" signature ": Not implemented yet")

void CNetConfig::SelectAdapter(int) { NOT_IMPLEMENTED("SelectAdapter(int)"); }
void CNetConfig::DHCPEnable(int) { NOT_IMPLEMENTED("DHCPEnable(int)"); }
void CNetConfig::DHCPDisable(int) { NOT_IMPLEMENTED("DHCPDisable(int)"); }
void CNetConfig::HaveWINS(int) { NOT_IMPLEMENTED("HaveWINS(int)"); }
void CNetConfig::DNSAuto(int) { NOT_IMPLEMENTED("DNSAuto(int)"); }
void CNetConfig::SaveToFile() { NOT_IMPLEMENTED("SaveToFile()"); }
void CNetConfig::ApplyClick() { NOT_IMPLEMENTED("ApplyClick()"); }
void CNetConfig::OKClick() { NOT_IMPLEMENTED("OKClick()"); }
void CNetConfig::MapNetDrive() { NOT_IMPLEMENTED("MapNetDrive()"); }
void CNetConfig::btnRenew_clicked() { NOT_IMPLEMENTED("btnRenew_clicked()"); }
void CNetConfig::btnRelease_clicked() { NOT_IMPLEMENTED("btnRelease_clicked()"); }
void CNetConfig::btnRenewRelease_clicked() { NOT_IMPLEMENTED("btnRenewRelease_clicked()"); }
void CNetConfig::SelectNetTab(int) { NOT_IMPLEMENTED("SelectNetTab(int)"); }
void CNetConfig::DisconnectDrive() { NOT_IMPLEMENTED("DisconnectDrive()"); }
void CNetConfig::ledControl_textChanged(const QString&) { NOT_IMPLEMENTED("ledControl_textChanged(const QString&)"); }
void CNetConfig::SelectMainTab(int) { NOT_IMPLEMENTED("SelectMainTab(int)"); }
void CNetConfig::EditGateways() { NOT_IMPLEMENTED("EditGateways()"); }
void CNetConfig::EditDNSServers() { NOT_IMPLEMENTED("EditDNSServers()"); }
void CNetConfig::LoadFromFile() { NOT_IMPLEMENTED("LoadFromFile()"); }
void CNetConfig::CancelClick() { NOT_IMPLEMENTED("CancelClick()"); }
void CNetConfig::DHCPSettingsChange(int) { NOT_IMPLEMENTED("DHCPSettingsChange(int)"); }
