#include "hosthive.h"
#include "msgbox.h"
#include "netconfigimpl.h"

#include <QtTest>

#include <memory>

namespace {

CIPAddress Ip(const char* text)
{
    return CIPAddress(QString::fromLatin1(text));
}

struct Flags {
    bool address, dns, wins;
    bool operator==(const Flags& o) const { return address == o.address && dns == o.dns && wins == o.wins; }
};

QList<Flags> FlagsOf(const CNetworkCardList& cards)
{
    QList<Flags> flags;
    for (const CNetworkCard& card : cards)
        flags.append({card.m_AddressChanged, card.m_DNSChanged, card.m_WINSChanged});
    return flags;
}

const QRegularExpression kIndexCheck(QStringLiteral("ASSERT: \"Index < \\(int\\)m_Adapters\\.count\\(\\)\""));
const QRegularExpression kCardCheck(QStringLiteral("ASSERT: \"0 != pNetCard\""));
const QRegularExpression kRowCheck(QStringLiteral("ASSERT: \"currIndex < cbAdapters->count\\(\\)\""));

const int kWired = 0;    // sample host: static addresses, static DNS and WINS
const int kWireless = 1; // sample host: everything from DHCP

} // namespace

// The main dialog controller on the sample host.
class TestController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void construction();
    void nameValidator_data();
    void nameValidator();
    void selectAdapterShowsCard_data();
    void selectAdapterShowsCard();
    void enablingTable_data();
    void enablingTable();
    void manualOnDhcpAdapter();
    void autoAndForeignIdsSetNothing();
    void checkBoxes_data();
    void checkBoxes();
    void selectingAnotherAdapterKeepsFlags();
    void applyFollowsIdentification_data();
    void applyFollowsIdentification();
    void tabBarPagesAndDefaultButton_data();
    void tabBarPagesAndDefaultButton();
    void f5KeepsRowDropsEdits_data();
    void f5KeepsRowDropsEdits();
    void refreshAfterAdapterLost();
    void rowBeyondListShowsFirst();
    void noCardIsReported();
    void hideUtilitiesPageAndCancel();
    void systemError_data();
    void systemError();
    void systemErrorFromProvider();

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
};

void TestController::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    m_Dialog = std::make_unique<CNetConfigImpl>();
    QCOMPARE(m_Dialog->ReadConfiguration(), 0ul);
    m_Dialog->SelectAdapter(kWired);
    QuarvelMsgBoxHistory().clear();
}

void TestController::cleanup()
{
    m_Dialog.reset();
    m_Env.reset();
}

#define CHILDREN(T, ...) std::initializer_list<T*>{__VA_ARGS__}

void TestController::construction()
{
    CNetConfigImpl& d = *m_Dialog;
    QStringList titles;
    for (int i = 0; i < d.tbPageMain->count(); ++i) {
        titles << d.tbPageMain->tab(i)->text();
        QVERIFY(!d.tbPageMain->tab(i)->iconSet().isNull());
    }
    QCOMPARE(titles, (QStringList{"Network adapters", "Network drives", "Network identification", "Network utilities"}));
    QCOMPARE(d.tbPageMain->currentIndex(), 0);

    QCOMPARE(d.chlShareList->columnCount(), 2);
    QCOMPARE(d.chlShareList->headerItem()->text(0) + u'|' + d.chlShareList->headerItem()->text(1),
             QStringLiteral("Drive|Network path"));
    QCOMPARE(QList<int>({d.chlShareList->columnWidth(0), d.chlShareList->columnWidth(1)}), QList<int>({50, 250}));

    // The test executables carry the run path that finds the shell module.
    QVERIFY(d.HasShellExecute());
}

void TestController::nameValidator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");

    QTest::newRow("dotted, blank and dash") << "my pc-1.corp" << int(QValidator::Acceptable);
    QTest::newRow("empty") << "" << int(QValidator::Intermediate);
    for (const char* bad : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "|"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << int(QValidator::Invalid);
}

void TestController::nameValidator()
{
    QFETCH(QString, text);
    QFETCH(int, state);
    for (QLineEdit* field : CHILDREN(QLineEdit, m_Dialog->ledHostName, m_Dialog->ledDomain, m_Dialog->ledDNSSuffix)) {
        QVERIFY(field->validator());
        QString input = text;
        int pos = 0;
        QCOMPARE(int(field->validator()->validate(input, pos)), state);
    }
}

void TestController::selectAdapterShowsCard_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("clearLists");
    QTest::addColumn<QString>("addresses"); // ip, mask, gateway, dns, wins1, wins2
    QTest::addColumn<bool>("automatic");    // DHCP, DNS and WINS alike on the sample host

    QTest::newRow("wired") << kWired << false << "192.168.1.5 255.255.255.0 192.168.1.1 192.168.1.1 192.168.1.2 0.0.0.0"
                           << false;
    QTest::newRow("wireless") << kWireless << false << "10.0.0.23 255.255.255.0 10.0.0.1 10.0.0.1 10.0.0.2 0.0.0.0"
                              << true;
    QTest::newRow("empty lists show zero") << kWireless << true
                                           << "10.0.0.23 255.255.255.0 0.0.0.0 0.0.0.0 10.0.0.2 0.0.0.0" << true;
}

void TestController::selectAdapterShowsCard()
{
    QFETCH(int, row);
    QFETCH(bool, clearLists);
    QFETCH(QString, addresses);
    QFETCH(bool, automatic);

    CNetConfigImpl& d = *m_Dialog;
    if (clearLists)
        d.Adapters()[row].m_Gateways.clear(), d.Adapters()[row].m_DNSServers.clear();
    d.SelectAdapter(row == kWired ? kWireless : kWired);
    d.SelectAdapter(row);
    QCOMPARE(d.cbAdapters->currentIndex(), row);
    QCOMPARE(d.CurrentAdapterIndex(), row);
    const QStringList shown{d.ledIPAddress->text(), d.ledSubNet->text(), d.ledGateway->text(),
                            d.ledDNSServer->text(), d.ledPrimaryWINS->text(), d.ledSecondaryWINS->text()};
    QCOMPARE(shown.join(u' '), addresses);
    QCOMPARE(d.rbtnManual->isChecked(), !automatic);
    QCOMPARE(QList<bool>({d.rbtnAuto->isChecked(), d.ckbDNSAuto->isChecked(), d.ckbHaveWins->isChecked()}),
             QList<bool>(3, automatic));
    QCOMPARE(QStringList({d.ledHostName->text(), d.ledDomain->text(), d.ledDNSSuffix->text()}),
             (QStringList{"WS01", "WORKGROUP", "lan"}));
    QVERIFY(!d.btnApply->isEnabled());
}

void TestController::enablingTable_data()
{
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<bool>("dnsAuto");
    QTest::addColumn<bool>("winsAuto");
    for (int bits = 0; bits < 8; ++bits) {
        const bool dhcp = bits & 1, dns = bits & 2, wins = bits & 4;
        QTest::addRow("dhcp=%d dns=%d wins=%d", dhcp, dns, wins) << dhcp << dns << wins;
    }
}

void TestController::enablingTable()
{
    QFETCH(bool, dhcp);
    QFETCH(bool, dnsAuto);
    QFETCH(bool, winsAuto);

    CNetConfigImpl& d = *m_Dialog;
    CNetworkCard& card = d.Adapters()[kWired];
    card.m_DHCPEnabled = dhcp;
    card.m_DNSAuto = dnsAuto;
    card.m_WINSAuto = winsAuto;
    d.UpdateControlStates();

    QCOMPARE(d.btnRenew->isEnabled(), dhcp);
    QCOMPARE(d.btnRelease->isEnabled(), dhcp);
    for (QWidget* w : CHILDREN(QWidget, d.ledIPAddress, d.ledSubNet, d.ledGateway, d.btnGateways))
        QVERIFY2(w->isEnabled() == !dhcp, qPrintable(w->objectName()));
    QCOMPARE(d.ledDNSServer->isEnabled() + d.btnDNSServers->isEnabled(), dnsAuto ? 0 : 2);
    QCOMPARE(d.ledPrimaryWINS->isEnabled() + d.ledSecondaryWINS->isEnabled(), winsAuto ? 0 : 2);
    // The choices themselves always stay available.
    QVERIFY(d.rbtnAuto->isEnabled() && d.rbtnManual->isEnabled());
    QVERIFY(d.ckbDNSAuto->isEnabled() && d.ckbHaveWins->isEnabled());
    QVERIFY(!d.btnApply->isEnabled());
}

void TestController::manualOnDhcpAdapter()
{
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    d.rbtnManual->click();

    const CNetworkCard& card = d.Adapters()[kWireless];
    QVERIFY(!card.m_DHCPEnabled && card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);
    QVERIFY(d.ledIPAddress->isEnabled() && !d.btnRenew->isEnabled() && d.btnApply->isEnabled());
    // Switching to manual keeps the values that were shown.
    QCOMPARE(d.ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    QCOMPARE(card.m_IPAddress, Ip("10.0.0.23"));
}

void TestController::autoAndForeignIdsSetNothing()
{
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    d.rbtnAuto->click();
    for (int id : {-1, 2, 3, 5})
        emit d.groupBox1Buttons->idClicked(id);
    QVERIFY(d.Adapters()[kWireless].m_DHCPEnabled);
    QVERIFY(!d.Adapters()[kWireless].m_AddressChanged);
    QVERIFY(d.btnRenew->isEnabled());
    QVERIFY(!d.btnApply->isEnabled());
}

void TestController::checkBoxes_data()
{
    QTest::addColumn<bool>("wins");
    QTest::newRow("DNS") << false;
    QTest::newRow("WINS") << true;
}

void TestController::checkBoxes()
{
    QFETCH(bool, wins);
    CNetConfigImpl& d = *m_Dialog;
    QCheckBox* box = wins ? d.ckbHaveWins : d.ckbDNSAuto;
    QWidget* field = wins ? static_cast<QWidget*>(d.ledPrimaryWINS) : static_cast<QWidget*>(d.ledDNSServer);
    const CNetworkCard& card = d.Adapters()[kWired];
    auto value = [&] { return wins ? card.m_WINSAuto : card.m_DNSAuto; };
    auto flag = [&] { return wins ? card.m_WINSChanged : card.m_DNSChanged; };

    QVERIFY(!value() && field->isEnabled());
    box->click();
    QVERIFY(value() && flag() && !field->isEnabled() && !card.m_AddressChanged);
    QVERIFY(d.btnApply->isEnabled());
    // Back to the value read: the flag is never cleared by the dialog.
    box->click();
    QVERIFY(!value() && flag() && field->isEnabled() && d.btnApply->isEnabled());

    // Only the fully checked state counts as automatic.
    if (wins)
        d.HaveWINS(Qt::PartiallyChecked);
    else
        d.DNSAuto(Qt::PartiallyChecked);
    QVERIFY(!value());
}

void TestController::selectingAnotherAdapterKeepsFlags()
{
    CNetConfigImpl& d = *m_Dialog;
    d.ckbDNSAuto->click();
    QVERIFY(d.btnApply->isEnabled());
    const QList<Flags> before = FlagsOf(d.Adapters());

    d.cbAdapters->setCurrentIndex(kWireless);
    emit d.cbAdapters->activated(kWireless);
    QCOMPARE(d.ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    QVERIFY(FlagsOf(d.Adapters()) == before);
    // Only the shown adapter's flags count for Apply.
    QVERIFY(!d.btnApply->isEnabled());

    d.SelectAdapter(kWired);
    QVERIFY(FlagsOf(d.Adapters()) == before);
    QVERIFY(d.btnApply->isEnabled());
}

void TestController::applyFollowsIdentification_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("new computer name") << "ledHostName" << "WS99" << true;
    QTest::newRow("name differs in case") << "ledHostName" << "ws01" << true;
    QTest::newRow("name typed back") << "ledHostName" << "WS01" << false;
    QTest::newRow("new workgroup") << "ledDomain" << "OFFICE" << true;
    QTest::newRow("workgroup typed back") << "ledDomain" << "WORKGROUP" << false;
    QTest::newRow("DNS suffix does not count") << "ledDNSSuffix" << "corp.example" << false;
}

void TestController::applyFollowsIdentification()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, enabled);

    CNetConfigImpl& d = *m_Dialog;
    auto* edit = d.findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setText(QStringLiteral("something else"));
    edit->setText(text);
    d.UpdateControlStates();
    QCOMPARE(d.btnApply->isEnabled(), enabled);
}

void TestController::tabBarPagesAndDefaultButton_data()
{
    QTest::addColumn<int>("page");
    for (int page = 0; page < 4; ++page)
        QTest::addRow("page %d", page) << page;
}

void TestController::tabBarPagesAndDefaultButton()
{
    QFETCH(int, page);
    CNetConfigImpl& d = *m_Dialog;
    // Start from the other kind of page so that the default has to move.
    d.tbPageMain->setCurrentTab(page == 3 ? 0 : 3);
    d.tbPageMain->setCurrentTab(page);
    QCOMPARE(d.wsMain->currentIndex(), page);
    QCOMPARE(d.btnStartUtility->isDefault(), page == 3);
    QCOMPARE(d.buttonOk->isDefault(), page != 3);
}

void TestController::f5KeepsRowDropsEdits_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("dialog") << QString();
    // A key the focused field does not use travels up to the dialog.
    QTest::newRow("host name field") << "ledHostName";
}

void TestController::f5KeepsRowDropsEdits()
{
    QFETCH(QString, target);
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    d.rbtnManual->click();
    d.Adapters()[kWireless].m_IPAddress = Ip("10.0.0.99");
    d.ledHostName->setText(QStringLiteral("WS77"));
    QVERIFY(d.btnApply->isEnabled());

    // The host changed behind the dialog's back: F5 must really re-read.
    HostHive host;
    host.SetString(host.TcpipKey(kWireless), "DhcpIPAddress", "10.0.0.42");
    QVERIFY(host.WriteTo(*m_Env));

    QWidget* receiver = target.isEmpty() ? static_cast<QWidget*>(&d) : d.findChild<QWidget*>(target);
    QVERIFY(receiver);
    QTest::keyClick(receiver, Qt::Key_F6);
    QTest::keyClick(receiver, Qt::Key_R, Qt::ControlModifier);
    QVERIFY2(d.Adapters()[kWireless].m_AddressChanged, "only F5 refreshes");
    QTest::keyClick(receiver, Qt::Key_F5);

    QCOMPARE(d.cbAdapters->currentIndex(), kWireless);
    const CNetworkCard& card = d.Adapters()[kWireless];
    QVERIFY(card.m_DHCPEnabled && !card.m_AddressChanged && !card.m_DNSChanged && !card.m_WINSChanged);
    QVERIFY(d.rbtnAuto->isChecked());
    QCOMPARE(d.ledIPAddress->text() + u' ' + d.ledHostName->text(), QStringLiteral("10.0.0.42 WS01"));
    QVERIFY(!d.btnApply->isEnabled());
}

void TestController::refreshAfterAdapterLost()
{
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    HostHive host;
    host.Hive().DeleteKey(host.AdapterKeys().at(kWireless));
    QVERIFY(host.WriteTo(*m_Env));

    QTest::ignoreMessage(QtWarningMsg, kRowCheck);
    QTest::ignoreMessage(QtWarningMsg, kIndexCheck);
    d.RefreshConfiguration();
    QCOMPARE(d.Adapters().count(), 1);
    QCOMPARE(d.cbAdapters->currentIndex(), 0);
    QCOMPARE(d.ledIPAddress->text(), QStringLiteral("192.168.1.5"));
}

void TestController::rowBeyondListShowsFirst()
{
    CNetConfigImpl& d = *m_Dialog;
    d.SelectAdapter(kWireless);
    QTest::ignoreMessage(QtWarningMsg, kIndexCheck);
    d.SelectAdapter(7);
    QCOMPARE(d.cbAdapters->currentIndex(), kWired);
    QCOMPARE(d.ledIPAddress->text(), QStringLiteral("192.168.1.5"));
    QVERIFY(d.rbtnManual->isChecked());
}

void TestController::noCardIsReported()
{
    TestEnv env;
    CNetConfigImpl d;
    for (int i = 0; i < 3; ++i)
        QTest::ignoreMessage(QtWarningMsg, kCardCheck);
    emit d.groupBox1Buttons->idClicked(0);
    d.DNSAuto(Qt::Checked);
    d.HaveWINS(Qt::Checked);

    QTest::ignoreMessage(QtWarningMsg, kIndexCheck);
    d.SelectAdapter(0);
    QCOMPARE(d.CurrentAdapterIndex(), -1);
    // The identification part of the Apply rule works without a card.
    d.ledHostName->setText(QStringLiteral("NEWNAME"));
    d.UpdateControlStates();
    QVERIFY(d.btnApply->isEnabled());
}

void TestController::hideUtilitiesPageAndCancel()
{
    CNetConfigImpl& d = *m_Dialog;
    d.tbPageMain->setCurrentTab(2);
    d.HideUtilitiesPage();
    QCOMPARE(d.tbPageMain->count(), 3);
    QCOMPARE(d.tbPageMain->tab(2)->text(), QStringLiteral("Network identification"));
    QCOMPARE(d.tbPageMain->currentIndex(), 0);
    QCOMPARE(d.wsMain->currentIndex(), 0);

    QSignalSpy rejected(&d, &QDialog::rejected);
    d.buttonCancel->click();
    QCOMPARE(rejected.count(), 1);
}

void TestController::systemError_data()
{
    QTest::addColumn<qulonglong>("code");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("success shows nothing") << qulonglong(0) << QStringList();
    // The system's text is shown as it is, line break included.
    QTest::newRow("unexpected network error")
        << qulonglong(59) << QStringList{QStringLiteral("An unexpected network error occurred.\r\n")};
    QTest::newRow("unknown code, empty box") << qulonglong(0xDEAD) << QStringList{QString()};
}

void TestController::systemError()
{
    QFETCH(qulonglong, code);
    QFETCH(QStringList, boxes);
    m_Dialog->ShowSystemError(static_cast<unsigned long>(code));
    QCOMPARE(QuarvelMsgBoxHistory(), boxes);
}

void TestController::systemErrorFromProvider()
{
    HostHive host;
    host.Hive().SetMultiString(winsys::keys::kEmulatedHost, "OfflineServers", {"fileserver"});
    QVERIFY(host.WriteTo(*m_Env));
    std::u16string remote = u"\\\\fileserver\\home";
    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = reinterpret_cast<LPWSTR>(remote.data());
    QCOMPARE(WNetAddConnection2W(&resource, nullptr, nullptr, 0), DWORD(ERROR_EXTENDED_ERROR));

    // The provider's own words, not the generic extended-error text.
    m_Dialog->ShowSystemError(ERROR_EXTENDED_ERROR);
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{QStringLiteral("The network location cannot be reached.")});
}

QTEST_MAIN(TestController)
#include "tst_controller.moc"
