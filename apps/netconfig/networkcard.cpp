#include "networkcard.h"

#include "netconfig_rules.h"

namespace {

bool AddToFront(CIPAddressList& list, const CIPAddress& address)
{
    if (list.contains(address))
        return false;
    list.prepend(address);
    return true;
}

} // namespace

void CNetworkCard::SetGateways(const CIPAddressList& list)
{
    m_Gateways = list;
    m_AddressChanged = true;
}

void CNetworkCard::SetDNSServers(const CIPAddressList& list)
{
    m_DNSServers = list;
    m_DNSChanged = true;
}

void CNetworkCard::AddGateway(const CIPAddress& address)
{
    if (AddToFront(m_Gateways, address))
        m_AddressChanged = true;
}

void CNetworkCard::RemoveGateway(const CIPAddress& address)
{
    m_Gateways.removeAll(address);
    m_AddressChanged = true;
}

void CNetworkCard::AddDNSServer(const CIPAddress& address)
{
    if (AddToFront(m_DNSServers, address))
        m_DNSChanged = true;
}

void CNetworkCard::RemoveDNSServer(const CIPAddress& address)
{
    m_DNSServers.removeAll(address);
    m_DNSChanged = true;
}

void CNetworkCard::ClearChanges()
{
    m_AddressChanged = m_DNSChanged = m_WINSChanged = false;
    m_InvalidText.clear();
}

QString CNetworkCard::FieldText(CardField field) const
{
    const auto invalid = m_InvalidText.constFind(field);
    if (invalid != m_InvalidText.constEnd())
        return *invalid;
    const auto first = [](const CIPAddressList& list) { return list.isEmpty() ? CIPAddress() : list.first(); };
    switch (field) {
    case CardField::IPAddress:
        return m_IPAddress.ToString();
    case CardField::SubnetMask:
        return m_SubnetMask.ToString();
    case CardField::SecondaryAddresses:
        return m_SecondaryAddresses.isEmpty() ? CIPAddress().ToString()
                                              : m_SecondaryAddresses.first().address.ToString();
    case CardField::Gateway:
        return first(m_Gateways).ToString();
    case CardField::DNSServer:
        return first(m_DNSServers).ToString();
    case CardField::PrimaryWINS:
        return m_PrimaryWINS.ToString();
    case CardField::SecondaryWINS:
        return m_SecondaryWINS.ToString();
    default:
        return QString();
    }
}

void CNetworkCard::SetFieldSource(CardField field, const QString& text)
{
    if (IsStrictAddress(text))
        m_InvalidText.remove(field);
    else
        m_InvalidText.insert(field, text);
}
