#include "networkcard.h"

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
