#pragma once

#include <QDialog>

#include "ui_netconfig.h"

// Form of the main dialog: the tab bar, the page stack with one widget per
// page (each from its own .ui, promoted in netconfig.ui) and the bottom
// buttons. This class wires the pages' widgets to the slots that
// CNetConfigImpl overrides. Its own slot bodies only warn, and five slots
// are pure, so only the controller is ever instantiated.
class CNetConfig : public QDialog, public Ui::CNetConfig
{
    Q_OBJECT

public:
    explicit CNetConfig(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags fl = {});
    ~CNetConfig() override;

public slots:
    virtual void SelectAdapter(int);
    virtual void DHCPEnable(int);
    virtual void DHCPDisable(int);
    virtual void HaveWINS(int);
    virtual void DNSAuto(int);
    virtual void SaveToFile();
    virtual void ApplyClick();
    virtual void OKClick();
    virtual void MapNetDrive();
    virtual void btnRenew_clicked();
    virtual void btnRelease_clicked();
    virtual void btnRenewRelease_clicked();
    virtual void SelectNetTab(int);
    virtual void DisconnectDrive();
    virtual void ledControl_textChanged(const QString&);
    virtual void SelectMainTab(int);
    virtual void EditGateways();
    virtual void EditDNSServers();
    virtual void LoadFromFile();
    virtual void CancelClick();
    virtual void OnChangeUtility(int) = 0;
    virtual void OnChangeUtilityTarget(const QString&) = 0;
    virtual void OnStartUtility() = 0;
    virtual void OnOutputTextChanged() = 0;
    virtual void OnClearUtilityOutput() = 0;
    virtual void DHCPSettingsChange(int);

protected slots:
    virtual void languageChange();

private:
    void ConnectSignals();
    void ConnectAdapterSignals(CAdaptersPage* adapters);
    void ConnectUtilitySignals(CUtilitiesPage* utilities);
};
