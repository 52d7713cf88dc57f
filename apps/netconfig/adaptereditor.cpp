#include "adaptereditor.h"

#include "netconfig_rules.h"

namespace {

using ListEdit = void (CNetworkCard::*)(const CIPAddress&);

// The field edits the first entry of an address list. Clearing it drops that
// entry; a complete address replaces it, or just drops it when the address is
// already further down (no duplicates).
void EditFirstEntry(CNetworkCard& card, const CIPAddressList& list, ListEdit remove, ListEdit add, const QString& text)
{
    const auto first = [&list]() { return list.isEmpty() ? CIPAddress() : list.first(); };
    if (IsBlankOrZeroAddress(text))
        (card.*remove)(first());
    if (IsStrictAddress(text)) {
        (card.*remove)(first());
        (card.*add)(CIPAddress(text));
    }
}

// Compared as text on purpose: 010.0.0.1 over 10.0.0.1 is a change.
bool TakeOver(CIPAddress& value, const QString& text)
{
    if (text == value.ToString())
        return false;
    value = CIPAddress(text);
    return true;
}

} // namespace

void CAdapterEditor::Reset(const CNetworkCardList& cards, const CIdentity& identity)
{
    m_Cards = cards;
    for (CNetworkCard& card : m_Cards)
        card.ClearChanges();
    m_Remembered = m_Wanted = identity;
    emit changed();
}

void CAdapterEditor::ResetIdentity(const CIdentity& identity)
{
    m_Remembered = m_Wanted = identity;
    emit changed();
}

void CAdapterEditor::EditAddress(int row, CardField field, const QString& text)
{
    if (!IsRow(row))
        return;
    CNetworkCard& card = m_Cards[row];
    switch (field) {
    case CardField::IPAddress:
        card.m_AddressChanged |= TakeOver(card.m_IPAddress, text);
        break;
    case CardField::SubnetMask:
        card.m_AddressChanged |= TakeOver(card.m_SubnetMask, text);
        break;
    case CardField::Gateway:
        EditFirstEntry(card, card.m_Gateways, &CNetworkCard::RemoveGateway, &CNetworkCard::AddGateway, text);
        break;
    case CardField::DNSServer:
        EditFirstEntry(card, card.m_DNSServers, &CNetworkCard::RemoveDNSServer, &CNetworkCard::AddDNSServer, text);
        break;
    case CardField::PrimaryWINS:
        card.m_WINSChanged |= TakeOver(card.m_PrimaryWINS, text);
        break;
    case CardField::SecondaryWINS:
        card.m_WINSChanged |= TakeOver(card.m_SecondaryWINS, text);
        break;
    default:
        return;
    }
    card.SetFieldSource(field, text);
    emit changed();
}

bool CAdapterEditor::ToggleSource(int row, bool CNetworkCard::*field, bool CNetworkCard::*flag, bool value)
{
    if (!IsRow(row) || m_Cards[row].*field == value)
        return false;
    m_Cards[row].*field = value;
    m_Cards[row].*flag = true;
    emit changed();
    return true;
}

void CAdapterEditor::SetDHCPEnabled(int row, bool enabled)
{
    ToggleSource(row, &CNetworkCard::m_DHCPEnabled, &CNetworkCard::m_AddressChanged, enabled);
}

void CAdapterEditor::SetDNSAuto(int row, bool automatic)
{
    ToggleSource(row, &CNetworkCard::m_DNSAuto, &CNetworkCard::m_DNSChanged, automatic);
}

void CAdapterEditor::SetWINSAuto(int row, bool automatic)
{
    ToggleSource(row, &CNetworkCard::m_WINSAuto, &CNetworkCard::m_WINSChanged, automatic);
}

void CAdapterEditor::SetGateways(int row, const CIPAddressList& list)
{
    if (!IsRow(row))
        return;
    m_Cards[row].SetGateways(list);
    m_Cards[row].m_InvalidText.remove(CardField::Gateway);
    emit changed();
}

void CAdapterEditor::SetDNSServers(int row, const CIPAddressList& list)
{
    if (!IsRow(row))
        return;
    m_Cards[row].SetDNSServers(list);
    m_Cards[row].m_InvalidText.remove(CardField::DNSServer);
    emit changed();
}

void CAdapterEditor::ClearChanges(int row)
{
    if (!IsRow(row))
        return;
    m_Cards[row].ClearChanges();
    emit changed();
}

void CAdapterEditor::SetWanted(const CIdentity& identity)
{
    m_Wanted = identity;
    emit changed();
}

void CAdapterEditor::EditIdentity(CardField field, const QString& text)
{
    if (field == CardField::ComputerName)
        m_Wanted.computerName = text;
    else if (field == CardField::Workgroup)
        m_Wanted.workgroup = text;
    else if (field == CardField::DNSSuffix)
        m_Wanted.dnsSuffix = text;
    else
        return;
    emit changed();
}

bool CAdapterEditor::IdentityPending() const
{
    return m_Wanted.computerName != m_Remembered.computerName || m_Wanted.workgroup != m_Remembered.workgroup;
}
