// The main dialog on edited copies of the sample host: reading, refreshing, the buttons; the address list
// dialog, from the "Advanced..." buttons to the host; the identification page and the shown lease; the network
// drives page; the INI form of the adapter model and the Save and Load buttons.
#include "addrlistimpl.h"
#include "applytestutil.h"
#include "filedialog.h"
#include "hoststate.h"
#include "settingsfiletest.h"

#include <functional>
#include <memory>

using namespace applytest;
using namespace settingstest;

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

// Name, workgroup and suffix as the next start of the program reads them.
QString HostIdentity()
{
    auto host = ReadHost();
    return host ? QStringList({host->ComputerName(), host->Workgroup(), host->DNSSuffix()}).join(u' ') : "unreadable";
}

void Add(CNetAddrListImpl* dialog, const char* text)
{
    dialog->ledIPAddress_2->setText(QString::fromLatin1(text));
    dialog->btnAdd->click();
}

// Edits the modal dialog once shown, then presses OK; any other modal window is closed so that a test fails
// rather than hangs.
void WhenOpen(std::function<void(CNetAddrListImpl*)> edit, int attempts = 500)
{
    QTimer::singleShot(10, [=] {
        if (auto* dialog = qobject_cast<CNetAddrListImpl*>(QApplication::activeModalWidget())) {
            edit(dialog);
            dialog->buttonOk->click();
        } else if (attempts > 0)
            WhenOpen(edit, attempts - 1);
        else if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
}

const QString kBase = QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=[192.168.1.1] dnsAuto=0 "
                                     "dns=[192.168.1.1,10.0.0.1] winsAuto=0 wins=192.168.1.2,0.0.0.0 changed=---");

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
    Fixture m_Fx; // its message box recorder is the one in force
    MsgBoxRecorder& m_Boxes = m_Fx.boxes;

    // Name, domain and suffix, blank-separated. The suffix is read-only on the page; a loaded settings file
    // fills it.
    void EnterIdentity(const QString& typed)
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        dlg.SelectMainTab(2);
        QVERIFY(Type(dlg.IdentityPage()->ledHostName, typed.section(u' ', 0, 0)));
        QVERIFY(Type(dlg.IdentityPage()->ledDomain, typed.section(u' ', 1, 1)));
        dlg.Editor().EditIdentity(CardField::DNSSuffix, typed.section(u' ', 2, 2));
    }
    CNetworkCard& Card() { return m_Dialog->Adapters()[0]; }
    QString WriteFile(const QByteArray& text)
    {
        const QString path = m_Env->path(QStringLiteral("in.ini"));
        return WriteText(path, text) ? path : QString();
    }

private slots:
    void init()
    {
        m_Host = HostHive();
        m_Boxes.texts().clear();
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup()
    {
        m_Fx.Close();
        m_Dialog.reset();
        m_Env.reset();
    }

    // Row, NameServer, WINS servers = DNS auto, WINS auto, the DNS field: automatic without static servers, but
    // without DHCP there is no automatic WINS.
    void automaticSources_data()
    {
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

    // F5 drops every unapplied edit: each card equals what the host now holds, no flag is left, Apply is off.
    void f5RereadsHost()
    {
        QVERIFY(m_Fx.Open(0));
        CNetConfigImpl& d = *m_Fx.dialog;
        m_Fx.Show(1);
        Click(d.AdaptersPage()->rbtnManual);
        m_Fx.Show(0);
        QLineEdit* edit = d.AdaptersPage()->ledDNSServer;
        QVERIFY(Type(edit, QStringLiteral("10.9.9.9")));
        QVERIFY(d.btnApply->isEnabled());
        // The host changed behind the dialog's back.
        HostHive host;
        host.Hive().SetString(host.TcpipKey(0), "NameServer", "10.0.0.5,10.0.0.6");
        host.Hive().SetMultiString(host.TcpipKey(0), "IPAddress", {"192.168.1.6"});
        host.Hive().SetString(host.TcpipKey(1), "DhcpIPAddress", "10.0.0.42");
        QVERIFY(host.WriteTo(*m_Fx.env));

        QTest::keyClick(edit, Qt::Key_F5);
        const auto fresh = ReadHost();
        QVERIFY(fresh);
        for (int row = 0; row < fresh->Adapters().count(); ++row)
            QCOMPARE(settingstest::Describe(d.Adapters()[row]), settingstest::Describe(fresh->Adapters()[row]));
        QCOMPARE(d.AdaptersPage()->ledIPAddress->text() + u' ' + d.AdaptersPage()->ledDNSServer->text() + u' ' +
                     d.IdentityPage()->ledHostName->text(),
                 QStringLiteral("192.168.1.6 10.0.0.5 WS01"));
        QVERIFY(!d.btnApply->isEnabled());
    }

    // Addresses ip/mask, gateways, NameServer bytes = the wired adapter as read: ip mask [further, 0.0.0.0
    // dropped] [every gateway of the chain, 0.0.0.0 for none] dnsAuto (NameServer of over 1,023 bytes reads empty).
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

    // A failed query is returned (hive: any error); the edited model stays unless the adapters were read; a read
    // that finds no adapter keeps the old ones.
    void failedReadKeepsTheModel_data()
    {
        Rows({"hive = 1 192.168.1.9", "drives = 13 192.168.1.5", "adapters = 0 192.168.1.9"});
    }
    void failedReadKeepsTheModel()
    {
        const QString broken = Row()[0];
        QVERIFY(Read());
        m_Dialog->Editor().EditAddress(kWired, CardField::IPAddress, QStringLiteral("192.168.1.9"));
        if (broken == QLatin1String("drives")) // a connection without its remote name: refused data
            m_Host.Hive().SetString(std::string(winsys::keys::kConnections) + "\\9", "LocalName", "Q:");
        else
            m_Host.RemoveAdapters();
        if (broken == QLatin1String("hive"))
            QVERIFY(m_Env->writeHive(QStringLiteral("junk")));
        else
            QVERIFY(m_Host.WriteTo(*m_Env));
        const unsigned long result = m_Dialog->ReadConfiguration();
        QCOMPARE(QStringLiteral("%1 %2")
                     .arg(broken == QLatin1String("hive") ? result != 0 : result)
                     .arg(m_Dialog->Adapters()[kWired].m_IPAddress.ToString()),
                 Expected());
        QCOMPARE(m_Dialog->Adapters().count(), 2);
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

    // The computer name and the group take no \ / : * ? " < > | (what they take is typed in identityByOk).
    void nameValidator()
    {
        CNetConfigImpl dialog;
        for (QLineEdit* field : {dialog.IdentityPage()->ledHostName, dialog.IdentityPage()->ledDomain}) {
            int position = 0;
            for (QChar bad : QStringLiteral("\\/:*?\"<>|")) {
                QString name = QStringLiteral("a%1b").arg(bad);
                QVERIFY2(field->validator()->validate(name, position) == QValidator::Invalid, qPrintable(name));
            }
        }
    }

    // The row picked, its open files = what remains (Public, Scans), ! a box. A disconnected drive also leaves
    // the user's persistent connections.
    void disconnect_data() { Rows({"0 0 = S", "1 0 = P", "0 3 = PS!"}); }
    void disconnect()
    {
        const QString remaining =
            QString(Expected()).remove(u'!').replace(u'P', kPublic + u'|').replace(u'S', kScans + u'|').chopped(1);
        m_Host.Hive().SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", Row()[1].toUInt());
        QVERIFY(Read());
        QCOMPARE(Listed(*m_Dialog), kPublic + u'|' + kScans);
        m_Dialog->DrivesPage()->chlShareList->setCurrentItem(
            m_Dialog->DrivesPage()->chlShareList->topLevelItem(Row()[0].toInt()));
        m_Dialog->DrivesPage()->btnDisconnectDrive->click();
        QCOMPARE(m_Boxes.texts().replaceInStrings(QRegularExpression(QStringLiteral("\\s+$")), {}),
                 Expected().contains(u'!') ? QStringList{SystemText(2401).trimmed()} : QStringList());
        QCOMPARE(HostConnections(), remaining);
        QCOMPARE(Listed(*m_Dialog), remaining);
        QCOMPARE(Remembered("Z"), remaining.contains(kPublic));
    }

    // The page shows the first entry; the host gets the lists in dialog order. Of equal addresses, the row
    // picked is the one deleted; a bad address is refused, an incomplete one cannot be added.
    void editedListsReachTheHostInOrder()
    {
        QVERIFY(m_Fx.Open(0));
        CAdaptersPage& page = *m_Fx.dialog->AdaptersPage();
        WhenOpen([](CNetAddrListImpl* dialog) {
            Add(dialog, "192.168.1.254");
            Add(dialog, "192.168.1.1");
            dialog->chlIPList->setCurrentItem(dialog->chlIPList->topLevelItem(0));
            dialog->btnDel->click();
        });
        page.btnGateways->click();
        WhenOpen([](CNetAddrListImpl* dialog) {
            for (const char* text : {"10.0.0.1", "010.000.000.003", "256.1.1.1", "10.0"})
                Add(dialog, text);
        });
        page.btnDNSServers->click();
        QCOMPARE(page.ledGateway->text() + u' ' + page.ledDNSServer->text(),
                 QStringLiteral("192.168.1.254 192.168.1.1"));
        m_Fx.dialog->buttonOk->click();
        QCOMPARE(m_Fx.boxes.texts(), QStringList{"Ip address 256.1.1.1 is not valid."});
        QCOMPARE(hoststate::Adapters(*m_Fx.env).value(0),
                 QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.254,192.168.1.1 "
                                "dns=192.168.1.1,10.0.0.1,10.0.0.3 wins=192.168.1.2"));
    }

    // Delete removes the entry of the row picked, also among equal addresses.
    void deleteRow_data()
    {
        Rows({"2 = 10.0.0.1 10.0.0.2 10.0.0.3 10.0.0.1", "4 = 10.0.0.1 10.0.0.2 10.0.0.1 10.0.0.3"});
    }
    void deleteRow()
    {
        const int row = Row()[0].toInt();
        CNetAddrListImpl dialog;
        dialog.SetList(iptest::Ips({"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3", "10.0.0.1"}));
        dialog.chlIPList->setCurrentItem(dialog.chlIPList->topLevelItem(row));
        dialog.btnDel->click();
        QString rows;
        for (int i = 0; i < dialog.chlIPList->topLevelItemCount(); ++i)
            rows += dialog.chlIPList->topLevelItem(i)->text(0) + u' ';
        QCOMPARE(iptest::Texts(dialog.GetList()).join(u' ') + u'|' + rows.trimmed(), Expected() + u'|' + Expected());
    }

    // Typed = Add offered (for any nonzero address), the list after Enter: Enter goes to OK; a valid address
    // not yet in the list is added first.
    void enterAddsTheTypedAddress_data()
    {
        Rows({"010.001.002.003 = 1 192.168.1.1 10.1.2.3", "255.255.255.255 = 1 192.168.1.1 255.255.255.255",
              "192.168.1.1 = 1 192.168.1.1", "300.1.1.1 = 1 192.168.1.1", "0.0.0.0 = 0 192.168.1.1"});
    }
    void enterAddsTheTypedAddress()
    {
        const QString typed = Input()[0];
        CNetAddrListImpl dialog;
        dialog.SetList(iptest::Ips({"192.168.1.1"}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.ledIPAddress_2->setFocus();
        dialog.ledIPAddress_2->setText(QStringLiteral("1.1.1.1"));
        dialog.ledIPAddress_2->setText(typed);
        QCOMPARE(dialog.btnAdd->isEnabled(), Expected().startsWith(u'1'));
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QTest::keyClick(dialog.ledIPAddress_2, Qt::Key_Return);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(iptest::Texts(dialog.GetList()).join(u' '), Expected().mid(2));
        QCOMPARE(dialog.chlIPList->topLevelItemCount(), dialog.GetList().count());
        QCOMPARE(m_Boxes.texts(), QStringList());
    }

    // Typed name, domain, suffix = the box (-: none, r: the restart note, else the system's text of that error),
    // the identity the host then holds. The renew after a join refreshes the page; the suffix typed with it still
    // goes.
    void identityByOk_data()
    {
        Rows({"ws01 workgroup lan = - WS01 WORKGROUP lan", "WS99 WORKGROUP lan = r WS99 WORKGROUP lan",
              "WS01 OFFICE office.example = - WS01 OFFICE office.example",
              "A-NAME-FAR-TOO-LONG-FOR-NETBIOS OFFICE lan = 87 WS01 WORKGROUP lan"});
    }
    void identityByOk()
    {
        QVERIFY(m_Fx.Open(1));
        const QString typed = Input().join(u' '), box = Expected().section(u' ', 0, 0),
                      host = Expected().section(u' ', 1);
        const QStringList boxes =
            box == u'-'   ? QStringList()
            : box == u'r' ? QStringList{"The new computer name takes effect when the computer is restarted."}
                          : QStringList{SystemText(box.toULong())};
        CNetConfigImpl& dlg = *m_Fx.dialog;
        const QString before = m_Fx.env->readHive();
        EnterIdentity(typed);
        Click(dlg.buttonOk);
        QCOMPARE(m_Fx.boxes.texts(), boxes);
        // The restart note is no failure: the dialog closes.
        const bool failed = !boxes.isEmpty() && !boxes.first().contains(QLatin1String("restarted"));
        QCOMPARE(dlg.isVisible(), failed);
        QCOMPARE(HostIdentity(), host);
        QCOMPARE(QStringList({dlg.ComputerName(), dlg.Workgroup(), dlg.DNSSuffix()}).join(u' '), host);
        if (host == QLatin1String("WS01 WORKGROUP lan"))
            QCOMPARE(m_Fx.env->readHive(), before);
        // What went through is remembered: applying again changes nothing.
        const QString after = m_Fx.env->readHive();
        QCOMPARE(dlg.ApplyIdentification(), !failed);
        QCOMPARE(m_Fx.env->readHive(), after);
        // The typed text stays, refused or not.
        QCOMPARE(dlg.IdentityPage()->ledDomain->text(), typed.section(u' ', 1, 1));
    }

    void releaseThenRenew()
    {
        QVERIFY(m_Fx.Open(1));
        CNetConfigImpl& dlg = *m_Fx.dialog;
        Click(dlg.AdaptersPage()->btnRelease);
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(dlg.CurrentAdapterIndex(), 1);
        QCOMPARE(dlg.AdaptersPage()->ledIPAddress->text(), QStringLiteral("0.0.0.0"));
        const auto host = ReadHost();
        QVERIFY(host && host->Adapters().at(1).m_IPAddress.Value() == 0);
        QCOMPARE(host->Adapters().at(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));
        Click(dlg.AdaptersPage()->btnRenew);
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(dlg.AdaptersPage()->ledIPAddress->text() + u' ' + dlg.AdaptersPage()->ledGateway->text(),
                 QStringLiteral("10.0.0.23 10.0.0.1"));
    }

    // No DHCP server answers: the time-out reads as a network error, and the page stays as it was.
    void unansweredRenew()
    {
        QVERIFY(m_Fx.Open(1));
        HostHive host;
        host.Hive().DeleteKey(std::string(winsys::keys::kDhcpOffers) + "\\" + host.Guid(1));
        QVERIFY(host.WriteTo(*m_Fx.env));
        Click(m_Fx.dialog->AdaptersPage()->btnRenew);
        QCOMPARE(m_Fx.boxes.texts(), QStringList{SystemText(ERROR_UNEXP_NET_ERR)});
        QCOMPARE(m_Fx.dialog->AdaptersPage()->ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    }

    // Adapter shown, group the machine already belongs to, typed name, domain, suffix = the identity applied,
    // without a box. The static adapter has no lease to release or renew; when the group stays, no lease moves
    // (a renew would take another address); the result is the last step's: a set suffix hides the refused name.
    void applyIdentification_data()
    {
        Rows({"0 - WS01 OFFICE lan = WS01 OFFICE lan", "1 OFFICE WS01 OFFICE lan = WS01 OFFICE lan",
              "1 - A-NAME-FAR-TOO-LONG-FOR-NETBIOS WORKGROUP corp = WS01 WORKGROUP corp"});
    }
    void applyIdentification()
    {
        QVERIFY(m_Fx.Open(Row()[0].toInt()));
        if (Row()[1] != u'-') {
            HostHive host;
            host.Hive().SetString(winsys::keys::kEmulatedHost, "Membership", Row()[1].toStdString());
            host.Hive().SetString(std::string(winsys::keys::kDhcpOffers) + "\\" + host.Guid(1), "IPAddress",
                                  "10.0.0.99");
            QVERIFY(host.WriteTo(*m_Fx.env));
        }
        EnterIdentity(Input().mid(2).join(u' '));
        QVERIFY(m_Fx.dialog->ApplyIdentification());
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(HostIdentity(), Expected());
        QCOMPARE(ReadHost()->Adapters().at(1).m_IPAddress.ToString(), QStringLiteral("10.0.0.23"));
    }

    // Zero entries are left out; automatic DNS and WINS and DHCP hide stale values; other programs' keys and
    // sections stay, after ours.
    void writeSkipsWhatIsNotSet()
    {
        QVERIFY(Read());
        Card().m_Gateways = Ips({"10.0.0.1", "0.0.0.0", "10.0.0.254"});
        Card().m_DNSServers = Ips({"0.0.0.0"});
        Card().m_SecondaryWINS = CIPAddress(QStringLiteral("10.0.0.9"));
        Card().m_SecondaryAddresses = {
            {CIPAddress(QStringLiteral("10.0.0.6")), CIPAddress(QStringLiteral("255.0.0.0"))}};
        CNetworkCard& wireless = m_Dialog->Adapters()[1];
        wireless.m_DNSServers = Ips({"10.0.0.2"});
        wireless.m_SecondaryWINS = Card().m_SecondaryWINS;
        wireless.m_SecondaryAddresses = Card().m_SecondaryAddresses;
        const QString path = WriteFile("[Interface2]\nprotocol=x\nComment=kept\n[Other]\nx=1\n");
        QCOMPARE(m_Dialog->WriteSettings(path), 0);
        QCOMPARE(IniLines(path).join(u'|'),
                 QStringLiteral("[Interface1]|protocol=192.168.1.5|mask=255.255.255.0|Wins=192.168.1.2|Wins2=10.0.0.9|"
                                "Gateway=10.0.0.1;10.0.0.254;|Addresses=10.0.0.6/255.0.0.0;|[Interface2]|protocol=dhcp|"
                                "mask=255.255.255.0|DNS=dhcp|Wins=dhcp|Gateway=10.0.0.1;|Comment=kept|"
                                "[HostInformation]|ComputerName=WS01|Workgroup=WORKGROUP|PrimaryDNS=lan|[Other]|x=1"));
    }

    // The lines of [Interface1] = the fields of kBase they change ("refused": the file is not loaded) | the
    // gateway and DNS fields.
    void readsAdapterKeys_data()
    {
        Rows({"protocol=viaDhCpServer = dhcp=1 ip=0.0.0.0 changed=A-- | 192.168.1.1 192.168.1.1",
              "protocol=192.168.1.5 DNS=192.168.1.1;10.0.0.1; Wins=192.168.1.2 = changed=ADW | 192.168.1.1 192.168.1.1",
              "Gateway=10.0.0.1;router;x; mask=255.255.255 = gw=[10.0.0.1,0.0.0.0,0.0.0.0] mask=0.0.0.0 changed=A-- | "
              "router 192.168.1.1",
              "DNS=dhcp = dnsAuto=1 dns=[] changed=-D- | 192.168.1.1 0.0.0.0",
              "Wins=Dhcp Wins2=10.9.9.9 = winsAuto=1 wins=0.0.0.0,0.0.0.0 changed=--W | 192.168.1.1 192.168.1.1",
              "Wins2=10.9.9.9 =  | 192.168.1.1 192.168.1.1",
              "protocol= mask= DNS= Wins= Gateway= =  | 192.168.1.1 192.168.1.1",
              "~ = refused | 192.168.1.1 192.168.1.1"});
    }
    void readsAdapterKeys()
    {
        QVERIFY(Read());
        const QString expected = Expected().section(QStringLiteral(" | "), 0, 0);
        QString card = kBase;
        for (const QString& field : expected.split(u' ', Qt::SkipEmptyParts))
            card.replace(QRegularExpression(QRegularExpression::escape(field.section(u'=', 0, 0)) + "=\\S*"), field);
        const bool refused = expected == QLatin1String("refused");
        QCOMPARE(m_Dialog->ReadSettings(WriteFile("[Interface1]\n" + Input().join(u'\n').toUtf8() + "\n")),
                 int(refused));
        QCOMPARE(Describe(Card()), refused ? kBase : card);
        QCOMPARE(Card().FieldText(CardField::Gateway) + u' ' + Card().FieldText(CardField::DNSServer),
                 Expected().section(QStringLiteral(" | "), 1));
    }

    // The page shows the loaded file; empty identification values keep the old ones.
    void loadShowsTheFileAndEnablesApply()
    {
        QVERIFY(Read());
        m_Dialog->SelectAdapter(0);
        SetNextFileDialogAnswer(
            WriteFile("[Interface1]\nprotocol=192.168.1.77\n[HostInformation]\nComputerName=WS02\nWorkgroup=\n"), true);
        m_Dialog->LoadFromFile();
        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(m_Dialog->AdaptersPage()->ledIPAddress->text() + u' ' + m_Dialog->IdentityPage()->ledHostName->text() +
                     u' ' + m_Dialog->IdentityPage()->ledDomain->text(),
                 QStringLiteral("192.168.1.77 WS02 WORKGROUP"));
        QVERIFY(m_Dialog->btnApply->isEnabled());
    }
};

QTEST_MAIN(TestController)
#include "tst_controller.moc"
