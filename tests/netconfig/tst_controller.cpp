// The main dialog controller on edited copies of the sample host.
#include "hosthive.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"

#include <QtTest>

#include <memory>

namespace {

const int kWired = 0;    // static addresses, static DNS and WINS
const int kWireless = 1; // everything from DHCP

} // namespace

class TestController : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        m_Host = HostHive();
        QVERIFY(m_Env->initSampleHost() && m_Host.IsValid());
        m_Boxes.texts().clear();
    }
    void cleanup() { m_Dialog.reset(), m_Env.reset(); }

    void automaticSources_data();
    void automaticSources();
    void f5RereadsHostKeepsRow();
    void systemError_data();
    void systemError();

private:
    // The edited host, read by a fresh dialog.
    bool Read()
    {
        m_Dialog = std::make_unique<CNetConfigImpl>();
        return m_Host.WriteTo(*m_Env) && m_Dialog->ReadConfiguration() == 0;
    }
    std::unique_ptr<TestEnv> m_Env;
    HostHive m_Host;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
    MsgBoxRecorder m_Boxes;
};

// DNS and WINS count as automatic when the registry holds no static servers.
void TestController::automaticSources_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("nameServer");
    QTest::addColumn<QString>("wins");
    QTest::addColumn<QString>("shown"); // dns auto, wins auto, DNS field
    QTest::newRow("dhcp, static WINS") << kWireless << "" << "10.0.0.2" << "1 0 10.0.0.1";
    QTest::newRow("dhcp, static DNS, first only") << kWireless << "10.0.0.7,10.0.0.3" << "" << "0 1 10.0.0.7";
    // Without DHCP there is no automatic WINS, even with an empty list.
    QTest::newRow("static, nothing static") << kWired << "" << "" << "1 0 0.0.0.0";
}

void TestController::automaticSources()
{
    QFETCH(int, row);
    QFETCH(QString, nameServer);
    QFETCH(QString, wins);
    QFETCH(QString, shown);
    m_Host.Hive().SetString(m_Host.TcpipKey(row), "NameServer", nameServer.toStdString());
    m_Host.Hive().SetMultiString(m_Host.NetBTKey(row), "NameServerList",
                                 wins.isEmpty() ? std::vector<std::string>() : std::vector{wins.toStdString()});
    QVERIFY(Read());
    m_Dialog->SelectAdapter(row);
    const CNetworkCard& card = m_Dialog->Adapters()[row];
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(card.m_DNSAuto).arg(card.m_WINSAuto).arg(m_Dialog->ledDNSServer->text()),
             shown);
}

void TestController::f5RereadsHostKeepsRow()
{
    QVERIFY(Read());
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    d.rbtnManual->click();
    d.ledHostName->setText(QStringLiteral("WS77"));
    QVERIFY(d.btnApply->isEnabled());
    // The host changed behind the dialog's back.
    m_Host.Hive().SetString(m_Host.TcpipKey(kWireless), "DhcpIPAddress", "10.0.0.42");
    QVERIFY(m_Host.WriteTo(*m_Env));

    QTest::keyClick(d.ledHostName, Qt::Key_F6);
    QVERIFY2(d.Adapters()[kWireless].m_AddressChanged, "only F5 refreshes");
    QTest::keyClick(d.ledHostName, Qt::Key_F5);
    QCOMPARE(d.cbAdapters->currentIndex(), kWireless);
    QVERIFY(d.Adapters()[kWireless].m_DHCPEnabled && !d.Adapters()[kWireless].m_AddressChanged);
    QCOMPARE(d.ledIPAddress->text() + u' ' + d.ledHostName->text(), QStringLiteral("10.0.0.42 WS01"));
    QVERIFY(!d.btnApply->isEnabled());
}

void TestController::systemError_data()
{
    QTest::addColumn<qulonglong>("code");
    QTest::addColumn<QStringList>("boxes");
    // The system's text as it is, line break included.
    QTest::newRow("network error") << qulonglong(59) << QStringList{"An unexpected network error occurred.\r\n"};
    QTest::newRow("unknown code, empty box") << qulonglong(0xDEAD) << QStringList{QString()};
    // The provider's own words, not the generic extended-error text.
    QTest::newRow("provider error") << qulonglong(ERROR_EXTENDED_ERROR)
                                    << QStringList{QStringLiteral("The network location cannot be reached.")};
}

void TestController::systemError()
{
    QFETCH(qulonglong, code);
    QFETCH(QStringList, boxes);
    m_Host.Hive().SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"});
    QVERIFY(Read());
    std::u16string remote = u"\\\\fileserver\\home";
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = reinterpret_cast<LPWSTR>(remote.data());
    QCOMPARE(WNetAddConnection2W(&resource, nullptr, nullptr, 0), DWORD(ERROR_EXTENDED_ERROR));
    m_Dialog->ShowSystemError(static_cast<unsigned long>(code));
    QCOMPARE(m_Boxes.texts(), boxes);
}

QTEST_MAIN(TestController)
#include "tst_controller.moc"
