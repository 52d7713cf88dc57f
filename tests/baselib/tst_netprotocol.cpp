// The domain query of the base library against the emulated host.
#include "netprotocol.h"
#include "testenv.h"

#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

class TestNetProtocol : public QObject
{
    Q_OBJECT

private slots:
    // A query that fails leaves what the caller shows untouched, whichever
    // half of it failed.
    void domainInfo_data()
    {
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("result");
        QTest::addColumn<uint>("error");
        const QStringList before{QStringLiteral("OLDGROUP"), QStringLiteral("OLDNAME")};
        QTest::newRow("readable host") << QString() << true << QStringList{"WORKGROUP", "WS01"} << 0u;
        QTest::newRow("unreadable host") << "hive" << false << before << uint(ERROR_BADDB);
        QTest::newRow("name longer than the buffer") << "name" << false << before << uint(ERROR_MORE_DATA);
    }

    void domainInfo()
    {
        QFETCH(QString, breakage);
        QFETCH(bool, ok);
        QFETCH(QStringList, result);
        QFETCH(uint, error);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        if (breakage == QLatin1String("hive")) {
            QVERIFY(env.writeHive(QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\nbroken")));
        } else if (breakage == QLatin1String("name")) {
            winsys::ModifyHive([](winsys::Hive& h) {
                h.SetString(winsys::keys::kActiveComputerName, "ComputerName", std::string(300, 'N'));
                return 0u;
            });
        }

        QString workgroup = QStringLiteral("OLDGROUP");
        QString computerName = QStringLiteral("OLDNAME");
        SetLastError(0);
        QCOMPARE(CNetNProtocol::GetDomainInfo(workgroup, computerName), ok);
        QCOMPARE((QStringList{workgroup, computerName}), result);
        if (!ok)
            QCOMPARE(uint(GetLastError()), error);
    }
};

QTEST_GUILESS_MAIN(TestNetProtocol)
#include "tst_netprotocol.moc"
