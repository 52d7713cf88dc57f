// The Save and Load buttons of the main dialog on the sample host.
#include "netconfigimpl.h"

#include "filedialog.h"
#include "msgbox.h"
#include "settingsfiletest.h"
#include "testenv.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace settingstest;

class TestSaveLoad : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;
    std::unique_ptr<CNetConfigImpl> m_Dialog;

    QString WriteFile(const QString& name, const QByteArray& text)
    {
        const QString path = m_Env->path(name);
        if (!WriteText(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    QStringList PageTexts() const
    {
        return {m_Dialog->ledIPAddress->text(), m_Dialog->ledSubNet->text(), m_Dialog->ledGateway->text(),
                m_Dialog->ledDNSServer->text(), m_Dialog->ledHostName->text()};
    }

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
        m_Dialog = std::make_unique<CNetConfigImpl>();
        QCOMPARE(m_Dialog->ReadConfiguration(), 0UL);
        m_Dialog->SelectAdapter(0);
        QVERIFY(!m_Dialog->btnApply->isEnabled());
        QuarvelMsgBoxHistory().clear();
    }

    void cleanup()
    {
        m_Dialog.reset();
        m_Env.reset();
    }

    void loadShowsTheFileAndEnablesApply()
    {
        const QString path = WriteFile(QStringLiteral("in.ini"),
                                       "[Interface1]\nprotocol=192.168.1.77\nmask=255.255.0.0\n"
                                       "DNS=10.1.1.1;10.1.1.2;\nGateway=192.168.1.254;192.168.1.1;\n"
                                       "[HostInformation]\nComputerName=WS02\n");
        SetNextFileDialogAnswer(path, true);
        m_Dialog->LoadFromFile();

        QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
        QCOMPARE(PageTexts(), (QStringList{"192.168.1.77", "255.255.0.0", "192.168.1.254", "10.1.1.1", "WS02"}));
        const CNetworkCard& card = m_Dialog->Adapters().at(0);
        QCOMPARE(Join(card.m_DNSServers), QStringLiteral("10.1.1.1,10.1.1.2"));
        QCOMPARE(Join(card.m_Gateways), QStringLiteral("192.168.1.254,192.168.1.1"));
        QCOMPARE(m_Dialog->ComputerName(), QStringLiteral("WS02"));
        QVERIFY(m_Dialog->btnApply->isEnabled());
    }

    void refusedLoadReportsAndKeepsEverything_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("junk") << "file" << QByteArray("\x01\x02 not an ini file\n");
        QTest::newRow("missing") << "missing" << QByteArray();
    }

    void refusedLoadReportsAndKeepsEverything()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QString path = m_Env->path(QStringLiteral("bad.ini"));
        if (kind == QLatin1String("file"))
            path = WriteFile(QStringLiteral("bad.ini"), content);
        const QStringList model = DescribeAll(m_Dialog->Adapters());
        const QStringList page = PageTexts();

        SetNextFileDialogAnswer(path, true);
        m_Dialog->LoadFromFile();

        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{"Can not load parameters from file.\n" + path});
        QCOMPARE(DescribeAll(m_Dialog->Adapters()), model);
        QCOMPARE(PageTexts(), page);
        QVERIFY(!m_Dialog->btnApply->isEnabled());
    }

    void saveDropsBlanksAroundThePath()
    {
        const QString path = m_Env->path(QStringLiteral("blanks.ini"));
        SetNextFileDialogAnswer(QStringLiteral(" ") + path + QStringLiteral("  \t"), true);
        m_Dialog->SaveToFile();

        QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
        QCOMPARE(QDir(m_Env->root()).entryList({QStringLiteral("blanks*")}), QStringList{"blanks.ini"});
        QCOMPARE(IniLines(path).value(0), QStringLiteral("[Interface1]"));
    }

    void cancelledChoosersDoNothing()
    {
        const QByteArray foreign("[Other]\nkeep=1\n[Interface1]\nprotocol=dhcp\n");
        const QString path = WriteFile(QStringLiteral("keep.ini"), foreign);
        const QString missing = m_Env->path(QStringLiteral("new.ini"));
        const QStringList model = DescribeAll(m_Dialog->Adapters());

        SetNextFileDialogAnswer(path, false);
        m_Dialog->SaveToFile();
        SetNextFileDialogAnswer(missing, false);
        m_Dialog->SaveToFile();
        SetNextFileDialogAnswer(path, false);
        m_Dialog->LoadFromFile();

        QCOMPARE(ReadFile(path), foreign);
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(DescribeAll(m_Dialog->Adapters()), model);
        QCOMPARE(QuarvelMsgBoxHistory(), QStringList());
        QVERIFY(!m_Dialog->btnApply->isEnabled());
    }

    void saveReportsAFileItCannotCreate()
    {
        const QString path = m_Env->path(QStringLiteral("no/such/folder/net.ini"));
        SetNextFileDialogAnswer(path, true);
        m_Dialog->SaveToFile();

        QCOMPARE(QuarvelMsgBoxHistory(), QStringList{"Can not create a file."});
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestSaveLoad)
#include "tst_saveload.moc"
