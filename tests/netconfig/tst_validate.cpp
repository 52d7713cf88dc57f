// What the page accepts before applying, and what typing takes over into
// the model while the user edits.
#include "netconfig_rules.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include "msgbox.h"

#include <QtTest>

#include <memory>

namespace {

CIPAddressList Ips(const QStringList& texts)
{
    CIPAddressList list;
    for (const QString& text : texts)
        list.append(CIPAddress(text));
    return list;
}

QStringList Texts(const CIPAddressList& list)
{
    QStringList texts;
    for (const CIPAddress& address : list)
        texts << address.ToString();
    return texts;
}

} // namespace

class TestValidate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void strictPattern_data();
    void strictPattern();
    void maskRule_data();
    void maskRule();

    void validation_data();
    void validation();
    void disabledFieldsAreChecked();

    void addressIsComparedAsText();
    void maskAndWinsTakeOver();
    void gatewayRule_data();
    void gatewayRule();
    void dnsServerRule_data();
    void dnsServerRule();
    void typedGatewayKeystrokes();
    void clearingGatewayEnablesApply();
    void editsOutsideFocusAreIgnored();

private:
    QLineEdit* Field(const QString& name) const { return m_Dialog->findChild<QLineEdit*>(name); }
    void FillValidPage();
    void FocusField(QLineEdit* field);
    void ShowCard();
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
    m_Dialog->SelectAdapter(0);
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

void TestValidate::FillValidPage()
{
    // Filled with the focus away from the fields, so the model is untouched.
    m_Dialog->buttonCancel->setFocus();
    m_Dialog->ledIPAddress->setText(QStringLiteral("192.168.1.10"));
    m_Dialog->ledSubNet->setText(QStringLiteral("255.255.255.0"));
    m_Dialog->ledGateway->setText(QStringLiteral("192.168.1.1"));
    m_Dialog->ledDNSServer->setText(QStringLiteral("192.168.1.1"));
    m_Dialog->ledPrimaryWINS->setText(QStringLiteral("192.168.1.2"));
    m_Dialog->ledSecondaryWINS->setText(QStringLiteral("0.0.0.0"));
    m_Dialog->ledHostName->setText(QStringLiteral("WS01"));
    m_Dialog->ledDomain->setText(QStringLiteral("WORKGROUP"));
    m_Dialog->rbtnManual->setChecked(true);
    m_Dialog->ckbDNSAuto->setChecked(false);
    m_Dialog->ckbHaveWins->setChecked(false);
}

// Shows card 0 afresh with no address field focused, flags cleared.
void TestValidate::ShowCard()
{
    m_Dialog->buttonCancel->setFocus();
    m_Dialog->SelectAdapter(0);
    Card().m_AddressChanged = Card().m_DNSChanged = Card().m_WINSChanged = false;
}

void TestValidate::FocusField(QLineEdit* field)
{
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
}

void TestValidate::strictPattern_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "192.168.1.10" << true;
    QTest::newRow("zeros") << "0.0.0.0" << true;
    QTest::newRow("leading zeros") << "010.001.000.255" << true;
    QTest::newRow("256") << "255.255.255.256" << false;
    QTest::newRow("300") << "300.1.1.1" << false;
    QTest::newRow("four digits") << "1.2.3.0001" << false;
    QTest::newRow("empty mask field") << "..." << false;
    QTest::newRow("incomplete") << "192.168.." << false;
    QTest::newRow("three parts") << "10.0.1" << false;
    QTest::newRow("trailing text") << "10.0.0.1x" << false;
    QTest::newRow("blank inside") << "10.0. 0.1" << false;
}

void TestValidate::strictPattern()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsStrictAddress(text), valid);
}

void TestValidate::maskRule_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("fits");
    QTest::newRow("class C") << "192.168.1.10" << "255.255.255.0" << true;
    QTest::newRow("second octet outside") << "10.1.2.3" << "255.0.0.0" << false;
    QTest::newRow("class B") << "172.16.5.4" << "255.255.0.0" << true;
    QTest::newRow("m3 < m4") << "192.168.0.5" << "255.255.0.255" << false;
    QTest::newRow("m2 < m3") << "192.168.0.5" << "255.254.255.0" << false;
    QTest::newRow("m1 < m2") << "0.0.0.0" << "0.255.0.0" << false;
    QTest::newRow("non-contiguous octet") << "192.168.0.5" << "255.255.255.1" << true;
    QTest::newRow("third octet not compared") << "192.168.7.5" << "255.255.0.0" << true;
    QTest::newRow("first octet outside") << "192.168.1.1" << "128.0.0.0" << false;
    QTest::newRow("all zero") << "0.0.0.0" << "0.0.0.0" << true;
}

void TestValidate::maskRule()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(bool, fits);
    QCOMPARE(MaskFitsAddress(CIPAddress(address).Value(), CIPAddress(mask).Value()), fits);
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

    const QString noBox;
    QTest::newRow("valid page") << QStringList() << false << false << false << noBox << QString();
    QTest::newRow("all automatic") << QStringList() << true << true << true << noBox << QString();
    QTest::newRow("bad ip") << QStringList{"ledIPAddress", "300.1.1.1"} << false << false << false
                            << "Ip address 300.1.1.1 is not valid." << "ledIPAddress";
    QTest::newRow("bad mask") << QStringList{"ledSubNet", "255.255.255.256"} << false << false << false
                              << "Subnet mask 255.255.255.256 is not valid." << "ledSubNet";
    QTest::newRow("mask vs address") << QStringList{"ledIPAddress", "10.1.2.3", "ledSubNet", "255.0.0.0"} << false
                                     << false << false << "Subnet mask 255.0.0.0 is not valid for entered ip address."
                                     << "ledSubNet";
    QTest::newRow("class B accepted") << QStringList{"ledIPAddress", "172.16.5.4", "ledSubNet", "255.255.0.0"}
                                      << false << false << false << noBox << QString();
    QTest::newRow("growing mask") << QStringList{"ledSubNet", "255.255.0.255"} << false << false << false
                                  << "Subnet mask 255.255.0.255 is not valid for entered ip address." << "ledSubNet";
    QTest::newRow("empty gateway") << QStringList{"ledGateway", ""} << false << false << false
                                   << "Ip address ... is not valid." << "ledGateway";
    QTest::newRow("bad dns") << QStringList{"ledDNSServer", "1.2.3.999"} << false << false << false
                             << "Ip address 1.2.3.999 is not valid." << "ledDNSServer";
    QTest::newRow("bad primary wins") << QStringList{"ledPrimaryWINS", "256.0.0.0"} << false << false << false
                                      << "Ip address 256.0.0.0 is not valid." << "ledPrimaryWINS";
    QTest::newRow("gateway beats ip") << QStringList{"ledIPAddress", "999.1.1.1", "ledGateway", "1.1.1.300"} << false
                                      << false << false << "Ip address 1.1.1.300 is not valid." << "ledGateway";
    QTest::newRow("wins beats mask") << QStringList{"ledSubNet", "255.255.255.256", "ledSecondaryWINS", "10.0.0"}
                                     << false << false << false << "Ip address 10.0.0. is not valid."
                                     << "ledSecondaryWINS";
    QTest::newRow("no computer name") << QStringList{"ledHostName", ""} << false << false << false
                                      << "Computer name is empty." << "ledHostName";
    QTest::newRow("name beats address") << QStringList{"ledIPAddress", "", "ledHostName", ""} << false << false
                                        << false << "Computer name is empty." << "ledHostName";
    QTest::newRow("no group") << QStringList{"ledDomain", "", "ledHostName", ""} << false << false << false
                              << "Group/domain name is empty." << "ledDomain";
    QTest::newRow("manual with wins auto") << QStringList() << false << false << true
                                           << "DNS/WINS can not be set automatically in current configuration."
                                           << "ledPrimaryWINS";
    QTest::newRow("manual with dns auto") << QStringList() << false << true << true
                                          << "DNS/WINS can not be set automatically in current configuration."
                                          << "ledDNSServer";
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

    FillValidPage();
    for (int i = 0; i + 1 < edits.count(); i += 2)
        Field(edits.at(i))->setText(edits.at(i + 1));
    (dhcp ? m_Dialog->rbtnAuto : m_Dialog->rbtnManual)->setChecked(true);
    m_Dialog->ckbDNSAuto->setChecked(dnsAuto);
    m_Dialog->ckbHaveWins->setChecked(winsAuto);
    // Validation reads the widgets; fields left enabled so they can take focus.
    for (const char* name : {"ledIPAddress", "ledSubNet", "ledGateway", "ledDNSServer", "ledPrimaryWINS",
                             "ledSecondaryWINS"})
        Field(QLatin1String(name))->setEnabled(true);
    QuarvelMsgBoxHistory().clear();

    const bool accepted = m_Dialog->ValidateInput();
    QCOMPARE(accepted, message.isEmpty());
    if (accepted) {
        QVERIFY(QuarvelMsgBoxHistory().isEmpty());
        return;
    }
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{message});
    QLineEdit* expected = Field(focus);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(expected));
    QCOMPARE(expected->selectedText(), expected->displayText());
}

void TestValidate::disabledFieldsAreChecked()
{
    // DHCP supplies the address, yet a malformed one still refuses the apply.
    FillValidPage();
    m_Dialog->rbtnAuto->setChecked(true);
    m_Dialog->ledIPAddress->setText(QStringLiteral("1.2.3"));
    m_Dialog->ledIPAddress->setEnabled(false);
    QVERIFY(!m_Dialog->ValidateInput());
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{QStringLiteral("Ip address 1.2.3. is not valid.")});
}

void TestValidate::addressIsComparedAsText()
{
    const quint32 stored = Card().m_IPAddress.Value();
    QCOMPARE(Card().m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));
    QVERIFY(!Card().m_AddressChanged);

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
    QVERIFY(Card().m_AddressChanged);
    QVERIFY(!Card().m_WINSChanged);

    FocusField(m_Dialog->ledPrimaryWINS);
    m_Dialog->ledPrimaryWINS->setText(QStringLiteral("10.9.9.9"));
    FocusField(m_Dialog->ledSecondaryWINS);
    m_Dialog->ledSecondaryWINS->setText(QStringLiteral("10.9.9.8"));
    QCOMPARE(Card().m_PrimaryWINS.ToString(), QStringLiteral("10.9.9.9"));
    QCOMPARE(Card().m_SecondaryWINS.ToString(), QStringLiteral("10.9.9.8"));
    QVERIFY(Card().m_WINSChanged);
    QVERIFY(!Card().m_DNSChanged);
}

void TestValidate::gatewayRule_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("changed");

    const QStringList two{"192.168.1.1", "192.168.1.254"};
    QTest::newRow("new address replaces first") << two << "10.0.0.1" << QStringList{"10.0.0.1", "192.168.1.254"}
                                                << true;
    QTest::newRow("duplicate shrinks list") << two << "192.168.1.254" << QStringList{"192.168.1.254"} << true;
    QTest::newRow("same address, other spelling")
        << QStringList{"10.0.0.1", "192.168.1.254"} << "010.0.0.1" << QStringList{"10.0.0.1", "192.168.1.254"}
        << true;
    // Twelve digits do not fit in 32 bits and read as 0: the first entry goes
    // as for a cleared field, then the complete address replaces the next.
    QTest::newRow("long digit run drops two") << two << "192.168.001.001" << QStringList{"192.168.1.1"} << true;
    QTest::newRow("cleared drops first") << two << "" << QStringList{"192.168.1.254"} << true;
    QTest::newRow("zero digits drop first") << two << "0.00.." << QStringList{"192.168.1.254"} << true;
    QTest::newRow("0.0.0.0 drops twice, adds 0") << two << "0.0.0.0" << QStringList{"0.0.0.0"} << true;
    QTest::newRow("incomplete changes nothing") << two << "192.168" << two << false;
    QTest::newRow("out of range changes nothing") << two << "192.168.1.300" << two << false;
    QTest::newRow("too many digits read as 0") << two << "999.999.999.999" << QStringList{"192.168.1.254"} << true;
    QTest::newRow("cleared empty list still marks") << QStringList() << "" << QStringList() << true;
    QTest::newRow("address into empty list") << QStringList() << "10.1.1.1" << QStringList{"10.1.1.1"} << true;
}

void TestValidate::gatewayRule()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(bool, changed);

    Card().m_Gateways = Ips(before);
    ShowCard();
    FocusField(m_Dialog->ledGateway);
    m_Dialog->ledGateway->setText(typed);
    QCOMPARE(Texts(Card().m_Gateways), after);
    QCOMPARE(Card().m_AddressChanged, changed);
    QVERIFY(!Card().m_DNSChanged);
}

void TestValidate::dnsServerRule_data()
{
    gatewayRule_data();
}

void TestValidate::dnsServerRule()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    QFETCH(bool, changed);

    Card().m_DNSServers = Ips(before);
    ShowCard();
    FocusField(m_Dialog->ledDNSServer);
    m_Dialog->ledDNSServer->setText(typed);
    QCOMPARE(Texts(Card().m_DNSServers), after);
    QCOMPARE(Card().m_DNSChanged, changed);
    QVERIFY(!Card().m_AddressChanged);
}

void TestValidate::typedGatewayKeystrokes()
{
    // Typed key by key, every intermediate text runs the rule: the first
    // keystroke over a selected field leaves "1..." which removes nothing,
    // the completed address replaces the old first entry.
    Card().m_Gateways = Ips({"192.168.1.1", "192.168.1.254"});
    ShowCard();
    FocusField(m_Dialog->ledGateway);
    m_Dialog->ledGateway->selectAll();
    QTest::keyClicks(m_Dialog->ledGateway, QStringLiteral("10.0.0.1"));
    QCOMPARE(m_Dialog->ledGateway->text(), QStringLiteral("10.0.0.1"));
    QCOMPARE(Texts(Card().m_Gateways), (QStringList{"10.0.0.1", "192.168.1.254"}));
    QVERIFY(Card().m_AddressChanged);
}

void TestValidate::clearingGatewayEnablesApply()
{
    QVERIFY(!m_Dialog->btnApply->isEnabled());
    const int before = Card().m_Gateways.count();
    QVERIFY(before > 0);
    FocusField(m_Dialog->ledGateway);
    m_Dialog->ledGateway->clear();
    QCOMPARE(m_Dialog->ledGateway->text(), QStringLiteral("..."));
    QCOMPARE(Card().m_Gateways.count(), before - 1);
    QVERIFY(m_Dialog->btnApply->isEnabled());
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
