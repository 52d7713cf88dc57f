// GetLogicalDrives and GetLogicalDriveStringsW on the emulated host: its own
// drives (C: and what it declares) and the mapped network drives.
#include "testenv.h"

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include <QtTest>

namespace {

QString Letters(DWORD mask)
{
    QString letters;
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i))
            letters += QChar(u'A' + i);
    return letters;
}

void DeclareLocalDrives(const QStringList& drives)
{
    std::vector<std::string> list;
    for (const QString& d : drives)
        list.push_back(d.toStdString());
    winsys::ModifyHive([&](winsys::Hive& h) {
        h.SetMultiString(winsys::keys::kEmulatedHost, "LocalDrives", list);
        return 0u;
    });
}

} // namespace

class TestLogicalDrives : public QObject
{
    Q_OBJECT

private slots:
    // The sample host has C: and the network drive Z:; the deviceless
    // connection takes no letter.
    void mask_data()
    {
        QTest::addColumn<QStringList>("declared");
        QTest::addColumn<QString>("letters");
        QTest::newRow("sample host") << QStringList{"C:"} << "CZ";
        QTest::newRow("nothing declared: C: all the same") << QStringList() << "CZ";
        QTest::newRow("spellings of a drive") << QStringList{"d:", "E", "F:\\"} << "CDEFZ";
        QTest::newRow("names that are no drive") << QStringList{"", "GG:", "1:", "H:\\x", "I;"} << "CZ";
    }

    void mask()
    {
        QFETCH(QStringList, declared);
        QFETCH(QString, letters);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        DeclareLocalDrives(declared);
        QCOMPARE(Letters(GetLogicalDrives()), letters);
    }

    void strings()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        DeclareLocalDrives({QStringLiteral("D:")});
        const std::u16string expected(u"C:\\\0D:\\\0Z:\\\0", 12);

        // Too small: the size it needs, terminating null included; nothing written.
        WCHAR small[12];
        std::fill(std::begin(small), std::end(small), u'#');
        QCOMPARE(GetLogicalDriveStringsW(12, small), 13u);
        QCOMPARE(small[0], u'#');
        QCOMPARE(GetLogicalDriveStringsW(0, nullptr), 13u);

        WCHAR buffer[13];
        QCOMPARE(GetLogicalDriveStringsW(13, buffer), 12u);
        QVERIFY(std::u16string(buffer, 12) == expected);
        QCOMPARE(buffer[12], u'\0');
    }

    void unreadableHost()
    {
        TestEnv env;
        QVERIFY(env.writeHive(QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\nbroken")));
        SetLastError(0);
        QCOMPARE(GetLogicalDrives(), 0u);
        QCOMPARE(GetLastError(), DWORD(ERROR_BADDB));
        WCHAR buffer[64];
        QCOMPARE(GetLogicalDriveStringsW(64, buffer), 0u);
    }

    // A drive of the host's own cannot be mapped, declared or not.
    void ownDriveCannotBeMapped_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<uint>("result");
        QTest::newRow("C:, never declared") << "C:" << uint(ERROR_ALREADY_ASSIGNED);
        QTest::newRow("D:, declared") << "D:" << uint(ERROR_ALREADY_ASSIGNED);
        QTest::newRow("E:, free") << "E:" << uint(NO_ERROR);
    }

    void ownDriveCannotBeMapped()
    {
        QFETCH(QString, device);
        QFETCH(uint, result);
        TestEnv env;
        QVERIFY(env.initSampleHost());
        DeclareLocalDrives({QStringLiteral("D:")});
        std::u16string local = device.toStdU16String(), remote = u"\\\\fileserver\\home";
        NETRESOURCEW resource{};
        resource.dwType = RESOURCETYPE_DISK;
        resource.lpLocalName = local.data();
        resource.lpRemoteName = remote.data();
        QCOMPARE(uint(WNetAddConnection2W(&resource, nullptr, nullptr, 0)), result);
    }
};

QTEST_GUILESS_MAIN(TestLogicalDrives)
#include "tst_logicaldrives.moc"
