#include "netprotocol.h"

#include "testenv.h"

#include <QtTest>

#include <memory>
#include <winsys.h>

// Against the sample host: workgroup "WORKGROUP", computer "WS01", the
// network offers the domain "CORP".
class TestNetProtocol : public QObject
{
    Q_OBJECT

private:
    static QString membership()
    {
        QString workgroup, computer;
        CNetNProtocol::GetDomainInfo(workgroup, computer);
        return workgroup;
    }
    static NETSETUP_JOIN_STATUS membershipKind()
    {
        LPWSTR name = nullptr;
        NETSETUP_JOIN_STATUS kind = NetSetupUnknownStatus;
        if (NetGetJoinInformation(nullptr, &name, &kind) == NERR_Success)
            NetApiBufferFree(name);
        return kind;
    }

    std::unique_ptr<TestEnv> m_Env;

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void domainInfo()
    {
        QString workgroup = QStringLiteral("stale"), computer;
        QVERIFY(CNetNProtocol::GetDomainInfo(workgroup, computer));
        QCOMPARE(workgroup, QStringLiteral("WORKGROUP"));
        QCOMPARE(computer, QStringLiteral("WS01"));
    }

    void join_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<uint>("error");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("kind");
        QTest::newRow("same workgroup, other case") << "workgroup" << true << 0u << "WORKGROUP"
                                                    << int(NetSetupWorkgroupName);
        QTest::newRow("new workgroup") << "OFFICE" << true << 0u << "OFFICE" << int(NetSetupWorkgroupName);
        QTest::newRow("offered domain") << "corp" << true << 0u << "CORP" << int(NetSetupDomainName);
        QTest::newRow("unknown dotted domain") << "corp.example.com" << false << 1355u << "WORKGROUP"
                                               << int(NetSetupWorkgroupName);
        QTest::newRow("empty") << "" << false << 87u << "WORKGROUP" << int(NetSetupWorkgroupName);
    }
    void join()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(uint, error);
        QFETCH(QString, after);
        QFETCH(int, kind);
        SetLastError(12345);
        QCOMPARE(CNetNProtocol::Join2Domain(name, QString()), ok);
        if (!ok)
            QCOMPARE(uint(GetLastError()), error);
        QCOMPARE(membership(), after);
        QCOMPARE(int(membershipKind()), kind);
    }

    void fromDomainToWorkgroupAndBack()
    {
        QVERIFY(CNetNProtocol::Join2Domain(QStringLiteral("CORP"), QString()));
        QVERIFY(CNetNProtocol::Join2Domain(QStringLiteral("HOMEGROUP"), QString()));
        QCOMPARE(membership(), QStringLiteral("HOMEGROUP"));
        QCOMPARE(membershipKind(), NetSetupWorkgroupName);
        QVERIFY(CNetNProtocol::Join2Domain(QStringLiteral("CORP"), QString()));
        QCOMPARE(membershipKind(), NetSetupDomainName);
        // A failed move keeps the domain and reports the failure, not the way back.
        QVERIFY(!CNetNProtocol::Join2Domain(QStringLiteral("other.example"), QString()));
        QCOMPARE(uint(GetLastError()), 1355u);
        QCOMPARE(membership(), QStringLiteral("CORP"));
        QCOMPARE(membershipKind(), NetSetupDomainName);
    }

    void brokenHostFails()
    {
        QVERIFY(m_Env->writeHive(QStringLiteral("this is not a registry file\n")));
        QString workgroup = QStringLiteral("x"), computer = QStringLiteral("y");
        QVERIFY(!CNetNProtocol::GetDomainInfo(workgroup, computer));
        QVERIFY(workgroup.isEmpty());
        QVERIFY(!CNetNProtocol::Join2Domain(QStringLiteral("OFFICE"), QString()));
        QVERIFY(GetLastError() != 0);
    }
};

QTEST_GUILESS_MAIN(TestNetProtocol)
#include "tst_netprotocol.moc"
