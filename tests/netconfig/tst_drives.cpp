#include "../baselib/mapdrivedriver.h"
#include "hosthive.h"
#include "msgbox.h"
#include "netconfigimpl.h"
#include "testenv.h"

#include <QtTest>

#include <memory>

namespace {

using Rows = QList<QStringList>;

Rows ListedRows(const CNetConfigImpl& dialog)
{
    Rows rows;
    for (int i = 0; i < dialog.chlShareList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = dialog.chlShareList->topLevelItem(i);
        rows.append({item->text(0), item->text(1)});
    }
    return rows;
}

// The host's connections as the network management service reports them.
Rows HostConnections()
{
    Rows rows;
    LPBYTE buffer = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    if (NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume) != NERR_Success)
        return {{QStringLiteral("NetUseEnum failed")}};
    const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer);
    for (DWORD i = 0; i < read; ++i) {
        rows.append({QString::fromUtf16(reinterpret_cast<const char16_t*>(entries[i].ui0_local)),
                     QString::fromUtf16(reinterpret_cast<const char16_t*>(entries[i].ui0_remote))});
    }
    NetApiBufferFree(buffer);
    return rows;
}

bool HostHasKey(const std::string& key)
{
    bool found = false;
    winsys::ReadHive([&](const winsys::Hive& hive) {
        found = hive.HasKey(key);
        return 0u;
    });
    return found;
}

QString SystemText(DWORD code)
{
    LPSTR buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const QString text = buffer ? QString::fromLocal8Bit(buffer).trimmed() : QString();
    LocalFree(buffer);
    return text;
}

const QStringList kPublic{QStringLiteral("Z:"), QStringLiteral("\\\\fileserver\\public")};
const QStringList kScans{QString(), QStringLiteral("\\\\fileserver\\scans")};
const std::string kRememberedZ = std::string(winsys::keys::kUserNetwork) + "\\Z";
const std::string kRememberedY = std::string(winsys::keys::kUserNetwork) + "\\Y";

} // namespace

// The network drives page against the emulated host: listing, mapping
// through the base library's dialog and disconnecting the current row.
class TestDrives : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_Env.reset(); }

    void sampleHostIsListed();
    void disconnect_data();
    void disconnect();
    void disconnectWithOpenFilesIsRefused();
    void disconnectWithoutRowDoesNothing_data();
    void disconnectWithoutRowDoesNothing();
    void mapThroughDialog_data();
    void mapThroughDialog();
    void mapMissingShareOrCancelMapsNothing();
    void failingListAtStartupEndsProgram();

private:
    std::unique_ptr<TestEnv> m_Env;
};

void TestDrives::init()
{
    m_Env = std::make_unique<TestEnv>();
    QVERIFY(m_Env->initSampleHost());
    QuarvelMsgBoxHistory().clear();
}

void TestDrives::sampleHostIsListed()
{
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QCOMPARE(dialog.chlShareList->headerItem()->text(0), QStringLiteral("Drive"));
    QCOMPARE(dialog.chlShareList->headerItem()->text(1), QStringLiteral("Network path"));
    QCOMPARE(ListedRows(dialog), (Rows{kPublic, kScans}));
    // A refresh rebuilds the list rather than adding to it.
    QCOMPARE(dialog.RefreshConnections(), 0ul);
    QCOMPARE(ListedRows(dialog), (Rows{kPublic, kScans}));
}

void TestDrives::disconnect_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Rows>("remaining");
    QTest::addColumn<bool>("zRemembered");
    QTest::newRow("drive letter") << 0 << Rows{kScans} << false;
    QTest::newRow("deviceless, by path") << 1 << Rows{kPublic} << true;
}

void TestDrives::disconnect()
{
    QFETCH(int, row);
    QFETCH(Rows, remaining);
    QFETCH(bool, zRemembered);
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    QVERIFY(HostHasKey(kRememberedZ));
    dialog.chlShareList->setCurrentItem(dialog.chlShareList->topLevelItem(row));
    dialog.btnDisconnectDrive->click();

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    QCOMPARE(HostConnections(), remaining);
    QCOMPARE(ListedRows(dialog), remaining);
    // The connection also leaves the user's persistent ones.
    QCOMPARE(HostHasKey(kRememberedZ), zRemembered);
}

void TestDrives::disconnectWithOpenFilesIsRefused()
{
    HostHive host;
    QVERIFY(host.IsValid());
    host.Hive().SetDword(std::string(winsys::keys::kConnections) + "\\0", "OpenFiles", 3);
    QVERIFY(host.WriteTo(*m_Env));
    const QString expected = SystemText(2401);
    QVERIFY(!expected.isEmpty());

    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    dialog.chlShareList->setCurrentItem(dialog.chlShareList->topLevelItem(0));
    dialog.btnDisconnectDrive->click();

    QCOMPARE(QuarvelMsgBoxHistory().size(), 1);
    QCOMPARE(QuarvelMsgBoxHistory().first().trimmed(), expected);
    QCOMPARE(HostConnections(), (Rows{kPublic, kScans}));
    QCOMPARE(ListedRows(dialog), (Rows{kPublic, kScans}));
}

void TestDrives::disconnectWithoutRowDoesNothing_data()
{
    QTest::addColumn<bool>("emptyHost");
    QTest::newRow("empty list") << true;
    QTest::newRow("no current row") << false;
}

void TestDrives::disconnectWithoutRowDoesNothing()
{
    QFETCH(bool, emptyHost);
    if (emptyHost) {
        HostHive host;
        host.Hive().DeleteKey(winsys::keys::kConnections);
        QVERIFY(host.WriteTo(*m_Env));
    }
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    dialog.chlShareList->setCurrentItem(nullptr);
    const Rows before = HostConnections();
    QCOMPARE(before.isEmpty(), emptyHost);
    dialog.btnDisconnectDrive->click();
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    QCOMPARE(HostConnections(), before);
    QCOMPARE(ListedRows(dialog), before);
}

void TestDrives::mapThroughDialog_data()
{
    QTest::addColumn<bool>("reconnect");
    QTest::newRow("reconnect at sign-in") << true;
    QTest::newRow("this session only") << false;
}

void TestDrives::mapThroughDialog()
{
    QFETCH(bool, reconnect);
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    const QStringList home{QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\home")};
    WhenMapDriveDialogShown([&](CMapDriveDialog* map) { FillAndFinish(map, home[0], home[1], reconnect); });
    dialog.btnMapNetDrive->click();

    QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
    QVERIFY(ShownMapDriveDialog() == nullptr);
    QVERIFY(HostConnections().contains(home));
    QVERIFY(ListedRows(dialog).contains(home));
    QCOMPARE(ListedRows(dialog).size(), 3);
    QCOMPARE(HostHasKey(kRememberedY), reconnect);
}

void TestDrives::mapMissingShareOrCancelMapsNothing()
{
    CNetConfigImpl dialog;
    QCOMPARE(dialog.ReadConfiguration(), 0ul);
    bool stayedOpen = false;
    WhenMapDriveDialogShown([&](CMapDriveDialog* map) {
        FillAndFinish(map, QStringLiteral("Y:"), QStringLiteral("\\\\fileserver\\nothere"), true);
        stayedOpen = map->isVisible();
        map->cancelButton()->click();
    });
    dialog.btnMapNetDrive->click();

    QVERIFY(stayedOpen);
    const QString expected = SystemText(67);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(QuarvelMsgBoxHistory(), QStringList{expected});
    QVERIFY(!HostHasKey(kRememberedY));

    // Cancelled without trying a valid share: nothing mapped either.
    WhenMapDriveDialogShown([](CMapDriveDialog* map) {
        map->folderEdit()->setText(QStringLiteral("\\\\fileserver\\home"));
        map->cancelButton()->click();
    });
    dialog.btnMapNetDrive->click();
    QCOMPARE(QuarvelMsgBoxHistory().size(), 1);
    QCOMPARE(HostConnections(), (Rows{kPublic, kScans}));
    QCOMPARE(ListedRows(dialog), (Rows{kPublic, kScans}));
}

void TestDrives::failingListAtStartupEndsProgram()
{
    // A connection without its remote name: the service cannot list it.
    HostHive host;
    host.Hive().DeleteValue(std::string(winsys::keys::kConnections) + "\\1", "RemoteName");
    QVERIFY(host.WriteTo(*m_Env));
    LPBYTE buffer = nullptr;
    DWORD read = 0, total = 0, resume = 0;
    const NET_API_STATUS status = NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &read, &total, &resume);
    QVERIFY(status != NERR_Success);
    const QString expected = SystemText(status);
    QVERIFY(!expected.isEmpty());

    QString stdErr;
    QCOMPARE(m_Env->runNetconfig({}, &stdErr), 1);
    QVERIFY2(stdErr.contains(expected), qPrintable(stdErr));
}

QTEST_MAIN(TestDrives)
#include "tst_drives.moc"
