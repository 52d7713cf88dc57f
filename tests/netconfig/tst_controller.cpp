// The main dialog controller on edited copies of the sample host.
#include "applytestutil.h"
#include "hosthive.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"
#include "settingsfiletest.h"

#include <QtTest>

#include <memory>

using settingstest::Describe;

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
    void f5RereadsHost_data();
    void f5RereadsHost();
    void systemError_data();
    void systemError();
    void rowOutOfRangeChangesNothing_data();
    void rowOutOfRangeChangesNothing();

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
    QTest::newRow("dhcp, static WINS") << kWireless << ""
                                       << "10.0.0.2"
                                       << "1 0 10.0.0.1";
    QTest::newRow("dhcp, static DNS, first only") << kWireless << "10.0.0.7,10.0.0.3"
                                                  << ""
                                                  << "0 1 10.0.0.7";
    // Without DHCP there is no automatic WINS, even with an empty list.
    QTest::newRow("static, nothing static") << kWired << ""
                                            << ""
                                            << "1 0 0.0.0.0";
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
    QCOMPARE(QStringLiteral("%1 %2 %3")
                 .arg(card.m_DNSAuto)
                 .arg(card.m_WINSAuto)
                 .arg(m_Dialog->AdaptersPage()->ledDNSServer->text()),
             shown);
}

// F5 drops every unapplied edit, wherever the caret is: each card equals
// what the host now holds, no flag is left, Apply is off.
void TestController::f5RereadsHost_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    for (const char* field :
         {"ledIPAddress", "ledSubNet", "ledGateway", "ledDNSServer", "ledPrimaryWINS", "ledSecondaryWINS"})
        QTest::newRow(field) << QString::fromLatin1(field) << QStringLiteral("10.9.9.9");
    QTest::newRow("identification") << QStringLiteral("ledHostName") << QStringLiteral("WS77");
}

void TestController::f5RereadsHost()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    applytest::Fixture fx;
    QVERIFY(fx.Open(0));
    CNetConfigImpl& d = *fx.dialog;
    fx.Show(1);
    applytest::Click(d.AdaptersPage()->rbtnManual);
    fx.Show(0);
    auto* edit = d.findChild<QLineEdit*>(field);
    if (field == QLatin1String("ledHostName"))
        d.SelectMainTab(2);
    QVERIFY(applytest::Type(edit, typed));
    QVERIFY(d.btnApply->isEnabled());
    // The host changed behind the dialog's back, in a value of every field.
    HostHive host;
    host.Hive().SetString(host.TcpipKey(0), "NameServer", "10.0.0.5,10.0.0.6");
    host.Hive().SetMultiString(host.TcpipKey(0), "IPAddress", {"192.168.1.6"});
    host.Hive().SetString(host.TcpipKey(1), "DhcpIPAddress", "10.0.0.42");
    QVERIFY(host.WriteTo(*fx.env));

    QTest::keyClick(edit, Qt::Key_F6);
    QVERIFY2(d.Adapters()[0].HasChanges() || field == QLatin1String("ledHostName"), "only F5 refreshes");
    QTest::keyClick(edit, Qt::Key_F5);
    const auto fresh = applytest::ReadHost();
    QVERIFY(fresh);
    QCOMPARE(d.CurrentAdapterIndex(), 0);
    for (int row = 0; row < fresh->Adapters().count(); ++row)
        QCOMPARE(Describe(d.Adapters()[row]), Describe(fresh->Adapters()[row]));
    QCOMPARE(d.AdaptersPage()->ledIPAddress->text() + u' ' + d.AdaptersPage()->ledDNSServer->text() + u' ' +
                 d.IdentityPage()->ledHostName->text(),
             QStringLiteral("192.168.1.6 10.0.0.5 WS01"));
    QVERIFY(!d.btnApply->isEnabled());
    // The shown row stays.
    fx.Show(1);
    QTest::keyClick(d.AdaptersPage()->cbAdapters, Qt::Key_F5);
    QCOMPARE(d.CurrentAdapterIndex(), 1);
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

void TestController::rowOutOfRangeChangesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("checked"); // the development check speaks
    QTest::newRow("one past the end") << 2 << true;
    QTest::newRow("far past the end") << 7 << true;
    QTest::newRow("negative") << -1 << false;
}

// A remembered row whose adapter has gone: the shown adapter stays shown,
// no other one takes its place.
void TestController::rowOutOfRangeChangesNothing()
{
    QFETCH(int, row);
    QFETCH(bool, checked);
    QVERIFY(Read());
    m_Dialog->SelectAdapter(kWireless);
    const QString shown = m_Dialog->AdaptersPage()->ledIPAddress->text();
    if (checked)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^ASSERT: \"Index < \\(int\\)m_Adapters.count\\(\\)\" in ")));
    m_Dialog->SelectAdapter(row);
    QCOMPARE(m_Dialog->CurrentAdapterIndex(), kWireless);
    QCOMPARE(m_Dialog->AdaptersPage()->cbAdapters->currentIndex(), kWireless);
    QCOMPARE(m_Dialog->AdaptersPage()->ledIPAddress->text(), shown);
    QVERIFY(!m_Dialog->btnApply->isEnabled());
}

QTEST_MAIN(TestController)
#include "tst_controller.moc"
