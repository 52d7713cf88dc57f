// Driving the dialog against an emulated host: type, press Apply or OK, let
// netsh run, and find the result on the host.
#include "applytestutil.h"
#include "netconfig_rules.h"

#include <QRegularExpression>

using namespace applytest;

#define READ_HOST(h) auto h = ReadHost(); QVERIFY(h)
#define NO_BOX() QCOMPARE(QuarvelMsgBoxHistory(), QStringList())

namespace {

// Copies the program with the build tree's system folder blanked out of its
// run path (same length), so the copy only finds what lies beside it.
bool CopyWithoutBuildRunPath(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray image = in.readAll();
    const QByteArray buildDir = TestEnv::systemDir().toUtf8();
    QByteArray blank = buildDir;
    blank.fill('x');
    blank[0] = '/';
    image.replace(buildDir, blank);
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly) || out.write(image) != image.size())
        return false;
    out.close();
    return out.setPermissions(in.permissions());
}

QString Ip(const CIPAddress& a) { return a.ToString(); }

} // namespace

class TestApplyE2E : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_Fx.Open(0)); }
    void cleanup() { m_Fx.Close(); }

    void staticAddressByApply();
    void gatewaysAndDnsServersInListOrder();
    void dhcpSwitchedOnAndOff();
    void nameServerFollowsDnsMode();
    void okStopsAtTheFirstFailingAdapter();
    void laterAdapterFailureSkipsIdentification();
    void failingDnsPhaseStopsEverything();
    void noShellModuleRunsNothing();
    void invalidPageRunsNothing();
    void applyWithoutChangesOrCancelRunsNothing();
    void runnerJudgesByLastEntry();
    void runnerWarnsOnMalformedEntry();
    void netshExitCodeIsNotASystemError();

private:
    QString HiveText() const { return m_Fx.env->readHive(); }
    Fixture m_Fx;
};

void TestApplyE2E::staticAddressByApply()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.ledIPAddress, QStringLiteral("172.16.5.50")));
    QVERIFY(Type(dlg.ledSubNet, QStringLiteral("255.255.0.0")));
    QVERIFY(Type(dlg.ledGateway, QStringLiteral("172.16.0.1")));
    QVERIFY(dlg.btnApply->isEnabled());
    Click(dlg.btnApply);

    NO_BOX();
    QVERIFY(!m_Fx.Card(0).m_AddressChanged);
    QVERIFY(!dlg.btnApply->isEnabled());
    QVERIFY(dlg.isVisible());
    READ_HOST(host);
    const CNetworkCard& wired = host->Adapters().at(0);
    QVERIFY(!wired.m_DHCPEnabled);
    QCOMPARE(Ip(wired.m_IPAddress), QStringLiteral("172.16.5.50"));
    QCOMPARE(Ip(wired.m_SubnetMask), QStringLiteral("255.255.0.0"));
    QCOMPARE(Texts(wired.m_Gateways), QStringList{"172.16.0.1"});
    // Only the address phase ran.
    QCOMPARE(DnsServers(kWiredIndex), (QStringList{"192.168.1.1", "10.0.0.1"}));
    QCOMPARE(Ip(wired.m_PrimaryWINS), QStringLiteral("192.168.1.2"));

    // Then the WINS phase alone.
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.3")));
    QVERIFY(Type(dlg.ledSecondaryWINS, QStringLiteral("192.168.1.4")));
    Click(dlg.btnApply);
    NO_BOX();
    READ_HOST(after);
    QCOMPARE(Ip(after->Adapters().at(0).m_PrimaryWINS), QStringLiteral("192.168.1.3"));
    QCOMPARE(Ip(after->Adapters().at(0).m_SecondaryWINS), QStringLiteral("192.168.1.4"));
    QCOMPARE(Ip(after->Adapters().at(0).m_IPAddress), QStringLiteral("172.16.5.50"));
}

void TestApplyE2E::gatewaysAndDnsServersInListOrder()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    // Typed first entries; the address list dialog replaces the whole list.
    QVERIFY(Type(dlg.ledGateway, QStringLiteral("192.168.1.254")));
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.1.1.1")));
    m_Fx.Card(0).SetGateways(m_Fx.Card(0).m_Gateways + Ips({"192.168.1.253", "192.168.1.252"}));
    m_Fx.Card(0).SetDNSServers(m_Fx.Card(0).m_DNSServers + Ips({"10.2.2.2", "10.3.3.3"}));
    Click(dlg.buttonOk);

    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    READ_HOST(host);
    QCOMPARE(Texts(host->Adapters().at(0).m_Gateways),
             (QStringList{"192.168.1.254", "192.168.1.253", "192.168.1.252"}));
    QCOMPARE(DnsServers(kWiredIndex), (QStringList{"10.1.1.1", "10.2.2.2", "10.3.3.3"}));
    QVERIFY(!host->Adapters().at(0).m_DNSAuto);
}

void TestApplyE2E::dhcpSwitchedOnAndOff()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    Click(dlg.rbtnAuto);
    QVERIFY(!dlg.ledIPAddress->isEnabled());
    m_Fx.Show(1);
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    Click(dlg.rbtnManual);
    Click(dlg.ckbDNSAuto);
    Click(dlg.ckbHaveWins);
    const std::pair<QLineEdit*, const char*> fields[] = {
        {dlg.ledIPAddress, "10.0.0.50"}, {dlg.ledSubNet, "255.255.255.0"}, {dlg.ledGateway, "10.0.0.1"},
        {dlg.ledDNSServer, "10.0.0.1"}, {dlg.ledPrimaryWINS, "10.0.0.2"}};
    for (const auto& [field, text] : fields)
        QVERIFY(Type(field, QLatin1String(text)));
    Click(dlg.buttonOk);

    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    READ_HOST(host);
    QVERIFY(host->Adapters().at(0).m_DHCPEnabled);
    QVERIFY(Ip(host->Adapters().at(0).m_IPAddress) != QStringLiteral("192.168.1.5"));
    const CNetworkCard& wireless = host->Adapters().at(1);
    QVERIFY(!wireless.m_DHCPEnabled && !wireless.m_DNSAuto && !wireless.m_WINSAuto);
    QCOMPARE(Ip(wireless.m_IPAddress), QStringLiteral("10.0.0.50"));
    QCOMPARE(Ip(wireless.m_SubnetMask), QStringLiteral("255.255.255.0"));
    QCOMPARE(Texts(wireless.m_Gateways), QStringList{"10.0.0.1"});
    QCOMPARE(DnsServers(kWirelessIndex), QStringList{"10.0.0.1"});
    QCOMPARE(Ip(wireless.m_PrimaryWINS), QStringLiteral("10.0.0.2"));
}

void TestApplyE2E::nameServerFollowsDnsMode()
{
    // An edit on the hidden adapter waits for OK; Apply takes the shown one.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    m_Fx.Show(1);
    QCOMPARE(NameServer(dlg, kWirelessGuid), QString());
    Click(dlg.ckbDNSAuto);
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.5.5.5")));
    Click(dlg.btnApply);
    NO_BOX();
    QCOMPARE(NameServer(dlg, kWirelessGuid), QStringLiteral("10.5.5.5"));
    QCOMPARE(DnsServers(kWirelessIndex), QStringList{"10.5.5.5"});
    QVERIFY(m_Fx.Card(0).m_WINSChanged && !m_Fx.Card(1).m_DNSChanged);
    READ_HOST(host);
    QCOMPARE(Ip(host->Adapters().at(0).m_PrimaryWINS), QStringLiteral("192.168.1.2"));

    Click(dlg.ckbDNSAuto);
    QVERIFY(m_Fx.Card(1).m_DNSAuto && m_Fx.Card(1).m_DNSChanged);
    Click(dlg.buttonOk);
    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(NameServer(dlg, kWirelessGuid), QString());
    READ_HOST(after);
    QVERIFY(after->Adapters().at(1).m_DNSAuto);
    QCOMPARE(DnsServers(kWirelessIndex), QStringList{"10.0.0.1"});
    QCOMPARE(Ip(after->Adapters().at(0).m_PrimaryWINS), QStringLiteral("192.168.1.9"));
}

void TestApplyE2E::okStopsAtTheFirstFailingAdapter()
{
    // The first adapter's registry step cannot find its key: its DNS phase
    // fails after netsh ran, and the second adapter is never applied.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.1.1.1")));
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    m_Fx.Card(0).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
    m_Fx.Show(1);
    Click(dlg.ckbDNSAuto);
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.7.7.7")));
    Click(dlg.buttonOk);

    // The failing step carried code 0: no box, and the dialog stays open.
    NO_BOX();
    QVERIFY(dlg.isVisible());
    QCOMPARE(DnsServers(kWiredIndex), QStringList{"10.1.1.1"});
    QCOMPARE(DnsServers(kWirelessIndex), QStringList{"10.0.0.1"});
    READ_HOST(host);
    QVERIFY(host->Adapters().at(1).m_DNSAuto);
    QCOMPARE(Ip(host->Adapters().at(0).m_PrimaryWINS), QStringLiteral("192.168.1.2"));
}

void TestApplyE2E::laterAdapterFailureSkipsIdentification()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    m_Fx.Show(1);
    m_Fx.Card(1).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
    Click(dlg.ckbDNSAuto);
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.7.7.7")));
    dlg.SelectMainTab(2);
    QVERIFY(Type(dlg.ledHostName, QStringLiteral("WS77")));
    Click(dlg.buttonOk);

    QVERIFY(dlg.isVisible());
    READ_HOST(host);
    QCOMPARE(Ip(host->Adapters().at(0).m_PrimaryWINS), QStringLiteral("192.168.1.9"));
    QCOMPARE(DnsServers(kWirelessIndex), QStringList{"10.7.7.7"});
    QCOMPARE(host->ComputerName(), QStringLiteral("WS01"));
}

void TestApplyE2E::failingDnsPhaseStopsEverything()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.1.1.1")));
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    QVERIFY(Type(dlg.ledIPAddress, QStringLiteral("192.168.1.77")));
    m_Fx.Show(1);
    Click(dlg.ckbDNSAuto);
    QVERIFY(Type(dlg.ledDNSServer, QStringLiteral("10.7.7.7")));
    dlg.SelectMainTab(2);
    QVERIFY(Type(dlg.ledHostName, QStringLiteral("WS77")));
    const QString before = HiveText();

    // netsh cannot be found: the first command of every phase fails to start.
    QTemporaryDir emptySystem;
    qputenv("WINSYS_SYSTEM_DIR", emptySystem.path().toLocal8Bit());
    Click(dlg.buttonOk);
    qunsetenv("WINSYS_SYSTEM_DIR");

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{SystemText(ERROR_FILE_NOT_FOUND)});
    QVERIFY(QuarvelMsgBoxHistory().first().startsWith(QLatin1String("The system cannot find the file specified.")));
    QVERIFY(dlg.isVisible());
    QCOMPARE(HiveText(), before);
    // Nothing was cleared: a later attempt applies the same edits.
    QVERIFY(m_Fx.Card(0).m_DNSChanged && m_Fx.Card(0).m_WINSChanged && m_Fx.Card(0).m_AddressChanged);
    Click(dlg.buttonOk);
    QCOMPARE(QuarvelMsgBoxHistory().count(), 1);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    READ_HOST(host);
    QCOMPARE(Ip(host->Adapters().at(0).m_IPAddress), QStringLiteral("192.168.1.77"));
    QCOMPARE(host->ComputerName(), QStringLiteral("WS77"));
}

void TestApplyE2E::noShellModuleRunsNothing()
{
    // A program copy whose system folder lacks "shell32": a console apply starts nothing.
    const QString relative = QDir(TestEnv::binDir()).relativeFilePath(TestEnv::systemDir());
    QTemporaryDir tree;
    const QString bin = tree.filePath(QStringLiteral("bin"));
    const QString system = QDir(bin).filePath(relative);
    QVERIFY(QDir().mkpath(system));
    QVERIFY(CopyWithoutBuildRunPath(TestEnv::binDir() + QStringLiteral("/netconfig"), bin + QStringLiteral("/netconfig")));
    for (const char* name : {"libwinsys.so", "netsh.exe"})
        QVERIFY(QFile::copy(TestEnv::systemDir() + QLatin1Char('/') + QLatin1String(name),
                            system + QLatin1Char('/') + QLatin1String(name)));
    QVERIFY(!QFile::exists(system + QStringLiteral("/libshell32.so")));

    const QString settings = m_Fx.env->path(QStringLiteral("wins.ini"));
    QFile file(settings);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Interface1]\nWins=10.9.9.9\n");
    file.close();
    const QString before = HiveText();

    QString stdErr;
    m_Fx.env->runProgram(bin + QStringLiteral("/netconfig"), {QStringLiteral("/c"), QStringLiteral("/l"), settings},
                         nullptr, &stdErr);
    QCOMPARE(HiveText(), before);
    QVERIFY2(stdErr.contains(QLatin1String("The system cannot find the file specified.")), qPrintable(stdErr));

    // The real program, same file: applied.
    QVERIFY(m_Fx.env->runNetconfig({QStringLiteral("/c"), QStringLiteral("/l"), settings}, &stdErr) >= 0);
    READ_HOST(host);
    QCOMPARE(Ip(host->Adapters().at(0).m_PrimaryWINS), QStringLiteral("10.9.9.9"));
}

void TestApplyE2E::invalidPageRunsNothing()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    const QString before = HiveText();
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    QVERIFY(Type(dlg.ledSubNet, QStringLiteral("255.0.255.0")));
    Click(dlg.buttonOk);

    QCOMPARE(QuarvelMsgBoxHistory(),
             QStringList{QStringLiteral("Subnet mask 255.0.255.0 is not valid for entered ip address.")});
    QVERIFY(dlg.isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.ledSubNet));
    QCOMPARE(HiveText(), before);
}

void TestApplyE2E::applyWithoutChangesOrCancelRunsNothing()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    const QString before = HiveText();
    QVERIFY(!dlg.btnApply->isEnabled());
    dlg.ApplyClick();
    NO_BOX();
    QCOMPARE(HiveText(), before);

    // Validation still runs with nothing to apply.
    dlg.buttonCancel->setFocus();
    dlg.ledDomain->setText(QString());
    dlg.ApplyClick();
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{QStringLiteral("Group/domain name is empty.")});
    QuarvelMsgBoxHistory().clear();

    QVERIFY(Type(dlg.ledIPAddress, QStringLiteral("192.168.1.77")));
    QVERIFY(Type(dlg.ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    dlg.SelectMainTab(2);
    QVERIFY(Type(dlg.ledHostName, QStringLiteral("WS77")));
    Click(dlg.buttonCancel);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.isVisible());
    NO_BOX();
    QCOMPARE(HiveText(), before);
}

void TestApplyE2E::runnerJudgesByLastEntry()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(dlg.HasShellExecute());
    unsigned long code = 12345;
    QVERIFY(!dlg.RunCommands(QStringList(), &code));
    QCOMPARE(code, 12345ul);

    QVERIFY(dlg.RunCommands({NetshEntry(QStringLiteral("interface ip set wins 11 source=static addr=10.4.4.4")),
                             NetshEntry(QStringLiteral("interface ip add wins 11 addr=10.4.4.5"))},
                            &code));
    QCOMPARE(code, 0ul);
    READ_HOST(host);
    QCOMPARE(Ip(host->Adapters().at(0).m_PrimaryWINS), QStringLiteral("10.4.4.4"));
    QCOMPARE(Ip(host->Adapters().at(0).m_SecondaryWINS), QStringLiteral("10.4.4.5"));

    const QString missing = QStringLiteral("no-such-program.exe;interface ip set wins 11 source=dhcp");
    const QString good = NetshEntry(QStringLiteral("interface ip set wins 11 source=static addr=10.4.4.6"));
    QVERIFY(!dlg.RunCommands({good, missing}, &code));
    QCOMPARE(code, ulong(ERROR_FILE_NOT_FOUND));
    QVERIFY(dlg.RunCommands({missing, good}, &code));
    QCOMPARE(code, 0ul);
    // The failing entry did not stop the queue.
    READ_HOST(after);
    QCOMPARE(Ip(after->Adapters().at(0).m_PrimaryWINS), QStringLiteral("10.4.4.6"));
    QVERIFY(dlg.RunCommands({good}, nullptr));
}

void TestApplyE2E::runnerWarnsOnMalformedEntry()
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("^ASSERT: \"currCommand.count\\(\\) == 2\" in .*")));
    unsigned long code = 0;
    m_Fx.dialog->RunCommands({QStringLiteral("netsh.exe")}, &code);
}

void TestApplyE2E::netshExitCodeIsNotASystemError()
{
    // netsh exits 1 but no system call failed: the entry counts as done.
    const QString before = HiveText();
    SetLastError(ERROR_ACCESS_DENIED); // left over from an unrelated call
    unsigned long code = 12345;
    QVERIFY(m_Fx.dialog->RunCommands({NetshEntry(QStringLiteral("interface ip set wins 11 source=bogus"))}, &code));
    QCOMPARE(code, 0ul);
    QCOMPARE(HiveText(), before);
}

QTEST_MAIN(TestApplyE2E)
#include "tst_apply_e2e.moc"
