// Applying the identification page: computer name, workgroup or domain,
// primary DNS suffix.
#include "applytestutil.h"
#include "netconfig_rules.h"

using namespace applytest;

#define NO_BOX() QCOMPARE(QuarvelMsgBoxHistory(), QStringList())

namespace {

const int kIdentificationPage = 2;

// Name, workgroup and suffix as the next start of the program reads them.
QStringList HostIdentity()
{
    auto host = ReadHost();
    if (!host)
        return {QStringLiteral("<unreadable host>")};
    return {host->ComputerName(), host->Workgroup(), host->DNSSuffix()};
}

} // namespace

class TestIdentity : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_Fx.Close(); }

    void differsIgnoringCase_data();
    void differsIgnoringCase();
    void unchangedOrCaseOnlyIsNotApplied();
    void pendingComputerName();
    void joinKnownDomain();
    void unknownDomainKeepsWorkgroup();
    void refusedNameSkipsJoin();
    void laterSuffixDecidesResult();
    void suffixOnlyByOk();
    void joinKeepsSuffixTypedWithIt();
    void releaseErrorsAfterJoinDoNotFailIt();

private:
    void TypeIdentity(QLineEdit* field, const QString& text)
    {
        QVERIFY(Type(field, text));
        QCOMPARE(field->text(), text);
    }
    // The suffix field is read-only on the page; a loaded settings file fills it.
    void SetSuffix(const QString& text)
    {
        QVERIFY(!m_Fx.dialog->ledDNSSuffix->isEnabled());
        m_Fx.dialog->ledDNSSuffix->setText(text);
    }
    QString HiveText() const { return m_Fx.env->readHive(); }
    Fixture m_Fx;
};

void TestIdentity::init()
{
    // The DHCP adapter is shown: a join releases and renews its lease.
    QVERIFY(m_Fx.Open(1));
    m_Fx.dialog->SelectMainTab(kIdentificationPage);
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "WORKGROUP", "lan"}));
}

void TestIdentity::differsIgnoringCase_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<bool>("differs");
    QTest::newRow("case only") << "ws01" << "WS01" << false;
    QTest::newRow("different") << "WS02" << "WS01" << true;
    QTest::newRow("emptied") << "" << "lan" << true;
    QTest::newRow("both empty") << "" << "" << false;
}

void TestIdentity::differsIgnoringCase()
{
    QFETCH(QString, field);
    QFETCH(QString, remembered);
    QFETCH(bool, differs);
    QCOMPARE(IdentityDiffers(field, remembered), differs);
}

void TestIdentity::unchangedOrCaseOnlyIsNotApplied()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    const QString before = HiveText();
    QVERIFY(dlg.ApplyIdentification());
    QCOMPARE(HiveText(), before);

    TypeIdentity(dlg.ledHostName, QStringLiteral("ws01"));
    TypeIdentity(dlg.ledDomain, QStringLiteral("workgroup"));
    QVERIFY(dlg.btnApply->isEnabled());
    Click(dlg.btnApply);
    NO_BOX();
    QCOMPARE(HiveText(), before);
    QCOMPARE(dlg.ComputerName(), QStringLiteral("WS01"));
}

void TestIdentity::pendingComputerName()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    TypeIdentity(dlg.ledHostName, QStringLiteral("WS99"));
    Click(dlg.buttonOk);

    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.ComputerName(), QStringLiteral("WS99"));
    QCOMPARE(HostIdentity(), (QStringList{"WS99", "WORKGROUP", "lan"}));
}

void TestIdentity::joinKnownDomain()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    TypeIdentity(dlg.ledDomain, QStringLiteral("CORP"));
    Click(dlg.btnApply);

    NO_BOX();
    QCOMPARE(dlg.Workgroup(), QStringLiteral("CORP"));
    QCOMPARE(dlg.ledDomain->text(), QStringLiteral("CORP"));
    QVERIFY(!dlg.btnApply->isEnabled());
    // The lease was released and renewed: the adapter holds its offer again.
    QCOMPARE(dlg.ledIPAddress->text(), QStringLiteral("10.0.0.23"));
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "CORP", "lan"}));

    // Remembered: a second apply does not join again.
    const QString before = HiveText();
    QVERIFY(dlg.ApplyIdentification());
    QCOMPARE(HiveText(), before);
}

void TestIdentity::unknownDomainKeepsWorkgroup()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    TypeIdentity(dlg.ledDomain, QStringLiteral("nowhere.example"));
    Click(dlg.buttonOk);

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{SystemText(ERROR_NO_SUCH_DOMAIN)});
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.Workgroup(), QStringLiteral("WORKGROUP"));
    QCOMPARE(dlg.ledDomain->text(), QStringLiteral("nowhere.example"));
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "WORKGROUP", "lan"}));
}

void TestIdentity::refusedNameSkipsJoin()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    // Longer than a NetBIOS name may be.
    TypeIdentity(dlg.ledHostName, QStringLiteral("A-NAME-FAR-TOO-LONG-FOR-NETBIOS"));
    TypeIdentity(dlg.ledDomain, QStringLiteral("OFFICE"));
    QVERIFY(!dlg.ApplyIdentification());

    QCOMPARE(QuarvelMsgBoxHistory().count(), 1);
    QVERIFY(!QuarvelMsgBoxHistory().first().isEmpty());
    QCOMPARE(dlg.ComputerName(), QStringLiteral("WS01"));
    QCOMPARE(dlg.Workgroup(), QStringLiteral("WORKGROUP"));
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "WORKGROUP", "lan"}));
}

void TestIdentity::laterSuffixDecidesResult()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    TypeIdentity(dlg.ledHostName, QStringLiteral("A-NAME-FAR-TOO-LONG-FOR-NETBIOS"));
    SetSuffix(QStringLiteral("corp.example"));
    QVERIFY(dlg.ApplyIdentification());
    NO_BOX();
    QCOMPARE(dlg.DNSSuffix(), QStringLiteral("corp.example"));
    QCOMPARE(dlg.ComputerName(), QStringLiteral("WS01"));
}

void TestIdentity::suffixOnlyByOk()
{
    CNetConfigImpl& dlg = *m_Fx.dialog;
    SetSuffix(QStringLiteral("corp.example"));
    QVERIFY(!dlg.btnApply->isEnabled());
    Click(dlg.buttonOk);

    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "WORKGROUP", "corp.example"}));
    const QString before = HiveText();
    QVERIFY(dlg.ApplyIdentification());
    QCOMPARE(HiveText(), before);
}

void TestIdentity::joinKeepsSuffixTypedWithIt()
{
    // The renew after the join refreshes the page from the system; the
    // suffix typed for the same apply must still be applied.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    TypeIdentity(dlg.ledDomain, QStringLiteral("OFFICE"));
    SetSuffix(QStringLiteral("office.example"));
    Click(dlg.buttonOk);

    NO_BOX();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(HostIdentity(), (QStringList{"WS01", "OFFICE", "office.example"}));
}

void TestIdentity::releaseErrorsAfterJoinDoNotFailIt()
{
    // With the static adapter shown, release and renew each report their own
    // failure; the join itself went through.
    CNetConfigImpl& dlg = *m_Fx.dialog;
    m_Fx.Show(0);
    dlg.SelectMainTab(kIdentificationPage);
    TypeIdentity(dlg.ledDomain, QStringLiteral("OFFICE"));
    QVERIFY(dlg.ApplyIdentification());
    const QString notSupported = SystemText(ERROR_NOT_SUPPORTED);
    QCOMPARE(QuarvelMsgBoxHistory(), (QStringList{notSupported, notSupported}));
    QCOMPARE(dlg.Workgroup(), QStringLiteral("OFFICE"));
}

QTEST_MAIN(TestIdentity)
#include "tst_identity.moc"
