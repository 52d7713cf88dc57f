// What the page accepts before applying, and what typing takes into the model.
#include "applytestutil.h"

using namespace applytest;

class TestValidate : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_Fx.Open(0)); }
    void cleanup() { m_Fx.Close(); }
    void validation_data();
    void validation();
    void listRule_data();
    void listRule();

private:
    QLineEdit* Field(const QString& name) const { return m_Fx.dialog->findChild<QLineEdit*>(name); }
    // Shows card 0 afresh with no address field focused, flags cleared.
    void ShowCard()
    {
        m_Fx.dialog->buttonCancel->setFocus();
        m_Fx.dialog->SelectAdapter(0);
        Card().m_AddressChanged = Card().m_DNSChanged = Card().m_WINSChanged = false;
    }
    CNetworkCard& Card() { return m_Fx.Card(0); }
    Fixture m_Fx;
};

void TestValidate::validation_data()
{
    // Fields changed on a valid page; DHCP, DNS and WINS automatic; box text
    // (none: accepted); the field given the focus.
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QString>("automatic");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString autoBox = "DNS/WINS can not be set automatically in current configuration.";
    auto row = [](const char* name, QStringList edits, const char* automatic, QString message, QString focus) {
        QTest::newRow(name) << edits << QString::fromLatin1(automatic) << message << focus;
    };
    row("valid page", {}, "000", QString(), QString());
    row("bad ip", {"ledIPAddress", "300.1.1.1"}, "000", "Ip address 300.1.1.1 is not valid.", "ledIPAddress");
    row("bad mask", {"ledSubNet", "255.255.255.256"}, "000", "Subnet mask 255.255.255.256 is not valid.",
        "ledSubNet");
    row("mask vs address", {"ledIPAddress", "10.1.2.3", "ledSubNet", "255.0.0.0"}, "000",
        "Subnet mask 255.0.0.0 is not valid for entered ip address.", "ledSubNet");
    row("empty gateway", {"ledGateway", ""}, "000", "Ip address ... is not valid.", "ledGateway");
    row("gateway beats ip", {"ledIPAddress", "999.1.1.1", "ledGateway", "1.1.1.300"}, "000",
        "Ip address 1.1.1.300 is not valid.", "ledGateway");
    row("name beats address", {"ledIPAddress", "", "ledHostName", ""}, "000", "Computer name is empty.",
        "ledHostName");
    row("no group", {"ledDomain", "", "ledHostName", ""}, "000", "Group/domain name is empty.", "ledDomain");
    row("manual with wins auto", {}, "001", autoBox, "ledPrimaryWINS");
    row("manual with dns auto", {}, "011", autoBox, "ledDNSServer");
    // DHCP supplies the address, yet a malformed one still refuses the apply.
    row("dhcp, bad ip", {"ledIPAddress", "1.2.3"}, "111", "Ip address 1.2.3. is not valid.", "ledIPAddress");
}

void TestValidate::validation()
{
    QFETCH(QStringList, edits);
    QFETCH(QString, automatic);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    CNetConfigImpl& dlg = *m_Fx.dialog;
    dlg.buttonCancel->setFocus(); // the model stays untouched
    const char* valid[][2] = {{"ledIPAddress", "192.168.1.10"}, {"ledSubNet", "255.255.255.0"},
                              {"ledGateway", "192.168.1.1"},    {"ledDNSServer", "192.168.1.1"},
                              {"ledPrimaryWINS", "192.168.1.2"}, {"ledSecondaryWINS", "0.0.0.0"},
                              {"ledHostName", "WS01"},          {"ledDomain", "WORKGROUP"}};
    for (const auto& f : valid)
        Field(QLatin1String(f[0]))->setText(QLatin1String(f[1]));
    for (int i = 0; i + 1 < edits.count(); i += 2)
        Field(edits.at(i))->setText(edits.at(i + 1));
    (automatic[0] == u'1' ? dlg.rbtnAuto : dlg.rbtnManual)->setChecked(true);
    dlg.ckbDNSAuto->setChecked(automatic[1] == u'1');
    dlg.ckbHaveWins->setChecked(automatic[2] == u'1');
    // Validation reads the widgets; fields left enabled so they can take focus.
    for (int i = 0; i < 6; ++i)
        Field(QLatin1String(valid[i][0]))->setEnabled(true);
    m_Fx.boxes.texts().clear();

    const bool accepted = dlg.ValidateInput();
    QCOMPARE(m_Fx.boxes.texts(), accepted ? QStringList() : QStringList{message});
    QCOMPARE(accepted, message.isEmpty());
    if (accepted)
        return;
    QLineEdit* expected = Field(focus);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(expected));
    QCOMPARE(expected->selectedText(), expected->displayText());
}

void TestValidate::listRule_data()
{
    QTest::addColumn<bool>("gateway");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("changed");

    const QStringList two{"192.168.1.1", "192.168.1.254"}, second{"192.168.1.254"};
    QTest::newRow("dns: new replaces first") << false << two << "10.0.0.1"
                                             << QStringList{"10.0.0.1", "192.168.1.254"} << true;
    QTest::newRow("duplicate shrinks list") << true << two << "192.168.1.254" << second << true;
    // Twelve digits do not fit in 32 bits and read as 0: the first entry
    // goes as for a cleared field, then the address replaces the next.
    QTest::newRow("long digit run drops two") << true << two << "192.168.001.001" << QStringList{"192.168.1.1"}
                                              << true;
    QTest::newRow("cleared drops first") << true << two << "" << second << true;
    QTest::newRow("0.0.0.0 drops twice, adds 0") << true << two << "0.0.0.0" << QStringList{"0.0.0.0"} << true;
    QTest::newRow("incomplete changes nothing") << true << two << "192.168" << two << false;
}

void TestValidate::listRule()
{
    QFETCH(bool, gateway);
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(bool, changed);
    (gateway ? Card().m_Gateways : Card().m_DNSServers) = Ips(before);
    ShowCard();
    QLineEdit* field = gateway ? m_Fx.dialog->ledGateway : m_Fx.dialog->ledDNSServer;
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    field->setText(typed);
    QCOMPARE(Texts(gateway ? Card().m_Gateways : Card().m_DNSServers), after);
    QCOMPARE(gateway ? Card().m_AddressChanged : Card().m_DNSChanged, changed);
    QVERIFY(!(gateway ? Card().m_DNSChanged : Card().m_AddressChanged));
    QCOMPARE(m_Fx.dialog->btnApply->isEnabled(), changed);
}

QTEST_MAIN(TestValidate)
#include "tst_validate.moc"
