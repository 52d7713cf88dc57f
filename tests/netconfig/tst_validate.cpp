// What validation refuses, checked on the data alone, and how the dialog shows it; what typing takes into the
// model.
#include "applytestutil.h"
#include "validation.h"

using namespace applytest;

namespace {

const QMap<QString, CardField> kFields = {
    {"ip", CardField::IPAddress},      {"mask", CardField::SubnetMask},   {"gw", CardField::Gateway},
    {"dns", CardField::DNSServer},     {"wins1", CardField::PrimaryWINS}, {"wins2", CardField::SecondaryWINS},
    {"name", CardField::ComputerName}, {"group", CardField::Workgroup},   {"suffix", CardField::DNSSuffix}};

// A valid manual card, DHCP, DNS and WINS automatic as `automatic` says, and an identification; then the edits,
// "field text" pairs ("~": an empty text): "clear" drops the changes, "dnsauto" and "winsauto" 1 or 0 switch a
// source.
void Edit(CAdapterEditor& editor, const QString& edits, const QString& automatic = QStringLiteral("000"))
{
    CNetworkCard card;
    card.m_IPAddress = CIPAddress(QStringLiteral("192.168.1.10"));
    card.m_SubnetMask = CIPAddress(QStringLiteral("255.255.255.0"));
    card.m_Gateways = card.m_DNSServers = Ips({"192.168.1.1", "192.168.1.254"});
    card.m_PrimaryWINS = CIPAddress(QStringLiteral("192.168.1.2"));
    card.m_DHCPEnabled = automatic[0] == u'1';
    card.m_DNSAuto = automatic[1] == u'1';
    card.m_WINSAuto = automatic[2] == u'1';
    editor.Reset({card}, {QStringLiteral("WS01"), QStringLiteral("WORKGROUP"), QStringLiteral("lan")});
    const QStringList parts = edits.split(u' ', Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.count(); i += 2) {
        const QString& field = parts[i];
        const QString text = parts[i + 1] == u'~' ? QString::fromLatin1("") : parts[i + 1];
        const CardField edited = kFields.value(field, CardField::None);
        if (field == QLatin1String("clear"))
            editor.ClearChanges(0);
        else if (field.endsWith(QLatin1String("auto")))
            (field == QLatin1String("dnsauto") ? editor.SetDNSAuto(0, text == u'1')
                                               : editor.SetWINSAuto(0, text == u'1'));
        else if (edited == CardField::ComputerName || edited == CardField::Workgroup || edited == CardField::DNSSuffix)
            editor.EditIdentity(edited, text);
        else
            editor.EditAddress(0, edited, text);
    }
}

} // namespace

class TestValidate : public QObject
{
    Q_OBJECT

private slots:
    // Edits on the valid card; DHCP, DNS and WINS automatic; the field named and the message (none: accepted).
    void rules_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("automatic");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, const char* edits, const char* automatic, const QString& problem) {
            QTest::newRow(name) << QString::fromLatin1(edits) << QString::fromLatin1(automatic) << problem;
        };
        const QString autoBox = "DNS/WINS can not be set automatically in current configuration.";
        row("valid card", "", "000", "");
        row("bad ip", "ip 300.1.1.1", "000", "ip Ip address 300.1.1.1 is not valid.");
        row("mask vs address", "ip 10.1.2.3 mask 255.0.0.0", "000",
            "mask Subnet mask 255.0.0.0 is not valid for entered ip address.");
        row("mask with a hole", "mask 255.255.255.1", "000", "mask Subnet mask 255.255.255.1 is not valid.");
        row("broadcast address", "ip 192.168.1.255", "000",
            "ip Ip address 192.168.1.255 is the broadcast address of its subnet.");
        row("dhcp without a lease", "ip 0.0.0.0 mask 0.0.0.0", "111", "");
        // What the model holds (0) shows again once the changes are dropped.
        row("refused text gone with the changes", "ip 1.2.3. clear ~", "000",
            "ip Ip address 0.0.0.0 is reserved and cannot be used.");
        row("cleared gateway", "gw ...", "000", "gw Ip address ... is not valid.");
        row("incomplete dns", "dns 10.1..", "000", "dns Ip address 10.1.. is not valid.");
        row("secondary wins beats mask", "mask 255.0.255.0 wins2 1.1.1.300", "000",
            "wins2 Ip address 1.1.1.300 is not valid.");
        row("gateway beats ip", "ip 999.1.1.1 gw 1.1.1.300", "000", "gw Ip address 1.1.1.300 is not valid.");
        row("name beats address", "ip ... name ~", "000", "name Computer name is empty.");
        row("no group", "group ~ name ~", "000", "group Group/domain name is empty.");
        row("manual with wins auto", "", "001", "wins1 " + autoBox);
        row("manual with dns auto", "", "011", "dns " + autoBox);
        // DHCP supplies the address, yet a malformed one still refuses the apply.
        row("dhcp, bad ip", "ip 1.2.3.", "111", "ip Ip address 1.2.3. is not valid.");
        // A complete typed address replaces what was refused before.
        row("corrected", "ip 1.2.3. ip 10.0.0.1 mask 255.0.0.0", "000", "");
    }
    void rules()
    {
        QFETCH(QString, edits);
        QFETCH(QString, automatic);
        CAdapterEditor editor;
        Edit(editor, edits, automatic);
        const CValidationProblem problem = Validate(editor.Card(0), editor.Wanted());
        QTEST((kFields.key(problem.field) + u' ' + problem.message).trimmed(), "problem");
    }

    // What one edit marks: the phases (A D W), a pending identification (I); then what the field shows, the
    // whole list for gateways and DNS servers. Text is compared as text: leading zeros are a change of the same
    // address. A typed list entry replaces the first one and leaves the list without it elsewhere; twelve digits
    // do not fit in 32 bits and read as 0: the first entry goes as for a cleared field, then the address
    // replaces the next. The suffix alone does not enable Apply.
    void marks_data()
    {
        QTest::addColumn<QString>("row");
        for (const char* row :
             {"ip 192.168.1.10 = ---- 192.168.1.10", "ip 192.168.001.010 = A--- 192.168.1.10",
              "mask 255.255.0.0 = A--- 255.255.0.0", "wins1 10.0.0.8 = --W- 10.0.0.8", "wins2 10.0.0.9 = --W- 10.0.0.9",
              "dns 10.0.0.1 = -D-- 10.0.0.1,192.168.1.254", "gw 10.0.0.7 = A--- 10.0.0.7,192.168.1.254",
              "gw 192.168.1.254 = A--- 192.168.1.254", "gw 192.168.001.001 = A--- 192.168.1.1",
              "gw ... = A--- 192.168.1.254", "gw 0.0.0.0 = A--- 0.0.0.0",
              "gw 192.168.. = ---- 192.168.1.1,192.168.1.254", "dnsauto 1 = -D--", "dnsauto 0 = ----",
              "winsauto 1 = --W-", "group OFFICE = ---I", "suffix corp.example = ----"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void marks()
    {
        QFETCH(QString, row);
        CAdapterEditor editor;
        Edit(editor, row.section(QStringLiteral(" = "), 0, 0));
        const CNetworkCard& card = editor.Card(0);
        const CardField field = kFields.value(row.section(u' ', 0, 0), CardField::None);
        QString marked = QString(card.m_AddressChanged ? u'A' : u'-') + (card.m_DNSChanged ? u'D' : u'-') +
                         (card.m_WINSChanged ? u'W' : u'-') + (editor.IdentityPending() ? u'I' : u'-');
        if (field == CardField::Gateway || field == CardField::DNSServer)
            marked += u' ' + Texts(field == CardField::Gateway ? card.m_Gateways : card.m_DNSServers).join(u',');
        else if (field != CardField::None && field <= CardField::SecondaryWINS)
            marked += u' ' + card.FieldText(field);
        QCOMPARE(marked.trimmed(), row.section(QStringLiteral(" = "), 1));
    }

    // OK checks every card it is about to apply, not only the one on screen, and shows the refused card with the
    // cursor in the field.
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

    // A manual gateway outside the subnet of 192.168.1.10/24 is asked about: DHCP, gateways, the one named.
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
        CAdapterEditor editor;
        Edit(editor, QString(), row[0] + QStringLiteral("00"));
        CNetworkCard card = editor.Card(0);
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
