// The registry hive: regedit text in and out, and the locked store on disk.
#include <QtTest>

#include <winsys.h>
#include <winsys/hive.h>
#include <winsys/host.h>

#include "testenv.h"

using winsys::Hive;

namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test";

// What regedit writes for a key with every kind of value (CRLF, wrapped hex).
const char kRegeditExport[] =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test]\r\n"
    "@=\"default\"\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\\\\"Quoted\\\"\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"List\"=hex(7):31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,31,00,00,00,31,00,30,\\\r\n"
    "  00,2e,00,30,00,2e,00,30,00,2e,00,32,00,00,00,00,00\r\n"
    "\"Expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
    "  00,25,00,00,00\r\n"
    "\"Blob\"=hex:de,ad,be,ef\r\n"
    "\"Empty\"=hex:\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Test\\Sub Key]\r\n"
    "\"Caf\xc3\xa9\"=\"na\xc3\xafve\"\r\n";

Hive Parse(const std::string& text)
{
    Hive h;
    std::string error;
    int line = 0;
    if (!winsys::ParseHive(text, h, &error, &line))
        qWarning("parse failed at line %d: %s", line, error.c_str());
    return h;
}

std::string ToUtf16File(const std::string& utf8)
{
    const QString s = QString::fromStdString(utf8);
    std::string out("\xFF\xFE", 2);
    for (QChar c : s) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}

}  // namespace

class TestHive : public QObject
{
    Q_OBJECT

private slots:
    void regeditExportIsRead()
    {
        const Hive h = Parse(kRegeditExport);
        QCOMPARE(h.GetString(kKey, ""), std::string("default"));
        QCOMPARE(h.GetString(kKey, "path"), std::string("C:\\Program Files\\\"Quoted\""));
        QCOMPARE(h.GetDword(kKey, "Count"), 42u);
        QCOMPARE(h.GetMultiString(kKey, "List"), (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
        QCOMPARE(h.GetValue(kKey, "Expand")->type, uint32_t(REG_EXPAND_SZ));
        QCOMPARE(h.GetString(kKey, "Expand"), std::string("%SystemRoot%"));
        QCOMPARE(h.GetValue(kKey, "Blob")->data, (std::vector<uint8_t>{0xde, 0xad, 0xbe, 0xef}));
        QVERIFY(h.GetValue(kKey, "Empty")->data.empty());
        QCOMPARE(h.GetString(kKey + "\\sub key", "caf\xc3\xa9"), std::string("na\xc3\xafve"));
        QCOMPARE(h.SubKeys(kKey), std::vector<std::string>{"Sub Key"});
        // UTF-16, BOM-prefixed and unterminated exports read the same.
        const std::string text = kRegeditExport;
        QVERIFY(Parse(ToUtf16File(text)) == h);
        QVERIFY(Parse("\xEF\xBB\xBF" + text) == h);
        QVERIFY(Parse(text.substr(0, text.size() - 2)) == h);
        // Written back the way regedit writes it, line for line.
        QCOMPARE(QString::fromStdString(winsys::FormatHive(h)), QString(kRegeditExport).remove('\r'));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("long multi-string wraps") << "long";
        QTest::newRow("control characters") << "control";
        QTest::newRow("sample host") << "sample";
    }
    void roundTrip()
    {
        QFETCH(QString, name);
        Hive h;
        if (name == "long") {
            h.SetMultiString(kKey, "Servers", std::vector<std::string>(40, "192.168.100.200"));
        } else if (name == "control") {
            h.SetString(kKey, "Lines", "one\r\ntwo");
            h.SetString(kKey, "Tab", "a\tb");
            h.SetValue(kKey, "Odd", winsys::RegValue{0x20, {1, 2, 3}});
            h.SetValue(kKey, "Short dword", winsys::RegValue{REG_DWORD, {1, 2}});
            h.CreateKey(kKey + "\\Empty");
        } else {
            h = Parse(winsys::SampleHiveText());
            QVERIFY(!h.AllKeys().empty());
        }
        const std::string text = winsys::FormatHive(h);
        for (const QString& line : QString::fromStdString(text).split('\n'))
            if (line.contains("=hex") || line.startsWith("  "))   // wrapped like regedit
                QVERIFY2(line.size() <= 80, qPrintable(line));
        const Hive back = Parse(text);
        QVERIFY(back == h);
        QCOMPARE(winsys::FormatHive(back), text);
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        const QByteArray head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\X]\n";
        QTest::newRow("no header") << QByteArray("[HKEY_LOCAL_MACHINE\\X]\n") << 1;
        QTest::newRow("value before key") << QByteArray("REGEDIT4\n\"a\"=\"b\"\n") << 2;
        QTest::newRow("bad dword") << head + "\"a\"=dword:xyz\n" << 4;
        QTest::newRow("dword of nine digits") << head + "\"a\"=dword:123456789\n" << 4;
        QTest::newRow("hex byte of three digits") << head + "\"a\"=hex:12,345\n" << 4;
        QTest::newRow("bad continuation") << head + "\"a\"=hex:00,\\\n  zz\n\"b\"=\"c\"\n" << 4;
        QTest::newRow("key without bracket") << head + "[HKEY_LOCAL_MACHINE\\Y\n" << 4;
        QTest::newRow("unknown root") << head + "[HKEY_NOWHERE\\Y]\n" << 4;
        // Strings the file could not hold unchanged: writing back must never alter a value.
        QTest::newRow("not utf-8") << head + "\"a\"=\"\x9a\"\n" << 4;
        QTest::newRow("cut utf-8") << head + "\"a\"=\"\xe2\x82\"\n" << 4;
        QTest::newRow("nul") << head + QByteArray("\"a\"=\"a\0b\"\n", 10) << 4;
    }
    void malformed()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        Hive h;
        h.SetString(kKey, "keep", "me");
        const Hive before = h;
        std::string error;
        int bad = 0;
        QVERIFY(!winsys::ParseHive(text.toStdString(), h, &error, &bad));
        QCOMPARE(bad, line);
        QVERIFY(!error.empty());
        QVERIFY(h == before);
    }

    void failedChangeIsNotWritten()
    {
        TestEnv env;
        QVERIFY(env.initSampleHost());
        const QString before = env.readHive();
        QCOMPARE(winsys::ModifyHive([](Hive& h) -> uint32_t {
                     h.SetString(kKey, "half", "done");
                     return ERROR_ACCESS_DENIED;
                 }),
                 uint32_t(ERROR_ACCESS_DENIED));
        QCOMPARE(env.readHive(), before);
    }

    void brokenHostIsRefused()
    {
        TestEnv env;
        // A missing host is an error, not an empty hive.
        QCOMPARE(winsys::ReadHive([](const Hive&) -> uint32_t { return 0; }), uint32_t(ERROR_BADDB));
        QVERIFY(!QFile::exists(env.hostDir() + "/registry.reg"));
        QVERIFY(env.writeHive("[HKEY_LOCAL_MACHINE\\X]\n\"a\"=dword:nothex\n"));
        QCOMPARE(winsys::ReadHive([](const Hive&) -> uint32_t { return 0; }), uint32_t(ERROR_BADDB));
        std::string message;
        QVERIFY(!winsys::CheckHost(env.hostDir().toStdString(), &message));
        QVERIFY2(QString::fromStdString(message).contains(":4:"), message.c_str());
    }

    void defaultHostIsCreatedOnFirstUse()
    {
        TestEnv env;
        qunsetenv("WINSYS_ROOT");
        const QString expected = env.root() + "/data/netconfig/host/registry.reg";
        QCOMPARE(QString::fromStdString(winsys::HivePath()), expected);
        QVERIFY(!QFile::exists(expected));
        std::string name;
        QCOMPARE(winsys::ReadHive([&](const Hive& h) -> uint32_t {
                     name = h.GetString(winsys::keys::kComputerName, "ComputerName");
                     return 0;
                 }),
                 0u);
        QCOMPARE(name, std::string("WS01"));
        QVERIFY(QFile::exists(expected));
    }

    // A reader sees a file rewritten in place even when size and time match.
    void cacheNoticesRewrite()
    {
        TestEnv env;
        const QDateTime stamp = QDateTime::currentDateTime().addSecs(-60);
        for (const char* value : {"00000001", "00000002", "00000003"}) {
            QVERIFY(env.writeHive(QString("[HKEY_LOCAL_MACHINE\\X]\n\"v\"=dword:%1\n").arg(value)));
            QFile file(env.hostDir() + "/registry.reg");
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(stamp, QFileDevice::FileModificationTime));
            uint32_t seen = 0;
            winsys::ReadHive([&](const Hive& h) -> uint32_t {
                seen = h.GetDword("HKEY_LOCAL_MACHINE\\X", "v");
                return 0;
            });
            QCOMPARE(seen, uint32_t(std::stoul(value)));
        }
    }
};

QTEST_GUILESS_MAIN(TestHive)
#include "tst_hive.moc"
