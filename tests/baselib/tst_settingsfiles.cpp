// The settings files: CIniFile reading, writing and refusing INI text, and
// the XML settings keeping values, reading booleans and deleting blocks.
#include "inifile.h"
#include "xmlsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFiles : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray& content, const QString& name = QStringLiteral("a.ini"))
    {
        const QString path = m_Dir->filePath(name);
        QFile f(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !f.open(QIODevice::WriteOnly) ||
            f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    QString settingsPath() const { return m_Dir->filePath(QStringLiteral("netconfig/settings.xml")); }

    std::unique_ptr<QTemporaryDir> m_Dir;

private slots:
    void init() { m_Dir = std::make_unique<QTemporaryDir>(); }

    // The value at `path`; a null value: not found, the default comes back.
    void iniParse_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("keysOfS");
        QTest::addColumn<QString>("value");

        const QStringList s{QStringLiteral("S")}, ab{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("crlf") << QByteArray("[S]\r\na=1\r\nb=2\r\n") << "S/b" << s << ab << "2";
        QTest::newRow("blanks around") << QByteArray("  [ S ]  \n\ta  =  1 \n b\t=\t two words \n") << "S/b" << s << ab
                                       << "two words";
        QTest::newRow("comments") << QByteArray("; top\n[S]\n# x=9\na=1\n ;c=3\nb=2\n") << "S/a" << s << ab << "1";
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[S]\na=1\nb=2\n") << "S/a" << s << ab << "1";
        QTest::newRow("duplicate key other case") << QByteArray("[S]\na=1\nb=2\nA=3\n") << "S/a" << s << ab << "3";
        QTest::newRow("section repeated")
            << QByteArray("[S]\na=1\n[T]\nx=0\n[S]\nb=2\n") << "S/b" << QStringList{"S", "T"} << ab << "2";
        QTest::newRow("value with equals") << QByteArray("[S]\na=x=y\nb=\n") << "S/a" << s << ab << "x=y";
        QTest::newRow("keys before header")
            << QByteArray("g=0\n[S]\na=1\nb=2\n") << "g" << QStringList{"", "S"} << ab << "0";
        QTest::newRow("names ignore case") << QByteArray("[S]\na=1\n") << "s/A" << s << QStringList{"a"} << "1";
        QTest::newRow("empty file") << QByteArray() << "S/a" << QStringList() << QStringList() << QString();
    }
    void iniParse()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        QFETCH(QString, value);

        CIniFile ini;
        QVERIFY(ini.SetIniFileName(write(content)));
        QTEST(ini.GetSections(), "sections");
        QTEST(ini.GetSectionKeys(QStringLiteral("S")), "keysOfS");
        bool ok = value.isNull();
        QCOMPARE(ini.readEntry(path, QStringLiteral("def"), &ok), value.isNull() ? QStringLiteral("def") : value);
        QCOMPARE(ok, !value.isNull());
        QVERIFY(!ini.IsDirty());
    }

    void iniRejectsWhatIsNotAReadableFile()
    {
        CIniFile ini;
        QVERIFY(!ini.SetIniFileName(QString()));
        QVERIFY(!ini.SetIniFileName(m_Dir->filePath(QStringLiteral("missing.ini"))));
        QVERIFY(!ini.SetIniFileName(m_Dir->path()));
        QFile huge(write("[S]\na=1\n", QStringLiteral("huge.ini")));
        QVERIFY(huge.resize(CIniFile::MaxFileSize + 1)); // sparse, costs no disk
        QVERIFY(!ini.SetIniFileName(huge.fileName()));
    }

    void iniWriteKeepsOrder()
    {
        const QString path = write("; note\n[B]\nz=1\ny=2\n[A]\nk=v\n");
        {
            CIniFile ini;
            QVERIFY(ini.SetIniFileName(path));
            QVERIFY(ini.writeEntry(QStringLiteral("B/x"), QStringLiteral("3")));
            QVERIFY(ini.writeEntry(QStringLiteral("B/z"), QStringLiteral("changed")));
            QVERIFY(ini.writeEntry(QStringLiteral("C/first"), QStringLiteral("a b ; c")));
            QVERIFY(ini.writeEntry(QStringLiteral("A/empty"), QString()));
            QVERIFY(ini.writeEntry(QStringLiteral("top"), QStringLiteral("1"))); // before every section
            QCOMPARE(ini.readEntry(QStringLiteral("A/k")), QStringLiteral("v"));
            QVERIFY(ini.IsDirty());
            // Buffered: nothing reaches the file before Flush.
            QVERIFY(contents(path).startsWith("; note"));
            QVERIFY(ini.Flush());
            QVERIFY(!ini.IsDirty());
        }
        QCOMPARE(contents(path),
                 QByteArray("top=1\n\n[B]\nz=changed\ny=2\nx=3\n\n[A]\nk=v\nempty=\n\n[C]\nfirst=a b ; c\n"));
    }

    void iniRefusesTextTheReaderCouldNotGiveBack()
    {
        CIniFile ini;
        QVERIFY(ini.SetIniFileName(write(QByteArray())));
        QVERIFY(!ini.writeEntry(QStringLiteral("S/a"), QStringLiteral("x\ny")));
        for (const char* path : {"S/a=b", "S]/a", "S/[a", "S/;a", "S/#a", "S/a\rb"})
            QVERIFY2(!ini.writeEntry(QString::fromLatin1(path), QStringLiteral("x")), path);
        QVERIFY(!ini.IsDirty());
    }

    void iniFlushFailsWhenTheFileCannotBeReplaced()
    {
        const QString path = write("[S]\na=1\n");
        CIniFile ini;
        QVERIFY(ini.SetIniFileName(path));
        ini.writeEntry(QStringLiteral("S/a"), QStringLiteral("2"));
        // The file's place is taken by a folder: the write must fail, not lose data silently.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
        QVERIFY(!ini.Flush());
        QVERIFY(ini.IsDirty());
        QDir().rmdir(path);
        QVERIFY(ini.Flush());
        QCOMPARE(contents(path), QByteArray("[S]\na=2\n"));
    }

    void xmlValuesSurviveAReopen()
    {
        {
            // A missing file gives the defaults; reading alone creates nothing on disk.
            CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
            QVERIFY(root.IsValid());
            QVERIFY(root.GetBool(QStringLiteral("Netconfig_Utilities"), true));
            QVERIFY(!root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).IsValid());
            QCOMPARE(root.GetText(QStringLiteral("x"), QStringLiteral("d")), QStringLiteral("d"));
            QVERIFY(!QFile::exists(settingsPath()));
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
            QVERIFY(contents(settingsPath()).contains("NetConfigActiveAdapter"));
        }
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QCOMPARE(
            root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).GetText(QStringLiteral("NetConfigActiveAdapter")),
            QStringLiteral("2"));
        CXMLSettingsBlock c = root.GetFirstChildBlock(QStringLiteral("a"))
                                  .GetFirstChildBlock(QStringLiteral("b"))
                                  .GetFirstChildBlock(QStringLiteral("c"));
        QCOMPARE(c.GetText(QStringLiteral("odd name <&>")), QStringLiteral(" spaced \"quoted\" & <tag> "));
        QCOMPARE(root.GetText(QStringLiteral("blank")), QStringLiteral(" "));
        QCOMPARE(root.GetText(QStringLiteral("emoji")), QString::fromUtf8("\xF0\x9F\x98\x80"));
        QCOMPARE(root.GetChildBlockNames(), (QStringList{"CNetConfigImpl", "a"}));
    }

    void xmlDeleteBlockItself()
    {
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        CXMLSettingsBlock block = root.GetFirstBlockForPath(QStringLiteral("CNetConfigImpl"));
        block.PutText(QStringLiteral("NetConfigActiveAdapter"), QStringLiteral("5"));
        block.PutText(QStringLiteral("stale"), QStringLiteral("x"));
        root.PutText(QStringLiteral("keep"), QStringLiteral("1"));

        QVERIFY(block.DeleteBlock(QStringLiteral(".")));
        QVERIFY(!block.IsValid());
        QVERIFY(!root.GetFirstChildBlock(QStringLiteral("CNetConfigImpl")).IsValid());

        QCOMPARE(root.GetText(QStringLiteral("keep")), QStringLiteral("1"));
        QVERIFY(!contents(settingsPath()).contains("stale"));
    }

    void xmlGetBool_data()
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
    void xmlGetBool()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QVERIFY(root.PutText(QStringLiteral("b"), text));
        QCOMPARE(root.GetBool(QStringLiteral("b"), true), value != 0);
        QCOMPARE(root.GetBool(QStringLiteral("b"), false), value == 1);
    }

    void xmlCorruptFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("recovered"); // value of block "A" "v", or empty
        QTest::newRow("wrong root") << QByteArray("<other><block name=\"A\"><value "
                                                  "name=\"v\">1</value></block></other>")
                                    << QString();
        QTest::newRow("truncated") << QByteArray("<settings><block name=\"A\"><value name=\"v\">7</value></block>"
                                                 "<block name=\"B\"><value na")
                                   << QStringLiteral("7");
    }
    void xmlCorruptFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, recovered);
        write(content, QStringLiteral("netconfig/settings.xml"));
        {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged")));
            CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
            QVERIFY(root.IsValid());
            QCOMPARE(root.GetFirstChildBlock(QStringLiteral("A")).GetText(QStringLiteral("v")), recovered);
            // The damaged original is kept aside, byte for byte.
            QCOMPARE(contents(settingsPath() + QStringLiteral(".bad")), content);
            QVERIFY(root.PutText(QStringLiteral("new"), QStringLiteral("1")));
        }
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(settingsPath());
        QCOMPARE(root.GetText(QStringLiteral("new")), QStringLiteral("1"));
        QCOMPARE(root.GetFirstChildBlock(QStringLiteral("A")).GetText(QStringLiteral("v")), recovered);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settingsfiles.moc"
