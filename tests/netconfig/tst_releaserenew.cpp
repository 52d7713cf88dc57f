// Releasing and renewing the DHCP lease of the adapter shown.
#include "applytestutil.h"

#include <winsys/hive.h>
#include <winsys/host.h>

using namespace applytest;

class TestReleaseRenew : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void releaseShowsWhatTheSystemReports();
    void renewTakesTheOfferAgain();
    void renewWithoutServerShowsNetworkError();
    void failureKeepsTheViewAndEdits();
    void successDropsUnappliedEdits();
    void adapterNameMatchesInsideInterfaceName();
    void adapterNameMatchIsCaseSensitive();

private:
    Fixture m_Fx;
};

void TestReleaseRenew::init()
{
    QVERIFY(m_Fx.Open(1));
    QCOMPARE(m_Fx.dialog->ledIPAddress->text(), QStringLiteral("10.0.0.23"));
}

void TestReleaseRenew::cleanup()
{
    m_Fx.Close();
}

void TestReleaseRenew::releaseShowsWhatTheSystemReports()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(dlg.btnRelease->isEnabled());
    Click(dlg.btnRelease);

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    QCOMPARE(dlg.CurrentAdapterIndex(), 1);
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(m_Fx.Card(1).m_IPAddress.Value(), 0u);
    auto host = ReadHost();
    QVERIFY(host);
    QCOMPARE(host->Adapters().at(1).m_IPAddress.Value(), 0u);
    // The other adapter is not touched.
    QCOMPARE(host->Adapters().at(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));
}

void TestReleaseRenew::renewTakesTheOfferAgain()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    Click(dlg.btnRelease);
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("0.0.0.0"));
    Click(dlg.btnRenew);
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
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
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    Click(dlg.btnRenew);

    const QString unexpected = SystemText(ERROR_UNEXP_NET_ERR);
    QVERIFY(!unexpected.isEmpty());
    QVERIFY(unexpected != SystemText(ERROR_SEM_TIMEOUT));
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
    QVERIFY(m_Fx.Card(0).m_AddressChanged);

    dlg.ReleaseRenew(CNetConfigImpl::Release);
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{SystemText(ERROR_NOT_SUPPORTED)});
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("192.168.1.77"));
    QCOMPARE(m_Fx.Card(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.77"));
    QVERIFY(m_Fx.Card(0).m_AddressChanged);

    QuarvelMsgBoxHistory().clear();
    dlg.ReleaseRenew(CNetConfigImpl::Renew);
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{SystemText(ERROR_NOT_SUPPORTED)});
    QVERIFY(m_Fx.Card(0).m_AddressChanged);
}

void TestReleaseRenew::successDropsUnappliedEdits()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    Click(dlg.ckbDNSAuto);
    QVERIFY(!m_Fx.Card(1).m_DNSAuto && m_Fx.Card(1).m_DNSChanged);
    QVERIFY(dlg.btnApply->isEnabled());
    Click(dlg.btnRenew);

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    QVERIFY(m_Fx.Card(1).m_DNSAuto);
    QVERIFY(!m_Fx.Card(1).m_DNSChanged);
    QVERIFY(dlg.ckbDNSAuto->isChecked());
    QVERIFY(!dlg.btnApply->isEnabled());
}

void TestReleaseRenew::adapterNameMatchesInsideInterfaceName()
{
    // Interfaces are named "\DEVICE\TCPIP_{GUID}"; a bare GUID still matches.
    QString bare = kWirelessGuid;
    bare.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    m_Fx.Card(1).m_AdapterName = bare;
    m_Fx.dialog->ReleaseRenew(CNetConfigImpl::Release);

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    auto host = ReadHost();
    QVERIFY(host);
    QCOMPARE(host->Adapters().at(1).m_IPAddress.Value(), 0u);
    QCOMPARE(m_Fx.Card(1).m_AdapterName, kWirelessGuid);
}

void TestReleaseRenew::adapterNameMatchIsCaseSensitive()
{
    // No interface matches: nothing is released, nothing reported, and the
    // view is refreshed all the same (the model's name is read anew).
    m_Fx.Card(1).m_AdapterName = kWirelessGuid.toLower();
    QVERIFY(m_Fx.Card(1).m_AdapterName != kWirelessGuid);
    m_Fx.Card(1).m_WINSChanged = true;
    m_Fx.dialog->ReleaseRenew(CNetConfigImpl::Release);

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    auto host = ReadHost();
    QVERIFY(host);
    QCOMPARE(host->Adapters().at(1).m_IPAddress.ToString(), QStringLiteral("10.0.0.23"));
    QCOMPARE(m_Fx.Card(1).m_AdapterName, kWirelessGuid);
    QVERIFY(!m_Fx.Card(1).m_WINSChanged);
}

QTEST_MAIN(TestReleaseRenew)
#include "tst_releaserenew.moc"
