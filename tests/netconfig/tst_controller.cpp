// The main dialog controller on edited copies of the sample host; the network drives page: listing, mapping and
// disconnecting on the host.
#include "../baselib/mapdrivedriver.h"
#include "applytestutil.h"
#include "hosthive.h"
#include "settingsfiletest.h"

#include <memory>

using namespace applytest;

namespace {

const int kWired = 0;    // static addresses, static DNS and WINS
const int kWireless = 1; // everything from DHCP

std::vector<std::string> Strings(const QString& commaSeparated)
{
    std::vector<std::string> strings;
    for (const QString& part : commaSeparated.split(u',', Qt::SkipEmptyParts))
        strings.push_back(part.toStdString());
    return strings;
}

// "letter path" per row of the drives page, rows joined by "|".
QString Listed(const CNetConfigImpl& dialog)
{
    QStringList rows;
    for (int i = 0; i < dialog.DrivesPage()->chlShareList->topLevelItemCount(); ++i)
        rows << dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(0) + u' ' +
                    dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(1);
    return rows.join(u'|');
}

// The connections as the next start of the program lists them.
QString HostConnections()
{
    CNetConfigImpl fresh;
    return fresh.ReadConfiguration() == 0 ? Listed(fresh) : QStringLiteral("unreadable host");
}

bool Remembered(const char* letter)
{
    bool found = false;
    winsys::ReadHive([&](const winsys::Hive& hive) {
        found = hive.HasKey(std::string(winsys::keys::kUserNetwork) + "\\" + letter);
        return 0u;
    });
    return found;
}

const QString kPublic = QStringLiteral("Z: \\\\fileserver\\public"), kScans = QStringLiteral(" \\\\fileserver\\scans");

} // namespace

class TestController : public QObject
{
    Q_OBJECT

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

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        m_Host = HostHive();
        QVERIFY(m_Env->initSampleHost() && m_Host.IsValid());
        m_Boxes.texts().clear();
    }
    void cleanup() { m_Dialog.reset(), m_Env.reset(); }

    // DNS and WINS count as automatic when the registry holds no static servers. Shown: dns auto, wins auto, the
    // DNS field.
    void automaticSources_data()
    {
        // Without DHCP there is no automatic WINS, even with an empty list.
        Rows({"1 ~ 10.0.0.2 = 1 0 10.0.0.1", "1 10.0.0.7,10.0.0.3 ~ = 0 1 10.0.0.7", "0 ~ ~ = 1 0 0.0.0.0"});
    }
    void automaticSources()
    {
        const int row = Input()[0].toInt();
        m_Host.Hive().SetString(m_Host.TcpipKey(row), "NameServer", Input()[1].toStdString());
        m_Host.Hive().SetMultiString(m_Host.NetBTKey(row), "NameServerList", Strings(Input()[2]));
        QVERIFY(Read());
        m_Dialog->SelectAdapter(row);
        const CNetworkCard& card = m_Dialog->Adapters()[row];
        QCOMPARE(QStringLiteral("%1 %2 ").arg(card.m_DNSAuto).arg(card.m_WINSAuto) +
                     m_Dialog->AdaptersPage()->ledDNSServer->text(),
                 Expected());
    }

    // F5 drops every unapplied edit, wherever the caret is: each card equals what the host now holds, no flag
    // is left, Apply is off, the shown row stays.
    void f5RereadsHost_data()
    {
        Rows({"ledIPAddress 10.9.9.9", "ledDNSServer 10.9.9.9", "ledSecondaryWINS 10.9.9.9", "ledHostName WS77"});
    }
    void f5RereadsHost()
    {
        const QString field = Row()[0];
        Fixture fx;
        QVERIFY(fx.Open(0));
        CNetConfigImpl& d = *fx.dialog;
        fx.Show(1);
        Click(d.AdaptersPage()->rbtnManual);
        fx.Show(0);
        auto* edit = d.findChild<QLineEdit*>(field);
        if (field == QLatin1String("ledHostName"))
            d.SelectMainTab(2);
        QVERIFY(Type(edit, Row()[1]));
        QVERIFY(d.btnApply->isEnabled());
        // The host changed behind the dialog's back.
        HostHive host;
        host.Hive().SetString(host.TcpipKey(0), "NameServer", "10.0.0.5,10.0.0.6");
        host.Hive().SetMultiString(host.TcpipKey(0), "IPAddress", {"192.168.1.6"});
        host.Hive().SetString(host.TcpipKey(1), "DhcpIPAddress", "10.0.0.42");
        QVERIFY(host.WriteTo(*fx.env));

        QTest::keyClick(edit, Qt::Key_F6);
        QVERIFY2(d.Adapters()[0].HasChanges() || field == QLatin1String("ledHostName"), "only F5 refreshes");
        QTest::keyClick(edit, Qt::Key_F5);
        const auto fresh = ReadHost();
        QVERIFY(fresh);
        QCOMPARE(d.CurrentAdapterIndex(), 0);
        for (int row = 0; row < fresh->Adapters().count(); ++row)
            QCOMPARE(settingstest::Describe(d.Adapters()[row]), settingstest::Describe(fresh->Adapters()[row]));
        QCOMPARE(d.AdaptersPage()->ledIPAddress->text() + u' ' + d.AdaptersPage()->ledDNSServer->text() + u' ' +
                     d.IdentityPage()->ledHostName->text(),
                 QStringLiteral("192.168.1.6 10.0.0.5 WS01"));
        QVERIFY(!d.btnApply->isEnabled());
        fx.Show(1);
        QTest::keyClick(d.AdaptersPage()->cbAdapters, Qt::Key_F5);
        QCOMPARE(d.CurrentAdapterIndex(), 1);
    }

    // The system's text as it is, line break included; the provider's own words, not the generic
    // extended-error text.
    void systemError()
    {
        m_Host.Hive().SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"});
        QVERIFY(Read());
        std::u16string remote = u"\\\\fileserver\\home";
        NETRESOURCEW resource = {};
        resource.dwType = RESOURCETYPE_DISK;
        resource.lpRemoteName = reinterpret_cast<LPWSTR>(remote.data());
        QCOMPARE(WNetAddConnection2W(&resource, nullptr, nullptr, 0), DWORD(ERROR_EXTENDED_ERROR));
        for (DWORD code : {DWORD(59), DWORD(0xDEAD), DWORD(ERROR_EXTENDED_ERROR)})
            m_Dialog->ShowSystemError(code);
        QCOMPARE(m_Boxes.texts(), (QStringList{"An unexpected network error occurred.\r\n", QString(),
                                               "The network location cannot be reached."}));
    }

    // A remembered row whose adapter has gone: the shown adapter stays shown, no other one takes its place.
    void rowOutOfRangeChangesNothing()
    {
        QVERIFY(Read());
        m_Dialog->SelectAdapter(kWireless);
        const QString shown = m_Dialog->AdaptersPage()->ledIPAddress->text();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                               "^ASSERT: \"Index < \\(int\\)m_Adapters.count\\(\\)\" in ")));
        for (int row : {2, -1}) {
            m_Dialog->SelectAdapter(row);
            QCOMPARE(m_Dialog->CurrentAdapterIndex(), kWireless);
            QCOMPARE(m_Dialog->AdaptersPage()->cbAdapters->currentIndex(), kWireless);
            QCOMPARE(m_Dialog->AdaptersPage()->ledIPAddress->text(), shown);
            QVERIFY(!m_Dialog->btnApply->isEnabled());
        }
    }

    // The wired adapter as read: first address and mask on the page, the rest alongside, 0.0.0.0 dropped;
    // every gateway of the chain, 0.0.0.0 for none; NameServer up to 1,023 bytes, longer reads as empty.
    // Addresses as ip/mask, gateways, NameServer bytes = ip mask [further] [gateways] dnsAuto.
    void reading_data()
    {
        Rows({"192.168.1.5/255.255.255.0,0.0.0.0/0.0.0.0,10.0.0.5/255.0.0.0 192.168.1.1 10 = 192.168.1.5 "
              "255.255.255.0 [10.0.0.5/255.0.0.0] [192.168.1.1] 0",
              "192.168.1.5/255.255.255.0 192.168.1.1,192.168.1.254,192.168.1.253 1023 = 192.168.1.5 255.255.255.0 [] "
              "[192.168.1.1,192.168.1.254,192.168.1.253] 0",
              "192.168.1.5/255.255.255.0 ~ 1024 = 192.168.1.5 255.255.255.0 [] [0.0.0.0] 1"});
    }
    void reading()
    {
        const QString addresses = Input()[0];
        winsys::Hive& hive = m_Host.Hive();
        const std::string key = m_Host.TcpipKey(kWired);
        hive.SetMultiString(key, "IPAddress", Strings(QString(addresses).remove(QRegularExpression("/[^,]*"))));
        hive.SetMultiString(key, "SubnetMask", Strings(QString(addresses).remove(QRegularExpression("[^,]*/"))));
        hive.SetMultiString(key, "DefaultGateway", Strings(Input()[1]));
        hive.SetString(key, "NameServer", std::string("10.0.0.1").append(Input()[2].toInt() - 8, ' '));
        QVERIFY(Read());
        const CNetworkCard& card = m_Dialog->Adapters()[kWired];
        QStringList further;
        for (const CAddressWithMask& more : card.m_SecondaryAddresses)
            further << more.address.ToString() + u'/' + more.mask.ToString();
        QCOMPARE(QStringLiteral("%1 %2 [%3] [%4] %5")
                     .arg(card.m_IPAddress.ToString(), card.m_SubnetMask.ToString(), further.join(u','),
                          settingstest::Join(card.m_Gateways))
                     .arg(card.m_DNSAuto),
                 Expected());
    }

    // A failed query is returned; the edited model stays unless the adapters were read; a read that finds no
    // adapter keeps the old ones. code 1: any error.
    void failedReadKeepsTheModel_data()
    {
        Rows({"hive = 1 192.168.1.9", "drives = 13 192.168.1.5", "adapters = 0 192.168.1.9"});
    }
    void failedReadKeepsTheModel()
    {
        const QString broken = Row()[0];
        QVERIFY(Read());
        m_Dialog->Editor().EditAddress(kWired, CardField::IPAddress, QStringLiteral("192.168.1.9"));
        // A connection without its remote name is data the drive listing refuses.
        if (broken == QLatin1String("drives"))
            m_Host.Hive().SetString(std::string(winsys::keys::kConnections) + "\\9", "LocalName", "Q:");
        else
            m_Host.RemoveAdapters();
        QVERIFY(broken == QLatin1String("hive") ? m_Env->writeHive(QStringLiteral("junk")) : m_Host.WriteTo(*m_Env));
        const unsigned long result = m_Dialog->ReadConfiguration();
        QCOMPARE(QStringLiteral("%1 %2")
                     .arg(broken == QLatin1String("hive") ? result != 0 : result)
                     .arg(m_Dialog->Adapters()[kWired].m_IPAddress.ToString()),
                 Expected());
        QCOMPARE(m_Dialog->Adapters().count(), 2);
    }

    // The name waiting for a restart and the suffix that will apply are shown.
    void pendingIdentity()
    {
        m_Host.Hive().SetString(winsys::keys::kComputerName, "ComputerName", "WS02");
        m_Host.Hive().SetString(winsys::keys::kTcpipParameters, "NV Domain", "next.example");
        QVERIFY(Read());
        QCOMPARE(m_Dialog->ComputerName() + u' ' + m_Dialog->DNSSuffix(), QStringLiteral("WS02 next.example"));
    }

    // The fields follow the card's sources; Apply follows the card shown; Enter means Start on the utilities
    // page only; Cancel closes without applying.
    void buttons()
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

    // The computer name and the group take no \ / : * ? " < > |.
    void nameValidator()
    {
        CNetConfigImpl dialog;
        for (QLineEdit* field : {dialog.IdentityPage()->ledHostName, dialog.IdentityPage()->ledDomain}) {
            int position = 0;
            QString name = QStringLiteral("WS-01.corp"), empty;
            QCOMPARE(field->validator()->validate(name, position), QValidator::Acceptable);
            QCOMPARE(field->validator()->validate(empty, position), QValidator::Intermediate);
            for (QChar bad : QStringLiteral("\\/:*?\"<>|")) {
                name = QStringLiteral("a%1b").arg(bad);
                QVERIFY2(field->validator()->validate(name, position) == QValidator::Invalid, qPrintable(name));
            }
        }
    }

    // A disconnected drive also leaves the user's persistent connections; a refused one is named in a box.
    // The row picked, the open files = what remains, public and scans; ! a box.
    void disconnect_data() { Rows({"0 0 = S", "1 0 = P", "0 3 = PS!"}); }
    void disconnect()
    {
        const int row = Row()[0].toInt(), openFiles = Row()[1].toInt();
        QStringList left;
        if (Expected().contains(u'P'))
            left << kPublic;
        if (Expected().contains(u'S'))
            left << kScans;
        const QString remaining = left.join(u'|');
        m_Host.Hive().SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", DWORD(openFiles));
        QVERIFY(Read());
        QCOMPARE(Listed(*m_Dialog), kPublic + u'|' + kScans);
        m_Dialog->DrivesPage()->chlShareList->setCurrentItem(m_Dialog->DrivesPage()->chlShareList->topLevelItem(row));
        m_Dialog->DrivesPage()->btnDisconnectDrive->click();
        QCOMPARE(m_Boxes.texts().replaceInStrings(QRegularExpression(QStringLiteral("\\s+$")), {}),
                 Expected().contains(u'!') ? QStringList{SystemText(2401).trimmed()} : QStringList());
        QCOMPARE(HostConnections(), remaining);
        QCOMPARE(Listed(*m_Dialog), remaining);
        QCOMPARE(Remembered("Z"), remaining.contains(kPublic));
    }

    // Only a drive mapped to reconnect at sign-in is remembered.
    void mapDrive()
    {
        QVERIFY(Read());
        for (bool remember : {true, false}) {
            WhenMapDriveDialogShown([remember](CMapDriveDialog* map) {
                FillAndFinish(map, remember ? QStringLiteral("Y:") : QStringLiteral("X:"),
                              remember ? QStringLiteral("\\\\fileserver\\home")
                                       : QStringLiteral("\\\\fileserver\\public"),
                              remember);
            });
            m_Dialog->DrivesPage()->btnMapNetDrive->click();
        }
        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(HostConnections(),
                 kPublic + u'|' + kScans + QStringLiteral("|Y: \\\\fileserver\\home|X: \\\\fileserver\\public"));
        QCOMPARE(Listed(*m_Dialog), HostConnections());
        QVERIFY(Remembered("Y") && !Remembered("X"));
    }
};

QTEST_MAIN(TestController)
#include "tst_controller.moc"
