// What validation refuses, checked on the data alone, and how the dialog
// shows it; what typing takes into the model.
#include "applytestutil.h"
#include "validation.h"

using namespace applytest;

namespace {

const QMap<QString, CardField> kFields = {{"ip", CardField::IPAddress},      {"mask", CardField::SubnetMask},
                                          {"gw", CardField::Gateway},        {"dns", CardField::DNSServer},
                                          {"wins1", CardField::PrimaryWINS}, {"wins2", CardField::SecondaryWINS},
                                          {"name", CardField::ComputerName}, {"group", CardField::Workgroup}};

// A valid manual card and identification, then the edits as typed.
CValidationProblem ValidateEdited(const QStringList& edits, const QString& automatic)
{
    CNetworkCard card;
    card.m_IPAddress = CIPAddress(QStringLiteral("192.168.1.10"));
    card.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
    card.m_Gateways = card.m_DNSServers = Ips({"192.168.1.1"});
    card.m_PrimaryWINS = CIPAddress(QStringLiteral("192.168.1.2"));
    card.m_DHCPEnabled = automatic[0] == u'1';
    card.m_DNSAuto = automatic[1] == u'1';
    card.m_WINSAuto = automatic[2] == u'1';
    CAdapterEditor editor;
    editor.Reset({card}, {QStringLiteral("WS01"), QStringLiteral("WORKGROUP"), QStringLiteral("lan")});
    for (int i = 0; i + 1 < edits.count(); i += 2) {
        const CardField field = kFields.value(edits.at(i));
        if (edits.at(i) == QLatin1String("clear"))
            editor.ClearChanges(0);
        else if (field == CardField::ComputerName || field == CardField::Workgroup)
            editor.EditIdentity(field, edits.at(i + 1));
        else
            editor.EditAddress(0, field, edits.at(i + 1));
    }
    return Validate(editor.Card(0), editor.Wanted());
}

} // namespace

class TestValidate : public QObject
{
    Q_OBJECT

private slots:
    // Fields edited on a valid card; DHCP, DNS and WINS automatic; the field named and the message (none:
    // accepted).
    void rules_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("automatic");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, QStringList edits, const char* automatic, const QString& problem) {
            QTest::newRow(name) << edits << QString::fromLatin1(automatic) << problem;
        };
        const QString autoBox = "DNS/WINS can not be set automatically in current configuration.";
        row("valid card", {}, "000", "");
        row("bad ip", {"ip", "300.1.1.1"}, "000", "ip Ip address 300.1.1.1 is not valid.");
        row("mask vs address", {"ip", "10.1.2.3", "mask", "255.0.0.0"}, "000",
            "mask Subnet mask 255.0.0.0 is not valid for entered ip address.");
        row("mask with a hole", {"mask", "255.255.255.1"}, "000", "mask Subnet mask 255.255.255.1 is not valid.");
        row("broadcast address", {"ip", "192.168.1.255"}, "000",
            "ip Ip address 192.168.1.255 is the broadcast address of its subnet.");
        row("dhcp without a lease", {"ip", "0.0.0.0", "mask", "0.0.0.0"}, "111", "");
        // What the model holds (0) shows again once the changes are dropped.
        row("refused text gone with the changes", {"ip", "1.2.3.", "clear", ""}, "000",
            "ip Ip address 0.0.0.0 is reserved and cannot be used.");
        row("cleared gateway", {"gw", "..."}, "000", "gw Ip address ... is not valid.");
        row("incomplete dns", {"dns", "10.1.."}, "000", "dns Ip address 10.1.. is not valid.");
        row("secondary wins beats mask", {"mask", "255.0.255.0", "wins2", "1.1.1.300"}, "000",
            "wins2 Ip address 1.1.1.300 is not valid.");
        row("gateway beats ip", {"ip", "999.1.1.1", "gw", "1.1.1.300"}, "000", "gw Ip address 1.1.1.300 is not valid.");
        row("name beats address", {"ip", "...", "name", ""}, "000", "name Computer name is empty.");
        row("no group", {"group", "", "name", ""}, "000", "group Group/domain name is empty.");
        row("manual with wins auto", {}, "001", "wins1 " + autoBox);
        row("manual with dns auto", {}, "011", "dns " + autoBox);
        // DHCP supplies the address, yet a malformed one still refuses the apply.
        row("dhcp, bad ip", {"ip", "1.2.3."}, "111", "ip Ip address 1.2.3. is not valid.");
        // A complete typed address replaces what was refused before.
        row("corrected", {"ip", "1.2.3.", "ip", "10.0.0.1", "mask", "255.0.0.0"}, "000", "");
    }

    void rules()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, automatic);
        const CValidationProblem problem = ValidateEdited(edits, automatic);
        QTEST((kFields.key(problem.field) + u' ' + problem.message).trimmed(), "problem");
    }

    // OK checks every card it is about to apply, not only the one on screen,
    // and shows the refused card with the cursor in the field.
    void offAndOnScreenCardsAlike()
    {
        Fixture fx;
        QVERIFY(fx.Open(0));
        CNetConfigImpl& dlg = *fx.dialog;
        const QString before = fx.env->readHive();
        fx.Show(1);
        for (QAbstractButton* button : {static_cast<QAbstractButton*>(dlg.AdaptersPage()->rbtnManual),
                                        static_cast<QAbstractButton*>(dlg.AdaptersPage()->ckbDNSAuto),
                                        static_cast<QAbstractButton*>(dlg.AdaptersPage()->ckbHaveWins)})
            Click(button);
        QVERIFY(Type(dlg.AdaptersPage()->ledSubNet, QStringLiteral("255.0.255.0")));
        fx.Show(0);
        Click(dlg.buttonOk);
        QCOMPARE(fx.boxes.texts(), QStringList{"Subnet mask 255.0.255.0 is not valid for entered ip address."});
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.CurrentAdapterIndex(), 1);
        QLineEdit* mask = dlg.AdaptersPage()->ledSubNet;
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(mask));
        QCOMPARE(mask->selectedText(), mask->displayText());
        QCOMPARE(fx.env->readHive(), before);
    }

    // Typed into the gateway or DNS field over 192.168.1.1,192.168.1.254: the list and its phase flag after.
    // Twelve digits do not fit in 32 bits and read as 0: the first entry goes as for a cleared field, then the
    // address replaces the next.
    void listRule_data()
    {
        QTest::addColumn<QStringList>("row");
        for (const char* row : {"dns 10.0.0.1 10.0.0.1,192.168.1.254 1", "gw 192.168.1.254 192.168.1.254 1",
                                "gw 192.168.001.001 192.168.1.1 1", "gw ... 192.168.1.254 1", "gw 0.0.0.0 0.0.0.0 1",
                                "gw 192.168.. 192.168.1.1,192.168.1.254 0"})
            QTest::newRow(row) << QString::fromLatin1(row).split(u' ');
    }

    void listRule()
    {
        QFETCH(QStringList, row);
        const bool gateway = row[0] == QLatin1String("gw");
        CNetworkCard card;
        card.m_Gateways = card.m_DNSServers = Ips({"192.168.1.1", "192.168.1.254"});
        CAdapterEditor editor;
        editor.Reset({card}, {});
        editor.EditAddress(0, kFields.value(row[0]), row[1]);
        const CNetworkCard& edited = editor.Card(0);
        QCOMPARE(Texts(gateway ? edited.m_Gateways : edited.m_DNSServers).join(u','), row[2]);
        QCOMPARE(QStringLiteral("%1%2").arg(edited.m_AddressChanged).arg(edited.m_DNSChanged),
                 gateway ? row[3] + u'0' : u'0' + row[3]);
    }

    // What one edit marks: the phases (A D W), a pending identification (I), and what the field shows now.
    // Text is compared as text: leading zeros are a change of the same address. The suffix alone does not
    // enable Apply.
    void editFlags_data()
    {
        QTest::addColumn<QStringList>("row"); // field, typed, marks, shown
        for (const char* row :
             {"ip 10.0.0.1 ---- 10.0.0.1", "ip 010.0.0.1 A--- 10.0.0.1", "mask 255.255.0.0 A--- 255.255.0.0",
              "wins1 10.0.0.8 --W- 10.0.0.8", "wins2 10.0.0.9 --W- 10.0.0.9", "gw 10.0.0.7 A--- 10.0.0.7",
              "dns 10.0.0.7 -D-- 10.0.0.7", "dnsauto 1 -D--", "dnsauto 0 ----", "winsauto 1 --W-", "group OFFICE ---I",
              "suffix corp.example ----"})
            QTest::newRow(row) << QString::fromLatin1(row).split(u' ');
    }

    void editFlags()
    {
        QFETCH(QStringList, row);
        const QString field = row[0], typed = row[1];
        CNetworkCard card;
        card.m_IPAddress = card.m_PrimaryWINS = card.m_SecondaryWINS = CIPAddress(QStringLiteral("10.0.0.1"));
        card.m_SubnetMask = CIPAddress(QStringLiteral("255.0.0.0"));
        CAdapterEditor editor;
        editor.Reset({card}, {QStringLiteral("WS01"), QStringLiteral("WORKGROUP"), QStringLiteral("lan")});
        const QMap<QString, CardField> identity = {{"group", CardField::Workgroup}, {"suffix", CardField::DNSSuffix}};
        if (field == QLatin1String("dnsauto"))
            editor.SetDNSAuto(0, typed == QLatin1String("1"));
        else if (field == QLatin1String("winsauto"))
            editor.SetWINSAuto(0, typed == QLatin1String("1"));
        else if (identity.contains(field))
            editor.EditIdentity(identity.value(field), typed);
        else
            editor.EditAddress(0, kFields.value(field), typed);
        const CNetworkCard& edited = editor.Card(0);
        const QString marked = QString(edited.m_AddressChanged ? u'A' : u'-') + (edited.m_DNSChanged ? u'D' : u'-') +
                               (edited.m_WINSChanged ? u'W' : u'-') + (editor.IdentityPending() ? u'I' : u'-');
        QCOMPARE(QStringList({marked, edited.FieldText(kFields.value(field, CardField::None))}).join(u' ').trimmed(),
                 row.mid(2).join(u' '));
    }

    // A manual gateway outside the address's subnet is asked about: DHCP, gateways, the one named.
    void gatewayWarning_data()
    {
        QTest::addColumn<QStringList>("row");
        for (const char* row :
             {"0 192.168.1.1,192.168.1.254", "0 192.168.1.1,192.168.2.1 192.168.2.1", "0 0.0.0.0", "1 10.0.0.1"})
            QTest::newRow(row) << QString::fromLatin1(row).split(u' ');
    }

    void gatewayWarning()
    {
        QFETCH(QStringList, row);
        CNetworkCard card;
        card.m_DHCPEnabled = row[0] == u'1';
        card.m_IPAddress = CIPAddress(QStringLiteral("192.168.1.10"));
        card.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
        card.m_Gateways = Ips(row[1].split(u','));
        QCOMPARE(GatewayWarning(card), row.count() < 3 ? QString()
                                                       : QStringLiteral("Default gateway %1 is not in the subnet of ip "
                                                                        "address 192.168.1.10 with subnet mask "
                                                                        "255.255.255.0. Apply it anyway?")
                                                             .arg(row[2]));
    }
};

QTEST_MAIN(TestValidate)
#include "tst_validate.moc"
