// The network drives page: listing, mapping and disconnecting on the host.
#include "../baselib/mapdrivedriver.h"
#include "applytestutil.h"
#include "hosthive.h"
#include "msgboxrecorder.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

namespace {

using Rows = QList<QStringList>;

Rows Listed(const CNetConfigImpl& dialog)
{
    Rows rows;
    for (int i = 0; i < dialog.DrivesPage()->chlShareList->topLevelItemCount(); ++i)
        rows.append({dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(0),
                     dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(1)});
    return rows;
}

// The connections as the next start of the program lists them.
Rows HostConnections()
{
    CNetConfigImpl fresh;
    return fresh.ReadConfiguration() == 0 ? Listed(fresh) : Rows{{QStringLiteral("unreadable host")}};
}

bool Remembered(const char* letter)
{
    bool found = false;
    winsys::ReadHive([&](const winsys::Hive& hive) {
        found = hive.HasKey(std::string(winsys::keys::kUserNetwork) + "\\" + letter);
        return 0u;
    });
    return found;
}

const QStringList kPublic{QStringLiteral("Z:"), QStringLiteral("\\\\fileserver\\public")};
const QStringList kScans{QString(), QStringLiteral("\\\\fileserver\\scans")};

} // namespace

class TestDrives : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
    MsgBoxRecorder m_Boxes;

    void Open()
    {
        m_Dialog = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Dialog->ReadConfiguration(), 0ul);
        QCOMPARE(Listed(*m_Dialog), (Rows{kPublic, kScans}));
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Boxes.texts().clear();
    }

    void cleanup()
    {
        m_Dialog.reset();
        m_Env.reset();
    }

    void disconnect_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("openFiles");
        QTest::addColumn<Rows>("remaining");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("drive letter") << 0 << 0 << Rows{kScans} << QStringList();
        QTest::newRow("deviceless, by path") << 1 << 0 << Rows{kPublic} << QStringList();
        QTest::newRow("open files refused")
            << 0 << 3 << Rows{kPublic, kScans} << QStringList{applytest::SystemText(2401).trimmed()};
    }

    void disconnect()
    {
        QFETCH(int, row);
        QFETCH(int, openFiles);
        QFETCH(Rows, remaining);
        QFETCH(QStringList, messages);
        HostHive host;
        host.Hive().SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", DWORD(openFiles));
        QVERIFY(host.WriteTo(*m_Env));
        Open();
        m_Dialog->DrivesPage()->chlShareList->setCurrentItem(m_Dialog->DrivesPage()->chlShareList->topLevelItem(row));
        m_Dialog->DrivesPage()->btnDisconnectDrive->click();

        QCOMPARE(m_Boxes.texts().replaceInStrings(QRegularExpression(QStringLiteral("\\s+$")), {}), messages);
        QCOMPARE(HostConnections(), remaining);
        QCOMPARE(Listed(*m_Dialog), remaining);
        // A disconnected drive also leaves the user's persistent connections.
        QCOMPARE(Remembered("Z"), remaining.contains(kPublic));
    }

    // Only a drive mapped to reconnect at sign-in is remembered.
    void map()
    {
        Open();
        const QStringList home{QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home")};
        const QStringList again{QStringLiteral("X:"), QStringLiteral("\\\\fileserver\\public")};
        WhenMapDriveDialogShown([&](CMapDriveDialog* map) { FillAndFinish(map, home[0], home[1], true); });
        m_Dialog->DrivesPage()->btnMapNetDrive->click();
        WhenMapDriveDialogShown([&](CMapDriveDialog* map) { FillAndFinish(map, again[0], again[1], false); });
        m_Dialog->DrivesPage()->btnMapNetDrive->click();

        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(HostConnections(), (Rows{kPublic, kScans, home, again}));
        QCOMPARE(Listed(*m_Dialog), HostConnections());
        QVERIFY(Remembered("Y") && !Remembered("X"));
    }
};

QTEST_MAIN(TestDrives)
#include "tst_drives.moc"
