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
    // DHCP, DNS and WINS automatic, then the edits on the valid card; the field named and the message (none:
    // accepted). What the model holds (0) shows again once the changes are dropped; DHCP supplies the address,
    // yet a malformed one still refuses the apply; a complete typed address replaces what was refused before.
    void rules_data()
    {
        Rows({"000 = ", "000 ip 300.1.1.1 = ip Ip address 300.1.1.1 is not valid.",
              "000 ip 10.1.2.3 mask 255.0.0.0 = mask Subnet mask 255.0.0.0 is not valid for entered ip address.",
              "000 mask 255.255.255.1 = mask Subnet mask 255.255.255.1 is not valid.",
              "000 ip 192.168.1.255 = ip Ip address 192.168.1.255 is the broadcast address of its subnet.",
              "111 ip 0.0.0.0 mask 0.0.0.0 = ",
              "000 ip 1.2.3. clear ~ = ip Ip address 0.0.0.0 is reserved and cannot be used.",
              "000 gw ... = gw Ip address ... is not valid.", "000 dns 10.1.. = dns Ip address 10.1.. is not valid.",
              "000 mask 255.0.255.0 wins2 1.1.1.300 = wins2 Ip address 1.1.1.300 is not valid.",
              "000 ip 999.1.1.1 gw 1.1.1.300 = gw Ip address 1.1.1.300 is not valid.",
              "000 ip ... name ~ = name Computer name is empty.",
              "000 group ~ name ~ = group Group/domain name is empty.",
              "001 = wins1 DNS/WINS can not be set automatically in current configuration.",
              "011 = dns DNS/WINS can not be set automatically in current configuration.",
              "111 ip 1.2.3. = ip Ip address 1.2.3. is not valid.", "000 ip 1.2.3. ip 10.0.0.1 mask 255.0.0.0 = "});
    }
    void rules()
    {
        CAdapterEditor editor;
        Edit(editor, Row().mid(1, Row().indexOf(QStringLiteral("=")) - 1).join(u' '), Row()[0]);
        const CValidationProblem problem = Validate(editor.Card(0), editor.Wanted());
        QCOMPARE((kFields.key(problem.field) + u' ' + problem.message).trimmed(), Expected());
    }

    // What one edit marks: the phases (A D W), a pending identification (I); then what the field shows, the
    // whole list for gateways and DNS servers. Text is compared as text: leading zeros are a change of the same
    // address. A typed list entry replaces the first one and leaves the list without it elsewhere; twelve digits
    // do not fit in 32 bits and read as 0: the first entry goes as for a cleared field, then the address
    // replaces the next. The suffix alone does not enable Apply.
    void marks_data()
    {
        Rows({"ip 192.168.1.10 = ---- 192.168.1.10", "ip 192.168.001.010 = A--- 192.168.1.10",
              "mask 255.255.0.0 = A--- 255.255.0.0", "wins1 10.0.0.8 = --W- 10.0.0.8", "wins2 10.0.0.9 = --W- 10.0.0.9",
              "dns 10.0.0.1 = -D-- 10.0.0.1,192.168.1.254", "gw 10.0.0.7 = A--- 10.0.0.7,192.168.1.254",
              "gw 192.168.1.254 = A--- 192.168.1.254", "gw 192.168.001.001 = A--- 192.168.1.1",
              "gw ... = A--- 192.168.1.254", "gw 0.0.0.0 = A--- 0.0.0.0",
              "gw 192.168.. = ---- 192.168.1.1,192.168.1.254", "dnsauto 1 = -D--", "dnsauto 0 = ----",
              "winsauto 1 = --W-", "group OFFICE = ---I", "suffix corp.example = ----"});
    }
    void marks()
    {
        CAdapterEditor editor;
        Edit(editor, Row().mid(0, Row().indexOf(QStringLiteral("="))).join(u' '));
        const CNetworkCard& card = editor.Card(0);
        const CardField field = kFields.value(Row()[0], CardField::None);
        QString marked = QString(card.m_AddressChanged ? u'A' : u'-') + (card.m_DNSChanged ? u'D' : u'-') +
                         (card.m_WINSChanged ? u'W' : u'-') + (editor.IdentityPending() ? u'I' : u'-');
        if (field == CardField::Gateway || field == CardField::DNSServer)
            marked += u' ' + Texts(field == CardField::Gateway ? card.m_Gateways : card.m_DNSServers).join(u',');
        else if (field != CardField::None && field <= CardField::SecondaryWINS)
            marked += u' ' + card.FieldText(field);
        QCOMPARE(marked.trimmed(), Expected());
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
        Rows({"0 192.168.1.1,192.168.1.254", "0 192.168.1.1,192.168.2.1 192.168.2.1", "0 0.0.0.0", "1 10.0.0.1"});
    }
    void gatewayWarning()
    {
        const QStringList row = Row();
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
