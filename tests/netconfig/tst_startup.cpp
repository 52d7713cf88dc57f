#include "hosthive.h"
#include "xmlsettings.h"

#include <QtTest>

namespace {

const QString kBlock = QStringLiteral("CNetConfigImpl");
const QString kKey = QStringLiteral("NetConfigActiveAdapter");
const QString kNone = QStringLiteral("<none>");

QString SettingsFile(const TestEnv& env)
{
    return QDir(env.configDir()).filePath(QStringLiteral("netconfig/settings.xml"));
}

// Handles are dropped before the program runs, so every call sees the file
// as it is on disk.
void StoreRow(const TestEnv& env, const QString& row)
{
    QDir().mkpath(QFileInfo(SettingsFile(env)).path());
    CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(SettingsFile(env));
    CXMLSettingsBlock block = root.GetFirstBlockForPath(kBlock);
    QVERIFY(block.IsValid());
    QVERIFY(block.PutText(kKey, row));
    QVERIFY(block.Save());
}

QString StoredRow(const TestEnv& env)
{
    if (!QFileInfo::exists(SettingsFile(env)))
        return kNone;
    const CXMLSettingsBlock block = CXMLSettingsBlock::OpenRoot(SettingsFile(env)).GetFirstChildBlock(kBlock);
    return block.IsValid() ? block.GetText(kKey, kNone) : kNone;
}

} // namespace

// The real program started against emulated hosts: the failed start, and
// the adapter row remembered from one run to the next.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void noAdapterEndsTheProgram_data();
    void noAdapterEndsTheProgram();
    void rememberedRow_data();
    void rememberedRow();
    void rowSurvivesRestart();
};

void TestStartup::noAdapterEndsTheProgram_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("dialog") << QStringList();
    QTest::newRow("console") << QStringList{QStringLiteral("/c")};
    QTest::newRow("console save") << QStringList{QStringLiteral("/c"), QStringLiteral("/s"), QStringLiteral("out.ini")};
}

void TestStartup::noAdapterEndsTheProgram()
{
    QFETCH(QStringList, args);
    TestEnv env;
    HostHive host;
    QVERIFY(host.IsValid());
    host.RemoveAdapters();
    QVERIFY(host.WriteTo(env));
    StoreRow(env, QStringLiteral("1"));

    QString errors;
    QCOMPARE(env.runNetconfig(args, &errors), 1);
    QVERIFY2(errors.contains(QLatin1String("netconfig: The network is not present or not started.")),
             qPrintable(errors));
    // The early stop must not overwrite what the last good run stored.
    QCOMPARE(StoredRow(env), QStringLiteral("1"));
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("out.ini"))));
}

void TestStartup::rememberedRow_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("reported");

    QTest::newRow("nothing stored") << QString() << "0" << false;
    QTest::newRow("second adapter") << "1" << "1" << false;
    QTest::newRow("first adapter") << "0" << "0" << false;
    QTest::newRow("not a number") << "abc" << "0" << false;
    QTest::newRow("negative") << "-1" << "0" << false;
    // The machine lost an adapter since the last run.
    QTest::newRow("beyond the adapters") << "2" << "0" << true;
}

void TestStartup::rememberedRow()
{
    QFETCH(QString, stored);
    QFETCH(QString, after);
    QFETCH(bool, reported);

    TestEnv env;
    QVERIFY(env.initSampleHost());
    if (!stored.isNull())
        StoreRow(env, stored);

    QString errors;
    QCOMPARE(env.runNetconfig({QStringLiteral("/c")}, &errors), 0);
    QCOMPARE(StoredRow(env), after);
    QCOMPARE(errors.contains(QLatin1String("ASSERT: \"Index < (int)m_Adapters.count()\"")), reported);
    QVERIFY2(!errors.contains(QLatin1String("netconfig: ")), qPrintable(errors));
}

void TestStartup::rowSurvivesRestart()
{
    TestEnv env;
    QVERIFY(env.initSampleHost());
    StoreRow(env, QStringLiteral("1"));
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(env.runNetconfig({QStringLiteral("/c")}), 0);
        QCOMPARE(StoredRow(env), QStringLiteral("1"));
    }
    // With the second adapter gone the next start falls back to the first.
    HostHive host;
    host.Hive().DeleteKey(host.AdapterKeys().at(1));
    QVERIFY(host.WriteTo(env));
    QCOMPARE(env.runNetconfig({QStringLiteral("/c")}), 0);
    QCOMPARE(StoredRow(env), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
