#pragma once

#include "ipaddress.h"
#include "netaddrlist.h"

// Edits a private copy of one address list (gateways or DNS servers); the
// caller takes the copy back with GetList() only after OK.
class CNetAddrListImpl : public CNetAddrList
{
    Q_OBJECT

public:
    explicit CNetAddrListImpl(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                              Qt::WindowFlags fl = {});

    void SetList(const CIPAddressList& ipList);
    CIPAddressList GetList() const { return m_List; }
    bool ValidateAddress();

public slots:
    void OKClick() override;
    void btnDel_clicked() override;
    void btnAdd_clicked() override;
    void textChanged(const QString& text) override;

private slots:
    void UpdateCtrlState() override;
    void AddTypedAddressOnEnter();

private:
    void OpenWideEnoughForColumns();

    CIPAddressList m_List;
};
