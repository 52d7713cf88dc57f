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
    void reading_data();
    void reading();
    void failedReadKeepsTheModel_data();
    void failedReadKeepsTheModel();
    void pendingIdentity();
    void buttons();
    void nameValidator_data();
    void nameValidator();

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

// The wired adapter as read: first address and mask on the page, the rest
// alongside; every gateway of the chain; NameServer up to 1,023 bytes.
void TestController::reading_data()
{
    QTest::addColumn<QStringList>("addresses"); // ip/mask
    QTest::addColumn<QStringList>("gateways");
    QTest::addColumn<int>("nameServerBytes");
    QTest::addColumn<QString>("read"); // ip mask [further] [gateways] dnsAuto
    QTest::newRow("further addresses") << QStringList{"192.168.1.5/255.255.255.0", "10.0.0.5/255.0.0.0"}
                                       << QStringList{"192.168.1.1"} << 10
                                       << "192.168.1.5 255.255.255.0 [10.0.0.5/255.0.0.0] [192.168.1.1] 0";
    QTest::newRow("0.0.0.0 among them") << QStringList{"192.168.1.5/255.255.255.0", "0.0.0.0/0.0.0.0",
                                                       "10.0.0.5/255.0.0.0"}
                                        << QStringList{"192.168.1.1"} << 10
                                        << "192.168.1.5 255.255.255.0 [10.0.0.5/255.0.0.0] [192.168.1.1] 0";
    QTest::newRow("gateway chain") << QStringList{"192.168.1.5/255.255.255.0"}
                                   << QStringList{"192.168.1.1", "192.168.1.254", "192.168.1.253"} << 10
                                   << "192.168.1.5 255.255.255.0 [] [192.168.1.1,192.168.1.254,192.168.1.253] 0";
    QTest::newRow("no gateway reads 0.0.0.0") << QStringList{"192.168.1.5/255.255.255.0"} << QStringList() << 10
                                              << "192.168.1.5 255.255.255.0 [] [0.0.0.0] 0";
    QTest::newRow("1,023 bytes fit") << QStringList{"192.168.1.5/255.255.255.0"} << QStringList{"192.168.1.1"} << 1023
                                     << "192.168.1.5 255.255.255.0 [] [192.168.1.1] 0";
    QTest::newRow("1,024 bytes read as empty") << QStringList{"192.168.1.5/255.255.255.0"} << QStringList{"192.168.1.1"}
                                               << 1024 << "192.168.1.5 255.255.255.0 [] [192.168.1.1] 1";
}

void TestController::reading()
{
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, gateways);
    QFETCH(int, nameServerBytes);
    QFETCH(QString, read);
    std::vector<std::string> ips, masks, gws;
    for (const QString& address : addresses) {
        ips.push_back(address.section(u'/', 0, 0).toStdString());
        masks.push_back(address.section(u'/', 1).toStdString());
    }
    for (const QString& gateway : gateways)
        gws.push_back(gateway.toStdString());
    winsys::Hive& hive = m_Host.Hive();
    hive.SetMultiString(m_Host.TcpipKey(kWired), "IPAddress", ips);
    hive.SetMultiString(m_Host.TcpipKey(kWired), "SubnetMask", masks);
    hive.SetMultiString(m_Host.TcpipKey(kWired), "DefaultGateway", gws);
    hive.SetString(m_Host.TcpipKey(kWired), "NameServer", std::string("10.0.0.1").append(nameServerBytes - 8, ' '));
    QVERIFY(Read());
    const CNetworkCard& card = m_Dialog->Adapters()[kWired];
    QStringList further;
    for (const CAddressWithMask& more : card.m_SecondaryAddresses)
        further << more.address.ToString() + u'/' + more.mask.ToString();
    QCOMPARE(QStringLiteral("%1 %2 [%3] [%4] %5")
                 .arg(card.m_IPAddress.ToString(), card.m_SubnetMask.ToString(), further.join(u','),
                      settingstest::Join(card.m_Gateways))
                 .arg(card.m_DNSAuto),
             read);
}

// A failed query is returned; the edited model stays unless the adapters
// were read; a read that finds no adapter keeps the old ones.
void TestController::failedReadKeepsTheModel_data()
{
    QTest::addColumn<QString>("broken");
    QTest::addColumn<qulonglong>("code"); // 1: any error
    QTest::addColumn<QString>("ip");
    QTest::newRow("adapters query") << "hive" << 1ull << "192.168.1.9";
    QTest::newRow("drive listing") << "drives" << qulonglong(ERROR_INVALID_DATA) << "192.168.1.5";
    QTest::newRow("no adapter") << "adapters" << 0ull << "192.168.1.9";
}

void TestController::failedReadKeepsTheModel()
{
    QFETCH(QString, broken);
    QFETCH(qulonglong, code);
    QVERIFY(Read());
    m_Dialog->Editor().EditAddress(kWired, CardField::IPAddress, QStringLiteral("192.168.1.9"));
    // A connection without its remote name is data the drive listing refuses.
    if (broken == QLatin1String("drives"))
        m_Host.Hive().SetString(std::string(winsys::keys::kConnections) + "\\9", "LocalName", "Q:");
    else
        m_Host.RemoveAdapters();
    QVERIFY(broken == QLatin1String("hive") ? m_Env->writeHive(QStringLiteral("junk")) : m_Host.WriteTo(*m_Env));
    const unsigned long result = m_Dialog->ReadConfiguration();
    QCOMPARE(code == 1 ? qulonglong(result != 0) : qulonglong(result), code);
    QCOMPARE(m_Dialog->Adapters().count(), 2);
    QTEST(m_Dialog->Adapters()[kWired].m_IPAddress.ToString(), "ip");
}

// The name waiting for a restart and the suffix that will apply are shown.
void TestController::pendingIdentity()
{
    m_Host.Hive().SetString(winsys::keys::kComputerName, "ComputerName", "WS02");
    m_Host.Hive().SetString(winsys::keys::kTcpipParameters, "NV Domain", "next.example");
    QVERIFY(Read());
    QCOMPARE(m_Dialog->ComputerName() + u' ' + m_Dialog->DNSSuffix(), QStringLiteral("WS02 next.example"));
}

// The fields follow the card's sources; Apply follows the card shown; Enter means Start on the utilities page
// only; Cancel closes without applying.
void TestController::buttons()
{
    QVERIFY(Read());
    CNetConfigImpl& d = *m_Dialog;
    CAdaptersPage& page = *d.AdaptersPage();
    const auto enabled = [&page] {
        QString states;
        for (QWidget* w : std::initializer_list<QWidget*>{page.ledIPAddress, page.btnRenew, page.ledDNSServer,
                                                          page.ledSecondaryWINS})
            states += w->isEnabled() ? u'1' : u'0';
        return states;
    };
    d.SelectAdapter(kWired);
    QCOMPARE(enabled() + u' ' + page.ledSecondaryWINS->text(), QStringLiteral("1011 0.0.0.0"));
    d.Editor().EditAddress(kWireless, CardField::PrimaryWINS, QStringLiteral("10.0.0.9"));
    QVERIFY(!d.btnApply->isEnabled());
    d.SelectAdapter(kWireless);
    QVERIFY(d.btnApply->isEnabled());
    QCOMPARE(enabled(), QStringLiteral("0100"));
    d.Editor().SetDNSAuto(kWireless, false);
    QCOMPARE(enabled(), QStringLiteral("0110"));
    QPushButton* start = d.UtilitiesPage()->btnStartUtility;
    for (int tab : {3, 2, 0}) {
        d.SelectMainTab(tab);
        QCOMPARE(QStringLiteral("%1 %2").arg(d.buttonOk->isDefault()).arg(start->isDefault()),
                 tab == 3 ? QStringLiteral("0 1") : QStringLiteral("1 0"));
    }
    const QString before = m_Env->readHive();
    d.show();
    d.buttonCancel->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(m_Env->readHive(), before);
}

void TestController::nameValidator_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("state");
    QTest::newRow("plain") << "WS-01.corp" << int(QValidator::Acceptable);
    QTest::newRow("empty") << "" << int(QValidator::Intermediate);
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << int(QValidator::Invalid);
}

void TestController::nameValidator()
{
    QFETCH(QString, name);
    CNetConfigImpl dialog;
    for (QLineEdit* field : {dialog.IdentityPage()->ledHostName, dialog.IdentityPage()->ledDomain}) {
        int position = 0;
        QTEST(int(field->validator()->validate(name, position)), "state");
    }
}

QTEST_MAIN(TestController)
#include "tst_controller.moc"
