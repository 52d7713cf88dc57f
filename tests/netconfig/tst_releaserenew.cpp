// Releasing and renewing the DHCP lease of the adapter shown.
#include "applytestutil.h"

#include <winsys/hive.h>
#include <winsys/host.h>

using namespace applytest;

#define NO_BOX() QCOMPARE(QuarvelMsgBoxHistory(), QStringList())

class TestReleaseRenew : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_Fx.Open(1));
        QCOMPARE(m_Fx.dialog->ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    }
    void cleanup() { m_Fx.Close(); }

    void releaseThenRenew();
    void renewWithoutServerShowsNetworkError();
    void failureKeepsTheViewAndEdits();
    void successDropsUnappliedEdits();
    void adapterNameMatch_data();
    void adapterNameMatch();

private:
    Fixture m_Fx;
};

void TestReleaseRenew::releaseThenRenew()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(dlg.btnRelease->isEnabled());
    Click(dlg.btnRelease);

    NO_BOX();
    QCOMPARE(dlg.CurrentAdapterIndex(), 1);
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(m_Fx.Card(1).m_IPAddress.Value(), 0u);
    auto host = ReadHost();
    QVERIFY(host);
    QCOMPARE(host->Adapters().at(1).m_IPAddress.Value(), 0u);
    QCOMPARE(host->Adapters().at(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));

    Click(dlg.btnRenew);
    NO_BOX();
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    QCOMPARE(dlg.ledSubNet->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(dlg.ledGateway->text(), QStringLiteral("10.0.0.1"));
}

void TestReleaseRenew::renewWithoutServerShowsNetworkError()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    const std::string offer = std::string(winsys::keys::kDhcpOffers) + "\\" + kWirelessGuid.toStdString();
    QCOMPARE(winsys::ModifyHive([&offer](winsys::Hive& h) -> uint32_t { return h.DeleteKey(offer) ? 0 : 1; }), 0u);
    Click(dlg.btnRelease);
    NO_BOX();
    Click(dlg.btnRenew);

    const QString unexpected = SystemText(ERROR_UNEXP_NET_ERR);
    QVERIFY(!unexpected.isEmpty() && unexpected != SystemText(ERROR_SEM_TIMEOUT));
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{unexpected});
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("0.0.0.0"));
}

void TestReleaseRenew::failureKeepsTheViewAndEdits()
{
    // The static adapter has no lease to release.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    m_Fx.Show(0);
    QVERIFY(!dlg.btnRelease->isEnabled());
    QVERIFY(Type(dlg.ledIPAddress, QStringLiteral("192.168.1.77")));

    for (auto action : {CNetConfigImpl::Release, CNetConfigImpl::Renew}) {
        QuarvelMsgBoxHistory().clear();
        dlg.ReleaseRenew(action);
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{SystemText(ERROR_NOT_SUPPORTED)});
        QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("192.168.1.77"));
        QCOMPARE(m_Fx.Card(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.77"));
        QVERIFY(m_Fx.Card(0).m_AddressChanged);
    }
}

void TestReleaseRenew::successDropsUnappliedEdits()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    Click(dlg.ckbDNSAuto);
    QVERIFY(!m_Fx.Card(1).m_DNSAuto && m_Fx.Card(1).m_DNSChanged);
    QVERIFY(dlg.btnApply->isEnabled());
    Click(dlg.btnRenew);

    NO_BOX();
    QVERIFY(m_Fx.Card(1).m_DNSAuto && !m_Fx.Card(1).m_DNSChanged);
    QVERIFY(dlg.ckbDNSAuto->isChecked());
    QVERIFY(!dlg.btnApply->isEnabled());
}

void TestReleaseRenew::adapterNameMatch_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    // Interfaces are named "\DEVICE\TCPIP_{GUID}"; a bare GUID still matches.
    QTest::newRow("inside the interface name") << QString(kWirelessGuid).remove('{').remove('}') << "0.0.0.0";
    // No match: nothing released or reported, the view is refreshed anyway.
    QTest::newRow("case-sensitive") << kWirelessGuid.toLower() << "10.0.0.23";
}

void TestReleaseRenew::adapterNameMatch()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    m_Fx.Card(1).m_AdapterName = name;
    m_Fx.Card(1).m_WINSChanged = true;
    m_Fx.dialog->ReleaseRenew(CNetConfigImpl::Release);

    NO_BOX();
    auto host = ReadHost();
    QVERIFY(host);
    QCOMPARE(host->Adapters().at(1).m_IPAddress.ToString(), address);
    // The model is read anew.
    QCOMPARE(m_Fx.Card(1).m_AdapterName, kWirelessGuid);
    QVERIFY(!m_Fx.Card(1).m_WINSChanged);
}

QTEST_MAIN(TestReleaseRenew)
#include "tst_releaserenew.moc"
