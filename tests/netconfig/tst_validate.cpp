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
    void rules_data();
    void rules();
    void offAndOnScreenCardsAlike();
    void listRule_data();
    void listRule();
    void editFlags_data();
    void editFlags();
    void gatewayWarning_data();
    void gatewayWarning();
};

void TestValidate::rules_data()
{
    // Fields edited on a valid card; DHCP, DNS and WINS automatic; message
    // (none: accepted); the field it names.
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("automatic");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");

    const QString autoBox = "DNS/WINS can not be set automatically in current configuration.";
    auto row = [](const char* name, QStringList edits, const char* automatic, QString message, QString field) {
        QTest::newRow(name) << edits << QString::fromLatin1(automatic) << message << field;
    };
    row("valid card", {}, "000", QString(), QString());
    row("leading zeros are fine", {"ip", "192.168.001.010"}, "000", QString(), QString());
    row("bad ip", {"ip", "300.1.1.1"}, "000", "Ip address 300.1.1.1 is not valid.", "ip");
    row("bad mask", {"mask", "255.255.255.256"}, "000", "Subnet mask 255.255.255.256 is not valid.", "mask");
    row("mask vs address", {"ip", "10.1.2.3", "mask", "255.0.0.0"}, "000",
        "Subnet mask 255.0.0.0 is not valid for entered ip address.", "mask");
    row("mask with a hole", {"mask", "255.255.255.1"}, "000", "Subnet mask 255.255.255.1 is not valid.", "mask");
    row("broadcast address", {"ip", "192.168.1.255"}, "000",
        "Ip address 192.168.1.255 is the broadcast address of its subnet.", "ip");
    row("dhcp without a lease", {"ip", "0.0.0.0", "mask", "0.0.0.0"}, "111", QString(), QString());
    // What the model holds (0) shows again once the changes are dropped.
    row("refused text gone with the changes", {"ip", "1.2.3.", "clear", ""}, "000",
        "Ip address 0.0.0.0 is reserved and cannot be used.", "ip");
    row("mask octets grow", {"mask", "255.255.0.255"}, "000",
        "Subnet mask 255.255.0.255 is not valid for entered ip address.", "mask");
    row("cleared gateway", {"gw", "..."}, "000", "Ip address ... is not valid.", "gw");
    row("incomplete dns", {"dns", "10.1.."}, "000", "Ip address 10.1.. is not valid.", "dns");
    row("secondary wins beats mask", {"mask", "255.0.255.0", "wins2", "1.1.1.300"}, "000",
        "Ip address 1.1.1.300 is not valid.", "wins2");
    row("gateway beats ip", {"ip", "999.1.1.1", "gw", "1.1.1.300"}, "000", "Ip address 1.1.1.300 is not valid.", "gw");
    row("name beats address", {"ip", "...", "name", ""}, "000", "Computer name is empty.", "name");
    row("no group", {"group", "", "name", ""}, "000", "Group/domain name is empty.", "group");
    row("manual with wins auto", {}, "001", autoBox, "wins1");
    row("manual with dns auto", {}, "011", autoBox, "dns");
    // DHCP supplies the address, yet a malformed one still refuses the apply.
    row("dhcp, bad ip", {"ip", "1.2.3."}, "111", "Ip address 1.2.3. is not valid.", "ip");
    // A complete typed address replaces what was refused before.
    row("corrected", {"ip", "1.2.3.", "ip", "10.0.0.1", "mask", "255.0.0.0"}, "000", QString(), QString());
}

void TestValidate::rules()
{
    QFETCH(QStringList, edits);
    QFETCH(QString, automatic);
    QFETCH(QString, message);
    QFETCH(QString, field);
    const CValidationProblem problem = ValidateEdited(edits, automatic);
    QCOMPARE(problem.message, message);
    QCOMPARE(problem.field, field.isEmpty() ? CardField::None : kFields.value(field));
}

// OK checks every card it is about to apply, not only the one on screen,
// and shows the refused card with the cursor in the field.
void TestValidate::offAndOnScreenCardsAlike()
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

void TestValidate::listRule_data()
{
    QTest::addColumn<bool>("gateway");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("changed");

    const QStringList two{"192.168.1.1", "192.168.1.254"}, second{"192.168.1.254"};
    QTest::newRow("dns: new replaces first")
        << false << two << "10.0.0.1" << QStringList{"10.0.0.1", "192.168.1.254"} << true;
    QTest::newRow("duplicate shrinks list") << true << two << "192.168.1.254" << second << true;
    // Twelve digits do not fit in 32 bits and read as 0: the first entry
    // goes as for a cleared field, then the address replaces the next.
    QTest::newRow("long digit run drops two") << true << two << "192.168.001.001" << QStringList{"192.168.1.1"} << true;
    QTest::newRow("cleared drops first") << true << two << "..." << second << true;
    QTest::newRow("0.0.0.0 drops twice, adds 0") << true << two << "0.0.0.0" << QStringList{"0.0.0.0"} << true;
    QTest::newRow("incomplete changes nothing") << true << two << "192.168.." << two << false;
}

void TestValidate::listRule()
{
    QFETCH(bool, gateway);
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(bool, changed);
    CNetworkCard card;
    (gateway ? card.m_Gateways : card.m_DNSServers) = Ips(before);
    CAdapterEditor editor;
    editor.Reset({card}, {});
    editor.EditAddress(0, gateway ? CardField::Gateway : CardField::DNSServer, typed);
    const CNetworkCard& edited = editor.Card(0);
    QCOMPARE(Texts(gateway ? edited.m_Gateways : edited.m_DNSServers), after);
    QCOMPARE(gateway ? edited.m_AddressChanged : edited.m_DNSChanged, changed);
    QVERIFY(!(gateway ? edited.m_DNSChanged : edited.m_AddressChanged));
}

// What one edit marks: the phases (A D W), a pending identification (I),
// and what the field shows now.
void TestValidate::editFlags_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("marked");
    QTest::newRow("same text") << "ip"
                               << "10.0.0.1"
                               << "---- 10.0.0.1";
    // Compared as text: leading zeros are a change of the same address.
    QTest::newRow("same address, other text") << "ip"
                                              << "010.0.0.1"
                                              << "A--- 10.0.0.1";
    QTest::newRow("mask") << "mask"
                          << "255.255.0.0"
                          << "A--- 255.255.0.0";
    QTest::newRow("primary wins") << "wins1"
                                  << "10.0.0.8"
                                  << "--W- 10.0.0.8";
    QTest::newRow("secondary wins") << "wins2"
                                    << "10.0.0.9"
                                    << "--W- 10.0.0.9";
    QTest::newRow("gateway") << "gw"
                             << "10.0.0.7"
                             << "A--- 10.0.0.7";
    QTest::newRow("dns server") << "dns"
                                << "10.0.0.7"
                                << "-D-- 10.0.0.7";
    QTest::newRow("dns automatic") << "dnsauto"
                                   << "1"
                                   << "-D-- ";
    QTest::newRow("dns source unchanged") << "dnsauto"
                                          << "0"
                                          << "---- ";
    QTest::newRow("wins automatic") << "winsauto"
                                    << "1"
                                    << "--W- ";
    QTest::newRow("group") << "group"
                           << "OFFICE"
                           << "---I ";
    // The suffix alone does not enable Apply.
    QTest::newRow("suffix") << "suffix"
                            << "corp.example"
                            << "---- ";
}

void TestValidate::editFlags()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
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
                           (edited.m_WINSChanged ? u'W' : u'-') + (editor.IdentityPending() ? u'I' : u'-') + u' ' +
                           (kFields.contains(field) ? edited.FieldText(kFields.value(field)) : QString());
    QTEST(marked, "marked");
}

// A manual gateway outside the address's subnet is asked about.
void TestValidate::gatewayWarning_data()
{
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QStringList>("gateways");
    QTest::addColumn<QString>("outside"); // the one named, if any
    QTest::newRow("inside") << false << QStringList{"192.168.1.1", "192.168.1.254"} << "";
    QTest::newRow("second outside") << false << QStringList{"192.168.1.1", "192.168.2.1"} << "192.168.2.1";
    QTest::newRow("empty entry") << false << QStringList{"0.0.0.0"} << "";
    QTest::newRow("dhcp: not the user's") << true << QStringList{"10.0.0.1"} << "";
}

void TestValidate::gatewayWarning()
{
    QFETCH(bool, dhcp);
    QFETCH(QStringList, gateways);
    QFETCH(QString, outside);
    CNetworkCard card;
    card.m_DHCPEnabled = dhcp;
    card.m_IPAddress = CIPAddress(QStringLiteral("192.168.1.10"));
    card.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
    card.m_Gateways = Ips(gateways);
    QCOMPARE(GatewayWarning(card), outside.isEmpty() ? QString()
                                                     : QStringLiteral("Default gateway %1 is not in the subnet of ip "
                                                                      "address 192.168.1.10 with subnet mask "
                                                                      "255.255.255.0. Apply it anyway?")
                                                           .arg(outside));
}

QTEST_MAIN(TestValidate)
#include "tst_validate.moc"
