// The adapter row the program remembers at exit: settings that already say
// exactly what would be stored are not written again, and anything else
// (another row, stale values, a block out of place) still is, ending with
// the one value.
#include "xmlsettings.h"

#include <testenv.h>

#include <QtTest>

namespace {

const QDateTime kOldTime(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);

QString SettingsFile(const TestEnv& env)
{
    return QDir(env.configDir()).filePath(QStringLiteral("netconfig/settings.xml"));
}

QString Block(const QString& values)
{
    return QStringLiteral("<block name=\"CNetConfigImpl\">%1</block>").arg(values);
}

QString Value(const QString& name, const QString& text)
{
    return QStringLiteral("<value name=\"%1\">%2</value>").arg(name, text);
}

} // namespace

class TestRowStore : public QObject
{
    Q_OBJECT

private slots:
    void store_data();
    void store();
};

void TestRowStore::store_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("blocks");

    const QString row0 = Value("NetConfigActiveAdapter", "0");
    const QString row1 = Value("NetConfigActiveAdapter", "1");
    const QString other = QStringLiteral("<block name=\"Other\">%1</block>").arg(Value("Key", "kept"));
    const QStringList justRow = {"CNetConfigImpl"};
    QTest::newRow("first row, as stored") << Block(row0) << false << "0" << justRow;
    QTest::newRow("second row, as stored") << Block(row1) << false << "1" << justRow;
    QTest::newRow("nothing stored") << QString() << true << "0" << justRow;
    QTest::newRow("not a number") << Block(Value("NetConfigActiveAdapter", "x")) << true << "0" << justRow;
    QTest::newRow("beyond the adapters") << Block(Value("NetConfigActiveAdapter", "7")) << true << "0" << justRow;
    QTest::newRow("stale value beside the row") << Block(row0 + Value("Stale", "1")) << true << "0" << justRow;
    QTest::newRow("stale block inside") << Block(row0 + other) << true << "0" << justRow;
    QTest::newRow("other block after it")
        << Block(row0) + other << true << "0" << QStringList{"Other", "CNetConfigImpl"};
    QTest::newRow("other block before it")
        << other + Block(row0) << false << "0" << QStringList{"Other", "CNetConfigImpl"};
    QTest::newRow("stored twice") << Block(row0) + Block(row0) << true << "0" << justRow;
}

void TestRowStore::store()
{
    QFETCH(QString, content);
    QFETCH(bool, rewritten);
    QFETCH(QString, row);
    QFETCH(QStringList, blocks);
    TestEnv env;
    QVERIFY(env.initSampleHost());
    const QString path = SettingsFile(env);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray written = QStringLiteral("<settings>%1</settings>\n").arg(content).toUtf8();
    QCOMPARE(file.write(written), written.size());
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(kOldTime, QFileDevice::FileModificationTime));
    file.close();

    QCOMPARE(env.runNetconfig({QStringLiteral("/c")}), 0);

    QCOMPARE(QFileInfo(path).lastModified().toUTC() != kOldTime, rewritten);
    const CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(path);
    QCOMPARE(root.GetChildBlockNames(), blocks);
    const CXMLSettingsBlock block = root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl"));
    QCOMPARE(block.GetValueNames(), QStringList{QStringLiteral("NetConfigActiveAdapter")});
    QCOMPARE(block.GetChildBlockNames(), QStringList());
    QCOMPARE(block.GetText(QStringLiteral("NetConfigActiveAdapter")), row);
    if (blocks.contains(QStringLiteral("Other")))
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("Other")).GetText(QStringLiteral("Key")),
                 QStringLiteral("kept"));
}

QTEST_MAIN(TestRowStore)
#include "tst_rowstore.moc"
