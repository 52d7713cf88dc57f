// The dialog against an emulated host and the real netsh.exe: type, apply,
// find the result in the registry; a safe apply asks to keep or revert.
#include "applytestutil.h"
#include "hoststate.h"
#include "keepdialog.h"

#include <QProgressDialog>

using namespace applytest;
using hoststate::kWired;
using hoststate::kWireless;

class TestApplyE2E : public QObject
{
    Q_OBJECT

private:
    QStringList Host() const { return hoststate::Adapters(*m_Fx.env); }
    static QString HostName()
    {
        const auto h = ReadHost();
        return h ? h->ComputerName() : QString();
    }
    // Types each text into the adapters page's field named before it.
    bool Fill(const QStringList& namesAndTexts)
    {
        for (int i = 0; i + 1 < namesAndTexts.size(); i += 2) {
            auto* field = m_Fx.dialog->AdaptersPage()->findChild<QLineEdit*>(namesAndTexts[i]);
            if (!field || !Type(field, namesAndTexts[i + 1]))
                return false;
        }
        return true;
    }
    void TypeHostName(const QString& name)
    {
        m_Fx.dialog->SelectMainTab(2);
        QVERIFY(Type(m_Fx.dialog->IdentityPage()->ledHostName, name));
    }
    QStringList Boxes() { return m_Fx.boxes.texts(); }
    Fixture m_Fx;
    QString m_Before;

private slots:
    void init()
    {
        QVERIFY(m_Fx.Open(0));
        QCOMPARE(Host(), (QStringList{kWired, kWireless}));
        m_Before = m_Fx.env->readHive();
    }
    void cleanup() { m_Fx.Close(); }

    // Apply takes the shown adapter's changed phases and clears its flags; OK
    // takes what is left.
    void applyTakesShownAdapterOkTakesAll()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        QVERIFY(Fill({"ledIPAddress", "172.16.5.50", "ledSubNet", "255.255.0.0", "ledGateway", "172.16.0.1"}));
        Click(dlg.btnApply);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(!m_Fx.Card(0).m_AddressChanged && !dlg.btnApply->isEnabled() && dlg.isVisible());
        const QString wired =
            "dhcp=0 ip=172.16.5.50 mask=255.255.0.0 gw=172.16.0.1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2";
        QCOMPARE(Host(), (QStringList{wired, kWireless}));

        Click(dlg.AdaptersPage()->rbtnAuto);
        m_Fx.Show(1);
        Click(dlg.AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({"ledDNSServer", "10.5.5.5"}));
        Click(dlg.btnApply);
        QCOMPARE(Boxes(), QStringList());
        QCOMPARE(Host(), (QStringList{wired, "dhcp=1 dns=10.5.5.5 wins="}));

        // Back to automatic DNS: the static server goes from the registry.
        Click(dlg.AdaptersPage()->ckbDNSAuto);
        Click(dlg.buttonOk);
        QCOMPARE(Boxes(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(Host(), (QStringList{"dhcp=1 dns=192.168.1.1,10.0.0.1 wins=192.168.1.2", kWireless}));
    }

    // The first adapter's registry step cannot find its key: its DNS phase fails
    // after netsh ran; the second adapter and the name are never applied.
    void failingAdapterStopsTheRest()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        QVERIFY(Fill({"ledDNSServer", "10.1.1.1", "ledPrimaryWINS", "192.168.1.9"}));
        m_Fx.Card(0).m_AdapterName = QStringLiteral("{00000000-0000-0000-0000-00000000DEAD}");
        m_Fx.Show(1);
        Click(dlg.AdaptersPage()->ckbDNSAuto);
        QVERIFY(Fill({"ledDNSServer", "10.7.7.7"}));
        TypeHostName(QStringLiteral("WS77"));
        Click(dlg.buttonOk);
        // The failing step carried code 0: no box, and the dialog stays open.
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(dlg.isVisible());
        QCOMPARE(Host(), (QStringList{QString(kWired).replace("192.168.1.1,", "10.1.1.1,"), kWireless}));
        QCOMPARE(HostName(), QStringLiteral("WS01"));
    }

    void missingNetshLosesNothing()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        QVERIFY(Fill({"ledIPAddress", "192.168.1.77"}));
        TypeHostName(QStringLiteral("WS77"));
        QTemporaryDir emptySystem;
        qputenv("WINSYS_SYSTEM_DIR", emptySystem.path().toLocal8Bit());
        Click(dlg.buttonOk);
        qunsetenv("WINSYS_SYSTEM_DIR");
        QCOMPARE(Boxes(), QStringList{SystemText(ERROR_FILE_NOT_FOUND)});
        QVERIFY(Boxes().first().startsWith(QLatin1String("The system cannot find the file specified.")));
        QVERIFY(dlg.isVisible());
        QCOMPARE(m_Fx.env->readHive(), m_Before);

        // A later attempt applies the same edits; the new name waits for a restart.
        Click(dlg.buttonOk);
        QCOMPARE(Boxes().mid(1), QStringList{"The new computer name takes effect when the computer is restarted."});
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(Host().at(0), QString(kWired).replace("ip=192.168.1.5", "ip=192.168.1.77"));
        QCOMPARE(HostName(), QStringLiteral("WS77"));
    }

    // A netsh that never ends is killed after the time limit and reported; the
    // dialog stays usable and nothing later runs.
    void hungNetshIsKilled()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        auto runner = std::make_unique<CShellCommandRunner>(CShellCommandRunner::ResolveShellExecute());
        runner->SetTimeout(300);
        dlg.SetCommandRunner(std::move(runner));
        QVERIFY(Fill({"ledPrimaryWINS", "192.168.1.9", "ledIPAddress", "192.168.1.77"}));
        qputenv("WINSYS_NETSH_DELAY_MS", "20000");
        QElapsedTimer timer;
        timer.start();
        Click(dlg.btnApply);
        qunsetenv("WINSYS_NETSH_DELAY_MS");
        QVERIFY(timer.elapsed() < 10000);
        QCOMPARE(Boxes(), QStringList{SystemText(WAIT_TIMEOUT)});
        QCOMPARE(m_Fx.env->readHive(), m_Before);
        QVERIFY(m_Fx.Card(0).HasChanges() && dlg.btnApply->isEnabled() && !dlg.IsApplying());
        QVERIFY(dlg.AdaptersPage()->isEnabled());
    }

    // A plan that takes a while shows where it is, and Cancel stops it after the
    // running command: the rest never runs, and no error box follows.
    void longApplyShowsProgressAndCancels()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        QVERIFY(Fill({"ledDNSServer", "10.1.1.1", "ledPrimaryWINS", "192.168.1.9"}));
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
        QCOMPARE(Boxes(), QStringList());
        // Cancelled inside the DNS phase: the WINS phase never ran.
        QCOMPARE(Host().at(0).section(u' ', -1), QStringLiteral("wins=192.168.1.2"));
        QVERIFY(m_Fx.Card(0).HasChanges() && dlg.btnApply->isEnabled());
    }

    // The question after an apply counts down and reverts unless Keep is
    // pressed; a revert time given on the command line makes it ask even
    // without a screen.
    void keepDialogKeepsOrReverts_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("no answer") << QString() << false;
        QTest::newRow("Revert") << "btnRevert" << false;
        QTest::newRow("Keep") << "btnKeep" << true;
    }

    void keepDialogKeepsOrReverts()
    {
        QFETCH(QString, answer);
        QFETCH(bool, kept);
        CNetConfigImpl& dlg = *m_Fx.dialog;
        QVERIFY(!dlg.btnRestore->isEnabled()); // nothing to restore yet
        dlg.SetRevertTime(1, true);
        QString question;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&]() {
            auto* keep = qobject_cast<CKeepDialog*>(QApplication::activeModalWidget());
            if (keep && question.isEmpty()) {
                question = keep->lbCountdown->text();
                if (!answer.isEmpty())
                    keep->findChild<QPushButton*>(answer)->click();
            }
        });
        answerer.start(20);
        QVERIFY(Fill({"ledIPAddress", "192.168.1.77"}));
        Click(dlg.btnApply);
        QCOMPARE(question, QStringLiteral("Keep these network settings? Reverting in 1 seconds"));
        const QString shown = kept ? QStringLiteral("192.168.1.77") : QStringLiteral("192.168.1.5");
        QCOMPARE(Host().at(0).section(u' ', 1, 1), "ip=" + shown);
        QVERIFY(kept || m_Fx.env->readHive() == m_Before);
        QCOMPARE(dlg.AdaptersPage()->ledIPAddress->text(), shown);
        QCOMPARE(Boxes(), QStringList());
        QVERIFY(dlg.btnRestore->isEnabled());
    }
};

QTEST_MAIN(TestApplyE2E)
#include "tst_apply_e2e.moc"
