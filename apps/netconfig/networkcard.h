#pragma once

#include "ipaddress.h"

#include <QMap>

// The fields a user edits on the adapter and identification pages; a
// validation problem names one of them.
enum class CardField {
    None,
    IPAddress,
    SubnetMask,
    SecondaryAddresses,
    Gateway,
    DNSServer,
    PrimaryWINS,
    SecondaryWINS,
    ComputerName,
    Workgroup,
    DNSSuffix
};

// One further IP address of an adapter with its subnet mask.
struct CAddressWithMask
{
    CIPAddress address;
    CIPAddress mask;

    bool operator==(const CAddressWithMask& other) const { return address == other.address && mask == other.mask; }
    bool operator!=(const CAddressWithMask& other) const { return !(*this == other); }
};

using CAddressWithMaskList = QList<CAddressWithMask>;

// The TCP/IP settings of one adapter plus the flags that say which groups
// of settings the user changed since they were read.
class CNetworkCard
{
public:
    QString GetAdapterName() const { return m_AdapterName; }
    CIPAddressList GetGateways() const { return m_Gateways; }
    CIPAddressList GetDNSServers() const { return m_DNSServers; }

    // Replacing a list marks it changed even when it is equal to the old one.
    void SetGateways(const CIPAddressList& list);
    void SetDNSServers(const CIPAddressList& list);
    // Add puts a new address in front (it becomes the shown one) and leaves
    // list and flag alone when it is already there; Remove drops every equal
    // entry and always marks the list changed.
    void AddGateway(const CIPAddress& address);
    void RemoveGateway(const CIPAddress& address);
    void AddDNSServer(const CIPAddress& address);
    void RemoveDNSServer(const CIPAddress& address);

    bool HasChanges() const { return m_AddressChanged || m_DNSChanged || m_WINSChanged; }
    void ClearChanges();

    // What an address field shows: the text it was given when that text is
    // not a valid address (validation must see 300.1.1.1, not the number it
    // converts to), otherwise the value.
    QString FieldText(CardField field) const;
    // Keeps text as the field's source when it is not a valid address, and
    // forgets an earlier one when it is.
    void SetFieldSource(CardField field, const QString& text);

    QString m_AdapterName;
    QString m_Description;
    quint32 m_Index = 0;
    CIPAddress m_IPAddress;
    CIPAddress m_SubnetMask;
    // The adapter's further addresses: the page shows the first one only,
    // yet an apply must not lose the others.
    CAddressWithMaskList m_SecondaryAddresses;
    CIPAddressList m_Gateways;
    CIPAddressList m_DNSServers;
    CIPAddress m_PrimaryWINS;
    CIPAddress m_SecondaryWINS;
    bool m_DHCPEnabled = false;
    bool m_WINSAuto = false;
    bool m_DNSAuto = false;
    bool m_AddressChanged = false;
    bool m_DNSChanged = false;
    bool m_WINSChanged = false;
    QMap<CardField, QString> m_InvalidText;
};

using CNetworkCardList = QList<CNetworkCard>;
