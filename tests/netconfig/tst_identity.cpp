// Applying the identification page and releasing or renewing the shown lease.
#include "applytestutil.h"
#include "hosthive.h"

using namespace applytest;

namespace {

// Name, workgroup and suffix as the next start of the program reads them.
QString HostIdentity()
{
    auto host = ReadHost();
    return host ? QStringList({host->ComputerName(), host->Workgroup(), host->DNSSuffix()}).join(u' ') : "unreadable";
}

} // namespace

class TestIdentity : public QObject
{
    Q_OBJECT

    // Name, domain and suffix, blank-separated. The suffix is read-only on the page; a loaded settings file
    // fills it.
    void EnterIdentity(const QString& typed)
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        dlg.SelectMainTab(2);
        QVERIFY(Type(dlg.IdentityPage()->ledHostName, typed.section(u' ', 0, 0)));
        QVERIFY(Type(dlg.IdentityPage()->ledDomain, typed.section(u' ', 1, 1)));
        dlg.Editor().EditIdentity(CardField::DNSSuffix, typed.section(u' ', 2, 2));
    }
    Fixture m_Fx;

private slots:
    // The DHCP adapter is shown: a join releases and renews its lease.
    void init() { QVERIFY(m_Fx.Open(1)); }
    void cleanup() { m_Fx.Close(); }

    // Typed name, domain, suffix = the box (-: none, r: the restart note, else the system's text of that error),
    // the identity the host then holds. The renew after a join refreshes the page; the suffix typed with it still
    // goes.
    void identityByOk_data()
    {
        Rows({"ws01 workgroup lan = - WS01 WORKGROUP lan", "WS99 WORKGROUP lan = r WS99 WORKGROUP lan",
              "WS01 OFFICE office.example = - WS01 OFFICE office.example",
              "WS01 nowhere.example lan = 1355 WS01 WORKGROUP lan",
              "A-NAME-FAR-TOO-LONG-FOR-NETBIOS OFFICE lan = 87 WS01 WORKGROUP lan"});
    }
    void identityByOk()
    {
        const QString typed = Input().join(u' '), box = Expected().section(u' ', 0, 0),
                      host = Expected().section(u' ', 1);
        const QStringList boxes =
            box == u'-'   ? QStringList()
            : box == u'r' ? QStringList{"The new computer name takes effect when the computer is restarted."}
                          : QStringList{SystemText(box.toULong())};
        CNetConfigImpl& dlg = *m_Fx.dialog;
        const QString before = m_Fx.env->readHive();
        EnterIdentity(typed);
        Click(dlg.buttonOk);
        QCOMPARE(m_Fx.boxes.texts(), boxes);
        // The restart note is no failure: the dialog closes.
        const bool failed = !boxes.isEmpty() && !boxes.first().contains(QLatin1String("restarted"));
        QCOMPARE(dlg.isVisible(), failed);
        QCOMPARE(HostIdentity(), host);
        QCOMPARE(QStringList({dlg.ComputerName(), dlg.Workgroup(), dlg.DNSSuffix()}).join(u' '), host);
        if (host == QLatin1String("WS01 WORKGROUP lan"))
            QCOMPARE(m_Fx.env->readHive(), before);
        // What went through is remembered: applying again changes nothing.
        const QString after = m_Fx.env->readHive();
        QCOMPARE(dlg.ApplyIdentification(), !failed);
        QCOMPARE(m_Fx.env->readHive(), after);
        // The typed text stays, refused or not.
        QCOMPARE(dlg.IdentityPage()->ledDomain->text(), typed.section(u' ', 1, 1));
    }

    void joinMovesOnlyADhcpLease()
    {
        // The static adapter has no lease to release or renew: no box for that.
        m_Fx.Show(0);
        EnterIdentity(QStringLiteral("WS01 OFFICE lan"));
        QVERIFY(m_Fx.dialog->ApplyIdentification());
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(HostIdentity(), QStringLiteral("WS01 OFFICE lan"));
    }

    void releaseThenRenew()
    {
        CNetConfigImpl& dlg = *m_Fx.dialog;
        Click(dlg.AdaptersPage()->btnRelease);
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(dlg.CurrentAdapterIndex(), 1);
        QCOMPARE(dlg.AdaptersPage()->ledIPAddress->text(), QStringLiteral("0.0.0.0"));
        const auto host = ReadHost();
        QVERIFY(host && host->Adapters().at(1).m_IPAddress.Value() == 0);
        QCOMPARE(host->Adapters().at(0).m_IPAddress.ToString(), QStringLiteral("192.168.1.5"));

        Click(dlg.AdaptersPage()->btnRenew);
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(dlg.AdaptersPage()->ledIPAddress->text() + u' ' + dlg.AdaptersPage()->ledGateway->text(),
                 QStringLiteral("10.0.0.23 10.0.0.1"));
    }

    // No DHCP server answers: the time-out reads as a network error, and the
    // page stays as it was.
    void unansweredRenew()
    {
        HostHive host;
        host.Hive().DeleteKey(std::string(winsys::keys::kDhcpOffers) + "\\" + host.Guid(1));
        QVERIFY(host.WriteTo(*m_Fx.env));
        Click(m_Fx.dialog->AdaptersPage()->btnRenew);
        QCOMPARE(m_Fx.boxes.texts(), QStringList{SystemText(ERROR_UNEXP_NET_ERR)});
        QCOMPARE(m_Fx.dialog->AdaptersPage()->ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    }

    // The machine already belongs to the group typed: no lease moves.
    void joinWithoutChangeKeepsTheLease()
    {
        HostHive host;
        host.Hive().SetString(winsys::keys::kEmulatedHost, "Membership", "OFFICE");
        // A renew would now take another address.
        host.Hive().SetString(std::string(winsys::keys::kDhcpOffers) + "\\" + host.Guid(1), "IPAddress", "10.0.0.99");
        QVERIFY(host.WriteTo(*m_Fx.env));
        const QString before = m_Fx.env->readHive();
        EnterIdentity(QStringLiteral("WS01 OFFICE lan"));
        QVERIFY(m_Fx.dialog->ApplyIdentification());
        QCOMPARE(m_Fx.env->readHive(), before);
    }

    // The result is the last step's: a set suffix hides the refused name.
    void refusedNameThenSuffix()
    {
        EnterIdentity(QStringLiteral("A-NAME-FAR-TOO-LONG-FOR-NETBIOS WORKGROUP corp"));
        QVERIFY(m_Fx.dialog->ApplyIdentification());
        QCOMPARE(m_Fx.boxes.texts(), QStringList());
        QCOMPARE(HostIdentity(), QStringLiteral("WS01 WORKGROUP corp"));
    }
};

QTEST_MAIN(TestIdentity)
#include "tst_identity.moc"
