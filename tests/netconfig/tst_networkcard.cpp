#include "networkcard.h"

#include <QtTest>

namespace {

CIPAddressList Ips(std::initializer_list<const char*> texts)
{
    CIPAddressList list;
    for (const char* text : texts)
        list.append(CIPAddress(QString::fromLatin1(text)));
    return list;
}

enum class Op { Add, Remove, Set };

} // namespace

Q_DECLARE_METATYPE(Op)

// The list operations of an adapter record and the change flag each one sets.
class TestNetworkCard : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void listOps_data();
    void listOps();
};

void TestNetworkCard::defaults()
{
    const CNetworkCard card;
    QVERIFY(card.m_AdapterName.isEmpty() && card.m_Description.isEmpty());
    QCOMPARE(card.m_Index, quint32(0));
    for (const CIPAddress& a : {card.m_IPAddress, card.m_SubnetMask, card.m_PrimaryWINS, card.m_SecondaryWINS})
        QCOMPARE(a.Value(), quint32(0));
    QVERIFY(card.m_Gateways.isEmpty() && card.m_DNSServers.isEmpty());
    QVERIFY(!card.m_DHCPEnabled && !card.m_WINSAuto && !card.m_DNSAuto);
    QVERIFY(!card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);
}

void TestNetworkCard::listOps_data()
{
    QTest::addColumn<bool>("gateways");
    QTest::addColumn<Op>("op");
    QTest::addColumn<CIPAddressList>("before");
    QTest::addColumn<CIPAddressList>("arg"); // one address for Add/Remove
    QTest::addColumn<CIPAddressList>("after");
    QTest::addColumn<bool>("flag");

    for (bool gw : {true, false}) {
        const char* k = gw ? "gateway" : "dns";
        const CIPAddressList two = Ips({"10.0.0.1", "10.0.0.2"});
        QTest::addRow("%s: add new goes in front", k)
            << gw << Op::Add << two << Ips({"10.0.0.9"}) << Ips({"10.0.0.9", "10.0.0.1", "10.0.0.2"}) << true;
        QTest::addRow("%s: add into empty", k) << gw << Op::Add << CIPAddressList() << Ips({"10.0.0.9"})
                                               << Ips({"10.0.0.9"}) << true;
        QTest::addRow("%s: add present at end", k) << gw << Op::Add << two << Ips({"10.0.0.2"}) << two << false;
        QTest::addRow("%s: add present in front", k) << gw << Op::Add << two << Ips({"10.0.0.1"}) << two << false;
        QTest::addRow("%s: remove every copy", k) << gw << Op::Remove << Ips({"10.0.0.1", "10.0.0.2", "10.0.0.1"})
                                                  << Ips({"10.0.0.1"}) << Ips({"10.0.0.2"}) << true;
        // Removing always counts as a change, even when nothing was there.
        QTest::addRow("%s: remove absent", k) << gw << Op::Remove << Ips({"10.0.0.1"}) << Ips({"10.0.0.7"})
                                              << Ips({"10.0.0.1"}) << true;
        QTest::addRow("%s: remove last", k) << gw << Op::Remove << Ips({"10.0.0.1"}) << Ips({"10.0.0.1"})
                                            << CIPAddressList() << true;
        QTest::addRow("%s: set equal list", k) << gw << Op::Set << two << two << two << true;
        QTest::addRow("%s: set other list", k) << gw << Op::Set << Ips({"10.0.0.1"})
                                               << Ips({"10.0.0.3", "10.0.0.1"}) << Ips({"10.0.0.3", "10.0.0.1"})
                                               << true;
        QTest::addRow("%s: set empty", k) << gw << Op::Set << Ips({"10.0.0.1"}) << CIPAddressList()
                                          << CIPAddressList() << true;
    }
}

void TestNetworkCard::listOps()
{
    QFETCH(bool, gateways);
    QFETCH(Op, op);
    QFETCH(CIPAddressList, before);
    QFETCH(CIPAddressList, arg);
    QFETCH(CIPAddressList, after);
    QFETCH(bool, flag);

    CNetworkCard card;
    CIPAddressList& list = gateways ? card.m_Gateways : card.m_DNSServers;
    list = before;
    if (op == Op::Add)
        gateways ? card.AddGateway(arg.first()) : card.AddDNSServer(arg.first());
    else if (op == Op::Remove)
        gateways ? card.RemoveGateway(arg.first()) : card.RemoveDNSServer(arg.first());
    else
        gateways ? card.SetGateways(arg) : card.SetDNSServers(arg);
    QCOMPARE(list, after);
    QCOMPARE(gateways ? card.m_AddressChanged : card.m_DNSChanged, flag);
    QVERIFY(!(gateways ? card.m_DNSChanged : card.m_AddressChanged) && !card.m_WINSChanged);
}

QTEST_APPLESS_MAIN(TestNetworkCard)
#include "tst_networkcard.moc"
