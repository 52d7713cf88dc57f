// The dialog against an emulated host: type, apply, find the result in the registry.
#include "applytestutil.h"
#include "hoststate.h"

#include <QProgressDialog>

using namespace applytest;

#define NO_BOX() QCOMPARE(m_Fx.boxes.texts(), QStringList())

namespace {

const QString kWired =
    QStringLiteral("dhcp=0 ip=192.168.1.5 mask=255.255.255.0 gw=192.168.1.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2");
const QString kWireless = QStringLiteral("dhcp=1 dns= wins=");

} // namespace

class TestApplyE2E : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_Fx.Open(0));
        QCOMPARE(Host(), (QStringList{kWired, kWireless}));
    }
    void cleanup() { m_Fx.Close(); }

    void applyRunsOnlyChangedPhases();
    void applyTakesShownAdapterOkTakesAll();
    void failingAdapterStopsTheRest();
    void missingNetshLosesNothing();
    void refusedRunsNothing();
    void hungNetshIsKilled();
    void longApplyShowsProgressAndCancels();

private:
    QStringList Host() const { return hoststate::Adapters(*m_Fx.env); }
    static QString HostName()
    {
        const auto h = ReadHost();
        return h ? h->ComputerName() : QString();
    }
    void TypeHostName(const QString& name)
    {
        m_Fx.dialog->SelectMainTab(2);
        QVERIFY(Type(m_Fx.dialog->IdentityPage()->ledHostName, name));
    }
    Fixture m_Fx;
};

void TestApplyE2E::applyRunsOnlyChangedPhases()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.AdaptersPage()->ledIPAddress, QStringLiteral("172.16.5.50")));
    QVERIFY(Type(dlg.AdaptersPage()->ledSubNet, QStringLiteral("255.255.0.0")));
    QVERIFY(Type(dlg.AdaptersPage()->ledGateway, QStringLiteral("172.16.0.1")));
    Click(dlg.btnApply);
    NO_BOX();
    QVERIFY(!m_Fx.Card(0).m_AddressChanged && !dlg.btnApply->isEnabled() && dlg.isVisible());
    QCOMPARE(Host().at(0), QStringLiteral("dhcp=0 ip=172.16.5.50 mask=255.255.0.0 gw=172.16.0.1 "
                                          "dns=192.168.1.1,10.0.0.1 wins=192.168.1.2"));
}

void TestApplyE2E::applyTakesShownAdapterOkTakesAll()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    Click(dlg.AdaptersPage()->rbtnAuto);
    m_Fx.Show(1);
    Click(dlg.AdaptersPage()->ckbDNSAuto);
    QVERIFY(Type(dlg.AdaptersPage()->ledDNSServer, QStringLiteral("10.5.5.5")));
    Click(dlg.btnApply);
    NO_BOX();
    QCOMPARE(Host(), (QStringList{kWired, "dhcp=1 dns=10.5.5.5 wins="}));

    // Back to automatic DNS: the static server goes from the registry.
    Click(dlg.AdaptersPage()->ckbDNSAuto);
    Click(dlg.buttonOk);
    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(Host(), (QStringList{"dhcp=1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2", kWireless}));
}

void TestApplyE2E::failingAdapterStopsTheRest()
{
    // The first adapter's registry step cannot find its key: its DNS phase
    // fails after netsh ran; the second adapter and the name are never applied.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.AdaptersPage()->ledDNSServer, QStringLiteral("10.1.1.1")));
    QVERIFY(Type(dlg.AdaptersPage()->ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    m_Fx.Card(0).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
    m_Fx.Show(1);
    Click(dlg.AdaptersPage()->ckbDNSAuto);
    QVERIFY(Type(dlg.AdaptersPage()->ledDNSServer, QStringLiteral("10.7.7.7")));
    TypeHostName(QStringLiteral("WS77"));
    Click(dlg.buttonOk);

    // The failing step carried code 0: no box, and the dialog stays open.
    NO_BOX();
    QVERIFY(dlg.isVisible());
    QCOMPARE(Host(), (QStringList{QString(kWired).replace("192.168.1.1,", "10.1.1.1,"), kWireless}));
    QCOMPARE(HostName(), QStringLiteral("WS01"));
}

void TestApplyE2E::missingNetshLosesNothing()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.AdaptersPage()->ledIPAddress, QStringLiteral("192.168.1.77")));
    TypeHostName(QStringLiteral("WS77"));
    const QString before = m_Fx.env->readHive();

    QTemporaryDir emptySystem;
    qputenv("WINSYS_SYSTEM_DIR", emptySystem.path().toLocal8Bit());
    Click(dlg.buttonOk);
    qunsetenv("WINSYS_SYSTEM_DIR");
    QCOMPARE(m_Fx.boxes.texts(), QStringList{SystemText(ERROR_FILE_NOT_FOUND)});
    QVERIFY(m_Fx.boxes.texts().first().startsWith(QLatin1String("The system cannot find the file specified.")));
    QVERIFY(dlg.isVisible());
    QCOMPARE(m_Fx.env->readHive(), before);

    // A later attempt applies the same edits; the new name waits for a restart.
    Click(dlg.buttonOk);
    QCOMPARE(m_Fx.boxes.texts().mid(1),
             QStringList{"The new computer name takes effect when the computer is restarted."});
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(Host().at(0), QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.77"));
    QCOMPARE(HostName(), QStringLiteral("WS77"));
}

void TestApplyE2E::refusedRunsNothing()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    const QString before = m_Fx.env->readHive();
    QVERIFY(Type(dlg.AdaptersPage()->ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    QVERIFY(Type(dlg.AdaptersPage()->ledSubNet, QStringLiteral("255.0.255.0")));
    Click(dlg.buttonOk);
    QCOMPARE(m_Fx.boxes.texts(),
             QStringList{QStringLiteral("Subnet mask 255.0.255.0 is not valid for entered ip address.")});
    QVERIFY(dlg.isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.AdaptersPage()->ledSubNet));
    QCOMPARE(m_Fx.env->readHive(), before);
}

// A netsh that never ends is killed after the time limit and reported; the
// dialog stays usable and nothing later runs.
void TestApplyE2E::hungNetshIsKilled()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    auto runner = std::make_unique<CShellCommandRunner>(CShellCommandRunner::ResolveShellExecute());
    runner->SetTimeout(300);
    dlg.SetCommandRunner(std::move(runner));
    QVERIFY(Type(dlg.AdaptersPage()->ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    QVERIFY(Type(dlg.AdaptersPage()->ledIPAddress, QStringLiteral("192.168.1.77")));
    const QString before = m_Fx.env->readHive();
    qputenv("WINSYS_NETSH_DELAY_MS", "20000");
    QElapsedTimer timer;
    timer.start();
    Click(dlg.btnApply);
    qunsetenv("WINSYS_NETSH_DELAY_MS");
    QVERIFY(timer.elapsed() < 10000);
    QCOMPARE(m_Fx.boxes.texts(), QStringList{SystemText(WAIT_TIMEOUT)});
    QCOMPARE(m_Fx.env->readHive(), before);
    QVERIFY(m_Fx.Card(0).HasChanges() && dlg.btnApply->isEnabled() && !dlg.IsApplying());
    QVERIFY(dlg.AdaptersPage()->isEnabled());
}

// A plan that takes a while shows where it is, and Cancel stops it after the
// running command: the rest never runs, and no error box follows.
void TestApplyE2E::longApplyShowsProgressAndCancels()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    QVERIFY(Type(dlg.AdaptersPage()->ledDNSServer, QStringLiteral("10.1.1.1")));
    QVERIFY(Type(dlg.AdaptersPage()->ledPrimaryWINS, QStringLiteral("192.168.1.9")));
    QString label;
    QTimer::singleShot(1100, &dlg, [&dlg, &label]() {
        if (auto* progress = dlg.findChild<QProgressDialog*>()) {
            label = progress->labelText();
            progress->findChild<QPushButton*>()->click();
        }
    });
    qputenv("WINSYS_NETSH_DELAY_MS", "400");
    Click(dlg.btnApply);
    qunsetenv("WINSYS_NETSH_DELAY_MS");
    QCOMPARE(label, QStringLiteral("Applying 3 of 5: DNS servers of Gigabit Ethernet Controller"));
    NO_BOX();
    // Cancelled inside the DNS phase: the WINS phase never ran.
    QCOMPARE(Host().at(0).section(u' ', -1), QStringLiteral("wins=192.168.1.2"));
    QVERIFY(m_Fx.Card(0).HasChanges() && dlg.btnApply->isEnabled());
}

QTEST_MAIN(TestApplyE2E)
#include "tst_apply_e2e.moc"
