#include "networkcard.h"

#include <QtTest>

namespace {

CIPAddress Ip(const char* text)
{
    return CIPAddress(QString::fromLatin1(text));
}

CIPAddressList Ips(std::initializer_list<const char*> texts)
{
    CIPAddressList list;
    for (const char* text : texts)
        list.append(Ip(text));
    return list;
}

// Which flag a list operation is expected to touch.
enum class ListKind { Gateways, DNSServers };

CIPAddressList& ListOf(CNetworkCard& card, ListKind kind)
{
    return kind == ListKind::Gateways ? card.m_Gateways : card.m_DNSServers;
}

bool FlagOf(const CNetworkCard& card, ListKind kind)
{
    return kind == ListKind::Gateways ? card.m_AddressChanged : card.m_DNSChanged;
}

bool OtherFlagsSet(const CNetworkCard& card, ListKind kind)
{
    const bool other = kind == ListKind::Gateways ? card.m_DNSChanged : card.m_AddressChanged;
    return other || card.m_WINSChanged;
}

void Add(CNetworkCard& card, ListKind kind, const CIPAddress& address)
{
    kind == ListKind::Gateways ? card.AddGateway(address) : card.AddDNSServer(address);
}

void Remove(CNetworkCard& card, ListKind kind, const CIPAddress& address)
{
    kind == ListKind::Gateways ? card.RemoveGateway(address) : card.RemoveDNSServer(address);
}

void Set(CNetworkCard& card, ListKind kind, const CIPAddressList& list)
{
    kind == ListKind::Gateways ? card.SetGateways(list) : card.SetDNSServers(list);
}

} // namespace

Q_DECLARE_METATYPE(ListKind)

// The list operations of an adapter record and the change flag each one sets.
class TestNetworkCard : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void add_data();
    void add();
    void remove_data();
    void remove();
    void setList_data();
    void setList();
    void copiesAreIndependent();
    void gettersReturnCopies();

private:
    void addKinds();
};

void TestNetworkCard::defaults()
{
    const CNetworkCard card;
    QVERIFY(card.m_AdapterName.isEmpty());
    QVERIFY(card.m_Description.isEmpty());
    QCOMPARE(card.m_Index, quint32(0));
    QCOMPARE(card.m_IPAddress.Value(), quint32(0));
    QCOMPARE(card.m_SubnetMask.Value(), quint32(0));
    QCOMPARE(card.m_PrimaryWINS.Value(), quint32(0));
    QCOMPARE(card.m_SecondaryWINS.Value(), quint32(0));
    QVERIFY(card.m_Gateways.isEmpty());
    QVERIFY(card.m_DNSServers.isEmpty());
    QVERIFY(!card.m_DHCPEnabled && !card.m_WINSAuto && !card.m_DNSAuto);
    QVERIFY(!card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);
}

void TestNetworkCard::addKinds()
{
    QTest::addColumn<ListKind>("kind");
}

void TestNetworkCard::add_data()
{
    addKinds();
    QTest::addColumn<CIPAddressList>("before");
    QTest::addColumn<QString>("address");
    QTest::addColumn<CIPAddressList>("after");
    QTest::addColumn<bool>("flag");

    for (ListKind kind : {ListKind::Gateways, ListKind::DNSServers}) {
        const char* k = kind == ListKind::Gateways ? "gateway" : "dns";
        QTest::addRow("%s: new goes in front", k)
            << kind << Ips({"10.0.0.1", "10.0.0.2"}) << "10.0.0.9" << Ips({"10.0.0.9", "10.0.0.1", "10.0.0.2"})
            << true;
        QTest::addRow("%s: into empty list", k) << kind << CIPAddressList() << "10.0.0.9" << Ips({"10.0.0.9"})
                                                << true;
        QTest::addRow("%s: present at the end", k)
            << kind << Ips({"10.0.0.1", "10.0.0.2"}) << "10.0.0.2" << Ips({"10.0.0.1", "10.0.0.2"}) << false;
        QTest::addRow("%s: present in front", k)
            << kind << Ips({"10.0.0.1", "10.0.0.2"}) << "10.0.0.1" << Ips({"10.0.0.1", "10.0.0.2"}) << false;
    }
}

void TestNetworkCard::add()
{
    QFETCH(ListKind, kind);
    QFETCH(CIPAddressList, before);
    QFETCH(QString, address);
    QFETCH(CIPAddressList, after);
    QFETCH(bool, flag);

    CNetworkCard card;
    ListOf(card, kind) = before;
    Add(card, kind, CIPAddress(address));
    QCOMPARE(ListOf(card, kind), after);
    QCOMPARE(FlagOf(card, kind), flag);
    QVERIFY(!OtherFlagsSet(card, kind));
}

void TestNetworkCard::remove_data()
{
    addKinds();
    QTest::addColumn<CIPAddressList>("before");
    QTest::addColumn<QString>("address");
    QTest::addColumn<CIPAddressList>("after");

    for (ListKind kind : {ListKind::Gateways, ListKind::DNSServers}) {
        const char* k = kind == ListKind::Gateways ? "gateway" : "dns";
        QTest::addRow("%s: every copy goes", k)
            << kind << Ips({"10.0.0.1", "10.0.0.2", "10.0.0.1"}) << "10.0.0.1" << Ips({"10.0.0.2"});
        QTest::addRow("%s: absent", k) << kind << Ips({"10.0.0.1"}) << "10.0.0.7" << Ips({"10.0.0.1"});
        QTest::addRow("%s: last one", k) << kind << Ips({"10.0.0.1"}) << "10.0.0.1" << CIPAddressList();
    }
}

void TestNetworkCard::remove()
{
    QFETCH(ListKind, kind);
    QFETCH(CIPAddressList, before);
    QFETCH(QString, address);
    QFETCH(CIPAddressList, after);

    CNetworkCard card;
    ListOf(card, kind) = before;
    Remove(card, kind, CIPAddress(address));
    QCOMPARE(ListOf(card, kind), after);
    // Removing always counts as a change, even when nothing was there.
    QVERIFY(FlagOf(card, kind));
    QVERIFY(!OtherFlagsSet(card, kind));
}

void TestNetworkCard::setList_data()
{
    addKinds();
    QTest::addColumn<CIPAddressList>("before");
    QTest::addColumn<CIPAddressList>("list");

    for (ListKind kind : {ListKind::Gateways, ListKind::DNSServers}) {
        const char* k = kind == ListKind::Gateways ? "gateway" : "dns";
        QTest::addRow("%s: equal list", k) << kind << Ips({"10.0.0.1", "10.0.0.2"}) << Ips({"10.0.0.1", "10.0.0.2"});
        QTest::addRow("%s: other list", k) << kind << Ips({"10.0.0.1"}) << Ips({"10.0.0.3", "10.0.0.1"});
        QTest::addRow("%s: emptied", k) << kind << Ips({"10.0.0.1"}) << CIPAddressList();
    }
}

void TestNetworkCard::setList()
{
    QFETCH(ListKind, kind);
    QFETCH(CIPAddressList, before);
    QFETCH(CIPAddressList, list);

    CNetworkCard card;
    ListOf(card, kind) = before;
    Set(card, kind, list);
    QCOMPARE(ListOf(card, kind), list);
    QVERIFY(FlagOf(card, kind));
    QVERIFY(!OtherFlagsSet(card, kind));
}

void TestNetworkCard::copiesAreIndependent()
{
    CNetworkCard first;
    first.m_AdapterName = QStringLiteral("{A}");
    first.m_Gateways = Ips({"10.0.0.1"});
    first.m_DNSServers = Ips({"10.0.0.53"});
    first.m_DHCPEnabled = true;

    CNetworkCard second = first;
    QCOMPARE(second.m_AdapterName, first.m_AdapterName);
    QVERIFY(second.m_DHCPEnabled);
    second.AddGateway(Ip("10.0.0.2"));
    second.RemoveDNSServer(Ip("10.0.0.53"));
    second.m_DHCPEnabled = false;

    QCOMPARE(first.m_Gateways, Ips({"10.0.0.1"}));
    QCOMPARE(first.m_DNSServers, Ips({"10.0.0.53"}));
    QVERIFY(first.m_DHCPEnabled);
    QVERIFY(!first.m_AddressChanged && !first.m_DNSChanged);

    // The same holds for cards held in a list, as the dialog holds them.
    CNetworkCardList cards{first};
    CNetworkCardList copy = cards;
    copy[0].SetGateways(CIPAddressList());
    QCOMPARE(cards[0].m_Gateways, Ips({"10.0.0.1"}));
    QVERIFY(!cards[0].m_AddressChanged);
}

void TestNetworkCard::gettersReturnCopies()
{
    CNetworkCard card;
    card.m_AdapterName = QStringLiteral("{GUID}");
    card.m_Gateways = Ips({"10.0.0.1"});
    card.m_DNSServers = Ips({"10.0.0.53"});

    CIPAddressList gateways = card.GetGateways();
    gateways.append(Ip("10.0.0.2"));
    CIPAddressList servers = card.GetDNSServers();
    servers.clear();
    QString name = card.GetAdapterName();
    name.clear();

    QCOMPARE(card.m_Gateways, Ips({"10.0.0.1"}));
    QCOMPARE(card.m_DNSServers, Ips({"10.0.0.53"}));
    QCOMPARE(card.GetAdapterName(), QStringLiteral("{GUID}"));
    QVERIFY(!card.m_AddressChanged && !card.m_DNSChanged);
}

QTEST_APPLESS_MAIN(TestNetworkCard)
#include "tst_networkcard.moc"
