#include "xmlsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestXmlSettings : public QObject
{
    Q_OBJECT

private:
    QString settingsPath() const { return m_Dir->filePath(QStringLiteral("netconfig/settings.xml")); }
    void writeSettings(const QByteArray& content)
    {
        QDir().mkpath(m_Dir->filePath(QStringLiteral("netconfig")));
        QFile f(settingsPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_Dir;

private slots:
    void init() { m_Dir = std::make_unique<QTemporaryDir>(); }

    void missingFileGivesDefaults()
    {
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QVERIFY(root.IsValid());
        QVERIFY(root.GetBool(QStringLiteral("Netconfig_Utilities"), true));
        QVERIFY(!root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).IsValid());
        QCOMPARE(root.GetText(QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
        // Reading alone creates nothing on disk.
        QVERIFY(!QFile::exists(settingsPath()));
    }

    void valuesSurviveAReopen()
    {
        {
            CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
            CXMLSettingsBlock block = root.GetFirstBlockForPath(QStringLiteral("CNetConfigImpl"));
            QVERIFY(block.IsValid());
            QVERIFY(block.PutText(QStringLiteral("NetConfigActiveAdapter"), QStringLiteral("2")));
            QVERIFY(root.GetFirstBlockForPath(QStringLiteral("a/b/c"))
                        .PutText(QStringLiteral("odd name <&>"), QStringLiteral(" spaced \"quoted\" & <tag> ")));
            QVERIFY(root.PutText(QStringLiteral("blank"), QStringLiteral(" ")));
            QVERIFY(root.PutText(QStringLiteral("emoji"), QString::fromUtf8("\xF0\x9F\x98\x80")));
            QVERIFY(!root.PutText(QStringLiteral("control"), QStringLiteral("a\x01")));
            QVERIFY(!root.PutText(QStringLiteral("lone surrogate"), QString(QChar(0xD800))));
            // Saved right away, not only at the end of the run.
            QVERIFY(read(settingsPath()).contains("NetConfigActiveAdapter"));
        }
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).GetText(QStringLiteral("NetConfigActiveAdapter")),
                 QStringLiteral("2"));
        CXMLSettingsBlock c = root.GetFirstChildBlock(QStringLiteral("a"))
                                  .GetFirstChildBlock(QStringLiteral("b"))
                                  .GetFirstChildBlock(QStringLiteral("c"));
        QCOMPARE(c.GetText(QStringLiteral("odd name <&>")), QStringLiteral(" spaced \"quoted\" & <tag> "));
        QCOMPARE(root.GetText(QStringLiteral("blank")), QStringLiteral(" "));
        QCOMPARE(root.GetText(QStringLiteral("emoji")), QString::fromUtf8("\xF0\x9F\x98\x80"));
        QCOMPARE(root.GetChildBlockNames(), (QStringList{"CNetConfigImpl", "a"}));
    }

    void deleteBlockItself()
    {
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        CXMLSettingsBlock block = root.GetFirstBlockForPath(QStringLiteral("CNetConfigImpl"));
        block.PutText(QStringLiteral("NetConfigActiveAdapter"), QStringLiteral("5"));
        block.PutText(QStringLiteral("stale"), QStringLiteral("x"));
        root.PutText(QStringLiteral("keep"), QStringLiteral("1"));

        QVERIFY(block.DeleteBlock(QStringLiteral(".")));
        QVERIFY(!block.IsValid());
        QVERIFY(!block.PutText(QStringLiteral("late"), QStringLiteral("1")));
        QVERIFY(!root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).IsValid());

        QCOMPARE(root.GetText(QStringLiteral("keep")), QStringLiteral("1"));
        QVERIFY(!root.DeleteBlock(QStringLiteral("nothing/here")));
        QVERIFY(!read(settingsPath()).contains("stale"));
    }

    void getBool_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: not a boolean, the default stays
        for (const char* yes : {"1", "true", " YES ", "On"})
            QTest::newRow(yes) << QString::fromLatin1(yes) << 1;
        for (const char* no : {"0", "False", "no", "OFF"})
            QTest::newRow(no) << QString::fromLatin1(no) << 0;
        QTest::newRow("maybe") << "maybe" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void getBool()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QVERIFY(root.PutText(QStringLiteral("b"), text));
        QCOMPARE(root.GetBool(QStringLiteral("b"), true), value != 0);
        QCOMPARE(root.GetBool(QStringLiteral("b"), false), value == 1);
    }

    void corruptFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("recovered"); // value of block "A" "v", or empty
        QTest::newRow("binary") << QByteArray("\x01\x02\xff garbage") << QString();
        QTest::newRow("wrong root") << QByteArray("<other><block name=\"A\"><value name=\"v\">1</value></block></other>")
                                    << QString();
        QTest::newRow("truncated") << QByteArray("<settings><block name=\"A\"><value name=\"v\">7</value></block>"
                                                 "<block name=\"B\"><value na")
                                   << QStringLiteral("7");
        QTest::newRow("bad entity later") << QByteArray("<settings><block name=\"A\"><value name=\"v\">8</value>"
                                                        "</block><value name=\"w\">&nope;</value></settings>")
                                          << QStringLiteral("8");
    }
    void corruptFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, recovered);
        writeSettings(content);
        {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
            CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
            QVERIFY(root.IsValid());
            QCOMPARE(root.GetFirstChildBlock(QStringLiteral("A")).GetText(QStringLiteral("v")), recovered);
            QVERIFY(root.GetBool(QStringLiteral("Netconfig_Utilities"), true));
            // The damaged original is kept aside, byte for byte.
            QCOMPARE(read(settingsPath() + QStringLiteral(".bad")), content);
            QVERIFY(root.PutText(QStringLiteral("new"), QStringLiteral("1")));
        }
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QCOMPARE(root.GetText(QStringLiteral("new")), QStringLiteral("1"));
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("A")).GetText(QStringLiteral("v")), recovered);
    }

    void unwritableFolderFailsCleanly()
    {
        // A file where the settings folder should be.
        QFile blocker(m_Dir->filePath(QStringLiteral("netconfig")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QVERIFY(root.IsValid());
        QVERIFY(!root.PutText(QStringLiteral("a"), QStringLiteral("1")));
        QCOMPARE(root.GetText(QStringLiteral("a")), QStringLiteral("1")); // kept for this run
    }

};

QTEST_GUILESS_MAIN(TestXmlSettings)
#include "tst_xmlsettings.moc"
