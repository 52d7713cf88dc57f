// The "Advanced..." buttons: edit the shown adapter's gateway or DNS server
// list in the address list dialog.
#include "netconfigimpl.h"

#include "addrlistimpl.h"
#include "ptr_t.h"

void CNetConfigImpl::EditGateways()
{
    EditAddressList(&CNetworkCard::GetGateways, &CNetworkCard::SetGateways, ledGateway);
}

void CNetConfigImpl::EditDNSServers()
{
    EditAddressList(&CNetworkCard::GetDNSServers, &CNetworkCard::SetDNSServers, ledDNSServer);
}

// The dialog edits a copy; only OK stores it (the setter marks the card
// changed even for an unchanged list) and refreshes the page's one field.
bool CNetConfigImpl::EditAddressList(CIPAddressList (CNetworkCard::*get)() const,
                                     void (CNetworkCard::*set)(const CIPAddressList&), CLineEdit* field)
{
    CNetworkCard* card = CurrentCard();
    if (card == nullptr)
        return false;
    ptr_t<CNetAddrListImpl> dialog(new CNetAddrListImpl(nullptr, "NetAddrList", false));
    dialog->SetList((card->*get)());
    if (dialog->exec() != QDialog::Accepted)
        return false;

    card = CurrentCard();
    if (card == nullptr)
        return false;
    (card->*set)(dialog->GetList());
    const CIPAddressList list = (card->*get)();
    field->setText(list.isEmpty() ? CIPAddress(0).ToString() : list.first().ToString());
    UpdateControlStates();
    return true;
}
