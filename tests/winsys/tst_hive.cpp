// The registry hive: regedit text in and out, and the locked store on disk.
#include "hostfacts.h"

#include <QtTest>

#include <winsys/host.h>

using winsys::Hive;

namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Test";

// What regedit writes for a key with every kind of value (CRLF, wrapped hex).
const char kRegeditExport[] = "Windows Registry Editor Version 5.00\r\n"
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

} // namespace

class TestHive : public QObject
{
    Q_OBJECT

private slots:
    void regeditExportIsRead()
    {
        const Hive h = Parse(kRegeditExport);
        QCOMPARE(h.GetString(kKey, ""), "default");
        QCOMPARE(h.GetString(kKey, "path"), "C:\\Program Files\\\"Quoted\"");
        QCOMPARE(h.GetMultiString(kKey, "List"), (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
        QCOMPARE(h.GetString(kKey, "Expand"), "%SystemRoot%");
        QCOMPARE(h.GetString(kKey + "\\sub key", "caf\xc3\xa9"), "na\xc3\xafve");
        // UTF-16, BOM-prefixed and unterminated exports read the same.
        const std::string text = kRegeditExport;
        const std::u16string utf16 = u'\xFEFF' + QString::fromStdString(text).toStdU16String();
        QVERIFY(Parse(std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2)) == h);
        QVERIFY(Parse("\xEF\xBB\xBF" + text) == h);
        QVERIFY(Parse(text.substr(0, text.size() - 2)) == h);
        // Written back the way regedit writes it, line for line (which also checks the dword and hex values).
        QCOMPARE(QString::fromStdString(winsys::FormatHive(h)), QString(kRegeditExport).remove('\r'));
    }

    // Values regedit must quote or wrap, and an empty key, survive writing and reading back.
    void roundTrip()
    {
        Hive h;
        h.SetMultiString(kKey, "Servers", std::vector<std::string>(40, "192.168.100.200"));
        h.SetString(kKey, "Lines", "one\r\ntwo");
        h.SetValue(kKey, "Odd", winsys::RegValue{0x20, {1, 2, 3}});
        h.SetValue(kKey, "Short dword", winsys::RegValue{REG_DWORD, {1, 2}});
        h.CreateKey(kKey + "\\Empty");
        const std::string text = winsys::FormatHive(h);
        for (const QString& line : QString::fromStdString(text).split('\n'))
            if (line.contains("=hex") || line.startsWith("  ")) // wrapped like regedit
                QVERIFY2(line.size() <= 80, qPrintable(line));
        const Hive back = Parse(text);
        QVERIFY(back == h);
        QCOMPARE(winsys::FormatHive(back), text);
    }

    // The line of the first fault; the hive is left as it was.
    void malformed_data()
    {
        Columns<QByteArray, int>({"text", "line"});
        const QByteArray head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\X]\n";
        Row("no header", QByteArray("[HKEY_LOCAL_MACHINE\\X]\n"), 1);
        Row("value before key", QByteArray("REGEDIT4\n\"a\"=\"b\"\n"), 2);
        Row("dword of nine digits", head + "\"a\"=dword:123456789\n", 4);
        Row("hex byte of three digits", head + "\"a\"=hex:12,345\n", 4);
        Row("bad continuation", head + "\"a\"=hex:00,\\\n  zz\n\"b\"=\"c\"\n", 4);
        Row("unknown root", head + "[HKEY_NOWHERE\\Y]\n", 4);
        // Strings the file could not hold unchanged: writing back must never alter a value.
        Row("not utf-8", head + "\"a\"=\"\x9a\"\n", 4);
        Row("nul", head + QByteArray("\"a\"=\"a\0b\"\n", 10), 4);
    }
    void malformed()
    {
        QFETCH(QByteArray, text);
        Hive h;
        h.SetString(kKey, "keep", "me");
        const Hive before = h;
        std::string error;
        int line = 0;
        QVERIFY(!winsys::ParseHive(text.toStdString(), h, &error, &line));
        QTEST(line, "line");
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

    // A missing host is an error, not an empty hive.
    void missingHostIsRefused()
    {
        TestEnv env;
        QCOMPARE(ReadHost([](const Hive&) {}), uint32_t(ERROR_BADDB));
        QVERIFY(!QFile::exists(env.hostDir() + "/registry.reg"));
    }

    // A reader sees a file rewritten in place even when size and time match.
    void cacheNoticesRewrite()
    {
        TestEnv env;
        const QDateTime stamp = QDateTime::currentDateTime().addSecs(-60);
        for (uint32_t value : {1, 2, 3}) {
            QVERIFY(env.writeHive(QString("[HKEY_LOCAL_MACHINE\\X]\n\"v\"=dword:0000000%1\n").arg(value)));
            QFile file(env.hostDir() + "/registry.reg");
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(stamp, QFileDevice::FileModificationTime));
            uint32_t seen = 0;
            ReadHost([&](const Hive& h) { seen = h.GetDword("HKEY_LOCAL_MACHINE\\X", "v"); });
            QCOMPARE(seen, value);
        }
    }
};

QTEST_GUILESS_MAIN(TestHive)
#include "tst_hive.moc"
