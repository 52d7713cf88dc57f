// What the page accepts before applying, and what typing takes over into
// the model while the user edits.
#include "iplist.h"
#include "netconfig_rules.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include "msgbox.h"

#include <QtTest>

#include <memory>

namespace {

using iptest::Ips;
using iptest::Texts;

} // namespace

class TestValidate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void strictPattern();
    void maskRule();
    void validation_data();
    void validation();
    void addressIsComparedAsText();
    void maskAndWinsTakeOver();
    void listRule_data();
    void listRule();
    void typedGatewayKeystrokes();
    void editsOutsideFocusAreIgnored();

private:
    QLineEdit* Field(const QString& name) const { return m_Dialog->findChild<QLineEdit*>(name); }
    void FocusField(QLineEdit* field)
    {
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
    }
    // Shows card 0 afresh with no address field focused, flags cleared.
    void ShowCard()
    {
        m_Dialog->buttonCancel->setFocus();
        m_Dialog->SelectAdapter(0);
        Card().m_AddressChanged = Card().m_DNSChanged = Card().m_WINSChanged = false;
    }
    CNetworkCard& Card() { return m_Dialog->Adapters()[0]; }

    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
};

void TestValidate::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    m_Dialog = std::make_unique<CNetConfigImpl>();
    QCOMPARE(m_Dialog->ReadConfiguration(), 0ul);
    m_Dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_Dialog.get()));
    ShowCard();
    QuarvelMsgBoxHistory().clear();
}

void TestValidate::cleanup()
{
    m_Dialog.reset();
    m_Env.reset();
}

void TestValidate::strictPattern()
{
    const std::pair<const char*, bool> cases[] = {
        {"192.168.1.10", true}, {"010.001.000.255", true}, {"255.255.255.256", false}, {"1.2.3.0001", false},
        {"...", false},         {"10.0.1", false},         {"10.0.0.1x", false},       {"10.0. 0.1", false}};
    for (const auto& [text, valid] : cases)
        QVERIFY2(IsStrictAddress(QString::fromLatin1(text)) == valid, text);
}

void TestValidate::maskRule()
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"192.168.1.10", "255.255.255.0", true}, {"10.1.2.3", "255.0.0.0", false},
        {"192.168.0.5", "255.255.0.255", false}, {"192.168.0.5", "255.254.255.0", false},
        {"0.0.0.0", "0.255.0.0", false},         {"192.168.0.5", "255.255.255.1", true},
        {"192.168.7.5", "255.255.0.0", true},    {"192.168.1.1", "128.0.0.0", false},
        {"0.0.0.0", "0.0.0.0", true}};
    for (const auto& [address, mask, fits] : cases)
        QVERIFY2(MaskFitsAddress(CIPAddress(QString::fromLatin1(address)).Value(),
                                 CIPAddress(QString::fromLatin1(mask)).Value()) == fits, mask);
}

void TestValidate::validation_data()
{
    // Field texts to change from a valid page, the three check states, then
    // the expected box text (empty: accepted) and the field given the focus.
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<bool>("dnsAuto");
    QTest::addColumn<bool>("winsAuto");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString ok, autoBox = "DNS/WINS can not be set automatically in current configuration.";
    QTest::newRow("valid page") << QStringList() << false << false << false << ok << QString();
    QTest::newRow("all automatic") << QStringList() << true << true << true << ok << QString();
    QTest::newRow("bad ip") << QStringList{"ledIPAddress", "300.1.1.1"} << false << false << false
                            << "Ip address 300.1.1.1 is not valid." << "ledIPAddress";
    QTest::newRow("bad mask") << QStringList{"ledSubNet", "255.255.255.256"} << false << false << false
                              << "Subnet mask 255.255.255.256 is not valid." << "ledSubNet";
    QTest::newRow("mask vs address") << QStringList{"ledIPAddress", "10.1.2.3", "ledSubNet", "255.0.0.0"} << false
                                     << false << false << "Subnet mask 255.0.0.0 is not valid for entered ip address."
                                     << "ledSubNet";
    QTest::newRow("empty gateway") << QStringList{"ledGateway", ""} << false << false << false
                                   << "Ip address ... is not valid." << "ledGateway";
    QTest::newRow("bad dns") << QStringList{"ledDNSServer", "1.2.3.999"} << false << false << false
                             << "Ip address 1.2.3.999 is not valid." << "ledDNSServer";
    QTest::newRow("gateway beats ip") << QStringList{"ledIPAddress", "999.1.1.1", "ledGateway", "1.1.1.300"} << false
                                      << false << false << "Ip address 1.1.1.300 is not valid." << "ledGateway";
    QTest::newRow("wins beats mask") << QStringList{"ledSubNet", "255.255.255.256", "ledSecondaryWINS", "10.0.0"}
                                     << false << false << false << "Ip address 10.0.0. is not valid."
                                     << "ledSecondaryWINS";
    QTest::newRow("name beats address") << QStringList{"ledIPAddress", "", "ledHostName", ""} << false << false
                                        << false << "Computer name is empty." << "ledHostName";
    QTest::newRow("no group") << QStringList{"ledDomain", "", "ledHostName", ""} << false << false << false
                              << "Group/domain name is empty." << "ledDomain";
    QTest::newRow("manual with wins auto") << QStringList() << false << false << true << autoBox << "ledPrimaryWINS";
    QTest::newRow("manual with dns auto") << QStringList() << false << true << true << autoBox << "ledDNSServer";
    // DHCP supplies the address, yet a malformed one still refuses the apply.
    QTest::newRow("dhcp, bad ip") << QStringList{"ledIPAddress", "1.2.3"} << true << true << true
                                  << "Ip address 1.2.3. is not valid." << "ledIPAddress";
    QTest::newRow("dhcp with both auto") << QStringList{"ledDomain", ""} << true << true << true
                                         << "Group/domain name is empty." << "ledDomain";
}

void TestValidate::validation()
{
    QFETCH(QStringList, edits);
    QFETCH(bool, dhcp);
    QFETCH(bool, dnsAuto);
    QFETCH(bool, winsAuto);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    // Filled with the focus away from the fields, so the model is untouched.
    m_Dialog->buttonCancel->setFocus();
    const char* valid[][2] = {{"ledIPAddress", "192.168.1.10"}, {"ledSubNet", "255.255.255.0"},
                              {"ledGateway", "192.168.1.1"},    {"ledDNSServer", "192.168.1.1"},
                              {"ledPrimaryWINS", "192.168.1.2"}, {"ledSecondaryWINS", "0.0.0.0"},
                              {"ledHostName", "WS01"},          {"ledDomain", "WORKGROUP"}};
    for (const auto& f : valid)
        Field(QLatin1String(f[0]))->setText(QLatin1String(f[1]));
    for (int i = 0; i + 1 < edits.count(); i += 2)
        Field(edits.at(i))->setText(edits.at(i + 1));
    (dhcp ? m_Dialog->rbtnAuto : m_Dialog->rbtnManual)->setChecked(true);
    m_Dialog->ckbDNSAuto->setChecked(dnsAuto);
    m_Dialog->ckbHaveWins->setChecked(winsAuto);
    // Validation reads the widgets; fields left enabled so they can take focus.
    for (int i = 0; i < 6; ++i)
        Field(QLatin1String(valid[i][0]))->setEnabled(true);
    QuarvelMsgBoxHistory().clear();

    const bool accepted = m_Dialog->ValidateInput();
    QCOMPARE(accepted, message.isEmpty());
    QCOMPARE(QuarvelMsgBoxHistory(), accepted ? QStringList() : QStringList{message});
    if (accepted)
        return;
    QLineEdit* expected = Field(focus);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(expected));
    QCOMPARE(expected->selectedText(), expected->displayText());
}

void TestValidate::addressIsComparedAsText()
{
    const quint32 stored = Card().m_IPAddress.Value();
    QCOMPARE(Card().m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));
    FocusField(m_Dialog->ledIPAddress);
    m_Dialog->ledIPAddress->setText(QStringLiteral("192.168.1.5"));
    QVERIFY2(!Card().m_AddressChanged, "the same text is no change");
    m_Dialog->ledIPAddress->setText(QStringLiteral("192.168.001.5"));
    QVERIFY(Card().m_AddressChanged);
    QCOMPARE(Card().m_IPAddress.Value(), stored);
    QVERIFY(m_Dialog->btnApply->isEnabled());

    m_Dialog->ledIPAddress->setText(QStringLiteral("10.0.0.77"));
    QCOMPARE(Card().m_IPAddress.ToString(), QStringLiteral("10.0.0.77"));
    // Incomplete text does not parse and leaves 0 behind, as typed.
    m_Dialog->ledIPAddress->setText(QStringLiteral("10.0"));
    QCOMPARE(Card().m_IPAddress.Value(), 0u);
    QVERIFY(!Card().m_DNSChanged && !Card().m_WINSChanged);
}

void TestValidate::maskAndWinsTakeOver()
{
    FocusField(m_Dialog->ledSubNet);
    m_Dialog->ledSubNet->setText(QStringLiteral("255.255.0.0"));
    QCOMPARE(Card().m_SubnetMask.ToString(), QStringLiteral("255.255.0.0"));
    QVERIFY(Card().m_AddressChanged && !Card().m_WINSChanged);

    FocusField(m_Dialog->ledPrimaryWINS);
    m_Dialog->ledPrimaryWINS->setText(QStringLiteral("10.9.9.9"));
    FocusField(m_Dialog->ledSecondaryWINS);
    m_Dialog->ledSecondaryWINS->setText(QStringLiteral("10.9.9.8"));
    QCOMPARE(Card().m_PrimaryWINS.ToString(), QStringLiteral("10.9.9.9"));
    QCOMPARE(Card().m_SecondaryWINS.ToString(), QStringLiteral("10.9.9.8"));
    QVERIFY(Card().m_WINSChanged && !Card().m_DNSChanged);
}

void TestValidate::listRule_data()
{
    QTest::addColumn<bool>("gateway");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("changed");

    const QStringList two{"192.168.1.1", "192.168.1.254"}, second{"192.168.1.254"};
    for (bool gw : {true, false}) {
        const char* k = gw ? "gateway" : "dns";
        QTest::addRow("%s: new replaces first", k) << gw << two << "10.0.0.1"
                                                   << QStringList{"10.0.0.1", "192.168.1.254"} << true;
        QTest::addRow("%s: duplicate shrinks list", k) << gw << two << "192.168.1.254" << second << true;
        QTest::addRow("%s: other spelling", k) << gw << QStringList{"10.0.0.1", "192.168.1.254"} << "010.0.0.1"
                                               << QStringList{"10.0.0.1", "192.168.1.254"} << true;
        // Twelve digits do not fit in 32 bits and read as 0: the first entry
        // goes as for a cleared field, then the address replaces the next.
        QTest::addRow("%s: long digit run drops two", k) << gw << two << "192.168.001.001"
                                                         << QStringList{"192.168.1.1"} << true;
        QTest::addRow("%s: cleared drops first", k) << gw << two << "" << second << true;
        QTest::addRow("%s: 0.0.0.0 drops twice, adds 0", k) << gw << two << "0.0.0.0" << QStringList{"0.0.0.0"}
                                                            << true;
        QTest::addRow("%s: incomplete changes nothing", k) << gw << two << "192.168" << two << false;
        QTest::addRow("%s: out of range changes nothing", k) << gw << two << "192.168.1.300" << two << false;
        QTest::addRow("%s: too many digits read as 0", k) << gw << two << "999.999.999.999" << second << true;
        QTest::addRow("%s: cleared empty list still marks", k) << gw << QStringList() << "" << QStringList() << true;
    }
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
    QLineEdit* field = gateway ? m_Dialog->ledGateway : m_Dialog->ledDNSServer;
    FocusField(field);
    field->setText(typed);
    QCOMPARE(Texts(gateway ? Card().m_Gateways : Card().m_DNSServers), after);
    QCOMPARE(gateway ? Card().m_AddressChanged : Card().m_DNSChanged, changed);
    QVERIFY(!(gateway ? Card().m_DNSChanged : Card().m_AddressChanged));
    QCOMPARE(m_Dialog->btnApply->isEnabled(), changed);
}

void TestValidate::typedGatewayKeystrokes()
{
    // Every intermediate text runs the rule: the first keystroke over a
    // selected field leaves "1..." which removes nothing.
    Card().m_Gateways = Ips({"192.168.1.1", "192.168.1.254"});
    ShowCard();
    FocusField(m_Dialog->ledGateway);
    m_Dialog->ledGateway->selectAll();
    QTest::keyClicks(m_Dialog->ledGateway, QStringLiteral("10.0.0.1"));
    QCOMPARE(Texts(Card().m_Gateways), (QStringList{"10.0.0.1", "192.168.1.254"}));
    QVERIFY(Card().m_AddressChanged);
}

void TestValidate::editsOutsideFocusAreIgnored()
{
    const CNetworkCard before = Card();
    FocusField(m_Dialog->ledHostName);
    m_Dialog->ledIPAddress->setText(QStringLiteral("10.0.0.1"));
    m_Dialog->ledGateway->setText(QStringLiteral("10.0.0.254"));
    m_Dialog->ledPrimaryWINS->setText(QStringLiteral("10.0.0.2"));
    QCOMPARE(Card().m_IPAddress, before.m_IPAddress);
    QCOMPARE(Card().m_Gateways, before.m_Gateways);
    QCOMPARE(Card().m_PrimaryWINS, before.m_PrimaryWINS);
    QVERIFY(!Card().m_AddressChanged && !Card().m_WINSChanged);

    // The identification fields only refresh the controls.
    m_Dialog->ledHostName->setText(QStringLiteral("WS02"));
    QVERIFY(m_Dialog->btnApply->isEnabled());
    m_Dialog->ledHostName->setText(m_Dialog->ComputerName());
    QVERIFY(!m_Dialog->btnApply->isEnabled());
}

QTEST_MAIN(TestValidate)
#include "tst_validate.moc"
