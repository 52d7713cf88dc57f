// The network drives page: listing, mapping and disconnecting on the host.
#include "../baselib/mapdrivedriver.h"
#include "applytestutil.h"
#include "hosthive.h"

#include <memory>

namespace {

// "letter path" per row, rows joined by "|".
QString Listed(const CNetConfigImpl& dialog)
{
    QStringList rows;
    for (int i = 0; i < dialog.DrivesPage()->chlShareList->topLevelItemCount(); ++i)
        rows << dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(0) + u' ' +
                    dialog.DrivesPage()->chlShareList->topLevelItem(i)->text(1);
    return rows.join(u'|');
}

// The connections as the next start of the program lists them.
QString HostConnections()
{
    CNetConfigImpl fresh;
    return fresh.ReadConfiguration() == 0 ? Listed(fresh) : QStringLiteral("unreadable host");
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

const QString kPublic = QStringLiteral("Z: \\\\fileserver\\public"), kScans = QStringLiteral(" \\\\fileserver\\scans");

} // namespace

class TestDrives : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;
    MsgBoxRecorder m_Boxes;

    void Open()
    {
        m_Dialog = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Dialog->ReadConfiguration(), 0ul);
        QCOMPARE(Listed(*m_Dialog), kPublic + u'|' + kScans);
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Boxes.texts().clear();
    }
    void cleanup() { m_Dialog.reset(), m_Env.reset(); }

    // A disconnected drive also leaves the user's persistent connections.
    void disconnect_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("openFiles");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("drive letter") << 0 << 0 << kScans << QStringList();
        QTest::newRow("deviceless, by path") << 1 << 0 << kPublic << QStringList();
        QTest::newRow("open files refused")
            << 0 << 3 << kPublic + u'|' + kScans << QStringList{applytest::SystemText(2401).trimmed()};
    }
    void disconnect()
    {
        QFETCH(int, row);
        QFETCH(int, openFiles);
        QFETCH(QString, remaining);
        HostHive host;
        host.Hive().SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", DWORD(openFiles));
        QVERIFY(host.WriteTo(*m_Env));
        Open();
        m_Dialog->DrivesPage()->chlShareList->setCurrentItem(m_Dialog->DrivesPage()->chlShareList->topLevelItem(row));
        m_Dialog->DrivesPage()->btnDisconnectDrive->click();
        QTEST(m_Boxes.texts().replaceInStrings(QRegularExpression(QStringLiteral("\\s+$")), {}), "messages");
        QCOMPARE(HostConnections(), remaining);
        QCOMPARE(Listed(*m_Dialog), remaining);
        QCOMPARE(Remembered("Z"), remaining.contains(kPublic));
    }

    // Only a drive mapped to reconnect at sign-in is remembered.
    void map()
    {
        Open();
        WhenMapDriveDialogShown([](CMapDriveDialog* map) {
            FillAndFinish(map, QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home"), true);
        });
        m_Dialog->DrivesPage()->btnMapNetDrive->click();
        WhenMapDriveDialogShown([](CMapDriveDialog* map) {
            FillAndFinish(map, QStringLiteral("X:"), QStringLiteral("\\\\fileserver\\public"), false);
        });
        m_Dialog->DrivesPage()->btnMapNetDrive->click();
        QCOMPARE(m_Boxes.texts(), QStringList());
        QCOMPARE(HostConnections(),
                 kPublic + u'|' + kScans + QStringLiteral("|Y: \\\\fileserver\\home|X: \\\\fileserver\\public"));
        QCOMPARE(Listed(*m_Dialog), HostConnections());
        QVERIFY(Remembered("Y") && !Remembered("X"));
    }
};

QTEST_MAIN(TestDrives)
#include "tst_drives.moc"
