#include "inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestIniFile : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray& content, const QString& name = QStringLiteral("a.ini"))
    {
        const QString path = m_Dir->filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    std::unique_ptr<QTemporaryDir> m_Dir;

private slots:
    void init() { m_Dir = std::make_unique<QTemporaryDir>(); }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("keysOfS");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");

        const QStringList ab{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("crlf") << QByteArray("[S]\r\na=1\r\nb=2\r\n") << QStringList{"S"} << ab << "S/b" << "2";
        QTest::newRow("blanks around") << QByteArray("  [ S ]  \n\ta  =  1 \n b\t=\t two words \n")
                                       << QStringList{"S"} << ab << "S/b" << "two words";
        QTest::newRow("comments") << QByteArray("; top\n[S]\n# x=9\na=1\n ;c=3\nb=2\n") << QStringList{"S"} << ab
                                  << "S/a" << "1";
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[S]\na=1\nb=2\n") << QStringList{"S"} << ab << "S/a"
                             << "1";
        QTest::newRow("duplicate key other case") << QByteArray("[S]\na=1\nb=2\nA=3\n") << QStringList{"S"} << ab
                                                  << "S/a" << "3";
        QTest::newRow("section repeated") << QByteArray("[S]\na=1\n[T]\nx=0\n[S]\nb=2\n")
                                          << QStringList{"S", "T"} << ab << "S/b" << "2";
        QTest::newRow("binary junk lines")
            << QByteArray("[S]\n\x01\x02\xff\xfe=zz\na=1\n\xc3\x28junk=1\nb=2\n\0\0\0x=1\n", 36)
            << QStringList{"S"} << ab << "S/b" << "2";
        QTest::newRow("value with equals") << QByteArray("[S]\na=x=y\nb=\n") << QStringList{"S"} << ab << "S/a"
                                           << "x=y";
        QTest::newRow("keys before header") << QByteArray("g=0\n[S]\na=1\nb=2\n") << QStringList{"", "S"} << ab
                                            << "g" << "0";
    }
    void parse()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, sections);
        QFETCH(QStringList, keysOfS);
        QFETCH(QString, path);
        QFETCH(QString, value);

        CIniFile ini;
        QVERIFY(ini.SetIniFileName(write(content)));
        QCOMPARE(ini.GetSections(), sections);
        QCOMPARE(ini.GetSectionKeys(QStringLiteral("S")), keysOfS);
        bool ok = false;
        QCOMPARE(ini.readEntry(path, QStringLiteral("def"), &ok), value);
        QVERIFY(ok);
        QVERIFY(!ini.IsDirty());
    }

    void missingEntries()
    {
        CIniFile ini;
        QVERIFY(ini.SetIniFileName(write("[S]\na=1\n")));
        bool ok = true;
        QCOMPARE(ini.readEntry(QStringLiteral("S/zz"), QStringLiteral("def"), &ok), QStringLiteral("def"));
        QVERIFY(!ok);
        QVERIFY(ini.GetSectionKeys(QStringLiteral("T")).isEmpty());
        QCOMPARE(ini.readEntry(QStringLiteral("s/A")), QStringLiteral("1")); // names ignore case
        QVERIFY(ini.SetIniFileName(write(QByteArray(), QStringLiteral("empty.ini"))));   // empty is valid
        QVERIFY(ini.GetSections().isEmpty());
    }

    void rejectsWhatIsNotAReadableFile()
    {
        CIniFile ini;
        QVERIFY(!ini.SetIniFileName(QString()));
        QVERIFY(!ini.SetIniFileName(m_Dir->filePath(QStringLiteral("missing.ini"))));
        QVERIFY(!ini.SetIniFileName(m_Dir->path()));
        QVERIFY(!ini.writeEntry(QStringLiteral("S/a"), QStringLiteral("1"))); // nothing bound
        QVERIFY(!ini.Flush());
        QFile huge(write("[S]\na=1\n", QStringLiteral("huge.ini")));
        QVERIFY(huge.resize(CIniFile::MaxFileSize + 1)); // sparse, costs no disk
        QVERIFY(!ini.SetIniFileName(huge.fileName()));
    }

    void writeKeepsOrderAndRoundTrips()
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

        CIniFile again;
        QVERIFY(again.SetIniFileName(path));
        QCOMPARE(again.GetSections(), (QStringList{"", "B", "A", "C"}));
        QCOMPARE(again.GetSectionKeys(QStringLiteral("B")), (QStringList{"z", "y", "x"}));
        QCOMPARE(again.readEntry(QStringLiteral("C/first")), QStringLiteral("a b ; c"));
        bool ok = false;
        QCOMPARE(again.readEntry(QStringLiteral("A/empty"), QStringLiteral("d"), &ok), QString());
        QVERIFY(ok);
    }

    void refusesTextTheReaderCouldNotGiveBack()
    {
        CIniFile ini;
        QVERIFY(ini.SetIniFileName(write(QByteArray())));
        QVERIFY(!ini.writeEntry(QStringLiteral("S/a"), QStringLiteral("x\ny")));
        for (const char* path : {"S/a=b", "S]/a", "S/[a", "S/;a", "S/#a", "S/a\rb"})
            QVERIFY2(!ini.writeEntry(QString::fromLatin1(path), QStringLiteral("x")), path);
        QVERIFY(!ini.IsDirty());
    }

    void flushFailsWhenTheFileCannotBeReplaced()
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
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
