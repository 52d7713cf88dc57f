#pragma once

#include "netconfig.h"
#include "networkcard.h"

#include "process.h"

#include <QMap>
#include <QStringList>

#include <winsys.h>

// Controller of the main dialog: owns the adapter model and the
// identification values, and implements every slot of the form. One class,
// its .cpp files split by concern (reading, validation, applying, files,
// drives, utilities, address lists).
class CNetConfigImpl : public CNetConfig
{
    Q_OBJECT

public:
    enum ReleaseRenewAction { Release = 0, Renew = 1 };

    explicit CNetConfigImpl(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                            Qt::WindowFlags fl = {});
    ~CNetConfigImpl() override;

    // Reading the live configuration (0 or a system error code).
    unsigned long ReadConfiguration();
    QString ReadRegistryString(const QString& keyPath, const QString& valueName);

    void UpdateControlStates();
    void RefreshConfiguration();
    void HideUtilitiesPage();
    int CurrentAdapterIndex();

    bool ValidateInput();

    // Applying.
    bool ApplyAdapter(int index);
    bool RunCommands(const QStringList& queue, unsigned long* code);
    bool ApplyAll();
    bool ApplyIdentification();
    void ReleaseRenew(ReleaseRenewAction action);
    void ShowSystemError(unsigned long code);

    // Settings files: 0 on success.
    int WriteSettings(const QString& path);
    int ReadSettings(const QString& path);
    int RunConsoleCommand(const QString& fileName, bool load);

    unsigned long RefreshConnections();

    void ReadConsoleCodepage();
    QStringList BuildUtilityArguments();

    // For tests and the process entry: the model as it stands.
    CNetworkCardList& Adapters() { return m_Adapters; }
    QString ComputerName() const { return m_ComputerName; }
    QString Workgroup() const { return m_Workgroup; }
    QString DNSSuffix() const { return m_DNSSuffix; }
    QString ConsoleCodepage() const { return consoleCodepage; }
    bool HasShellExecute() const { return m_pShellExecuteEx != nullptr; }

public slots:
    void SelectAdapter(int index) override;
    void HaveWINS(int state) override;
    void DNSAuto(int state) override;
    void SaveToFile() override;
    void ApplyClick() override;
    void OKClick() override;
    void MapNetDrive() override;
    void btnRenew_clicked() override;
    void btnRelease_clicked() override;
    void SelectNetTab(int) override;
    void DisconnectDrive() override;
    void ledControl_textChanged(const QString& text) override;
    void SelectMainTab(int id) override;
    void EditGateways() override;
    void EditDNSServers() override;
    void LoadFromFile() override;
    void CancelClick() override;

private slots:
    void DHCPSettingsChange(int id) override;
    void OnChangeUtility(int) override;
    void OnChangeUtilityTarget(const QString& text) override;
    void OnStartUtility() override;
    void OnUtilityProcessExited();
    void OnReadyStderr();
    void OnReadyStdout();
    void OnClearUtilityOutput() override;
    void OnOutputTextChanged() override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    using PFN_ShellExecuteExW = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

    CNetworkCard* CurrentCard();
    void ToggleCardSetting(bool CNetworkCard::*field, bool CNetworkCard::*changed, bool value, bool apply);
    void AppendUtilityOutput(const QString& html);
    void ReadUtilityChannel(bool standardError);
    bool EditAddressList(CIPAddressList (CNetworkCard::*get)() const,
                         void (CNetworkCard::*set)(const CIPAddressList&), CLineEdit* field);

    PFN_ShellExecuteExW m_pShellExecuteEx = nullptr;
    CNetworkCardList m_Adapters;
    QString m_ComputerName;
    QString m_Workgroup;
    QString m_DNSSuffix;
    QMap<QString, QString> codecByCodepage;
    QString consoleCodepage;
    CProcess utilityProcess;
};
