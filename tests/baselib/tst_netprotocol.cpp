// Joining a workgroup or domain the way the identification page does, on the
// emulated host: the system refuses to join a domain while in one
// (NERR_SetupAlreadyJoined), so CNetNProtocol must leave first, and must not
// treat the domain it is already in as a failure. A domain query that fails
// leaves what the caller shows untouched.
#include "netprotocol.h"
#include "testenv.h"

#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <memory>

class TestNetProtocol : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

    static QString Membership()
    {
        QString name, computer;
        if (!CNetNProtocol::GetDomainInfo(name, computer))
            return QStringLiteral("error");
        LPWSTR buffer = nullptr;
        NETSETUP_JOIN_STATUS type = NetSetupUnknownStatus;
        NetGetJoinInformation(nullptr, &buffer, &type);
        NetApiBufferFree(buffer);
        return name + QLatin1Char(' ') + QString::number(int(type));
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        QCOMPARE(winsys::ModifyHive([](winsys::Hive& h) -> uint32_t {
                     h.SetMultiString(winsys::keys::kEmulatedHost, "JoinableDomains", {"CORP", "LAB"});
                     return 0;
                 }),
                 0u);
    }
    void cleanup() { m_Env.reset(); }

    // A query that fails leaves what the caller shows untouched.
    void domainInfo()
    {
        QString workgroup;
        QString computerName;
        QVERIFY(CNetNProtocol::GetDomainInfo(workgroup, computerName));
        QCOMPARE((QStringList{workgroup, computerName}), (QStringList{"WORKGROUP", "WS01"}));

        QVERIFY(m_Env->writeHive(QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\nbroken")));
        workgroup = QStringLiteral("OLDGROUP");
        computerName = QStringLiteral("OLDNAME");
        SetLastError(0);
        QVERIFY(!CNetNProtocol::GetDomainInfo(workgroup, computerName));
        QCOMPARE(uint(GetLastError()), uint(ERROR_BADDB));
        QCOMPARE((QStringList{workgroup, computerName}), (QStringList{"OLDGROUP", "OLDNAME"}));
    }

    void join_data()
    {
        QTest::addColumn<QString>("first"); // joined before, through the same call
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("error");
        QTest::addColumn<QString>("after");
        QTest::newRow("workgroup to domain") << "" << true << "corp" << 0u << "CORP 3";
        QTest::newRow("the domain it is in") << "CORP" << true << " corp " << 0u << "CORP 3";
        QTest::newRow("domain to domain") << "CORP" << true << "LAB" << 0u << "LAB 3";
        QTest::newRow("domain to workgroup") << "CORP" << true << "team" << 0u << "TEAM 2";
        QTest::newRow("unknown domain: back to the old one")
            << "CORP" << false << "nowhere.example" << uint(ERROR_NO_SUCH_DOMAIN) << "CORP 3";
    }
    void join()
    {
        QFETCH(QString, first);
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(uint, error);
        QFETCH(QString, after);
        if (!first.isEmpty())
            QVERIFY(CNetNProtocol::Join2Domain(first, QString()));
        const QString before = m_Env->readHive();
        SetLastError(12345);
        QCOMPARE(CNetNProtocol::Join2Domain(name, QString()), ok);
        QCOMPARE(uint(GetLastError()), error);
        QCOMPARE(Membership(), after);
        if (ok && !first.isEmpty() && after.startsWith(first + ' '))
            QCOMPARE(m_Env->readHive(), before); // already a member: nothing to do
    }
};

QTEST_GUILESS_MAIN(TestNetProtocol)
#include "tst_netprotocol.moc"
