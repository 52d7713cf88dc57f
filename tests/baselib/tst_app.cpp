#include "baselib.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

// Runs inside the application object that BaseLibInit made.
class TestApp : public QObject
{
    Q_OBJECT

public:
    explicit TestApp(const QString& home) : m_Home(home) {}

private:
    QString m_Home; // XDG_CONFIG_HOME at start-up

private slots:
    void initMadeTheApplication()
    {
        auto* app = qobject_cast<CQuarvelApp*>(QCoreApplication::instance());
        QVERIFY(app != nullptr);
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("netconfig"));
        QCOMPARE(GetAppBaseModuleName(), QStringLiteral("baselib_tst_app"));
        int argc = 1;
        char arg0[] = "again";
        char* argv[] = {arg0, nullptr};
        QCOMPARE(BaseLibInit(argc, argv, 0, 0), 0); // a second call keeps the one application
        QCOMPARE(QCoreApplication::instance(), app);
    }

    void userFoldersFollowXdgConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        const QString config = GetAppSubDirectory(AppDirUserConfig);
        const QString layouts = GetAppSubDirectory(4);
        const QString layoutIni = QDir::cleanPath(layouts + QDir::separator() + QStringLiteral("..")
                                                  + QDir::separator() + QStringLiteral("layout.ini"));
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(config, dir.filePath(QStringLiteral("netconfig")));
        QCOMPARE(layouts, dir.filePath(QStringLiteral("netconfig/layouts")));
        QCOMPARE(layoutIni, dir.filePath(QStringLiteral("netconfig/layout.ini")));
        QVERIFY(!QFileInfo::exists(config)); // naming a folder creates nothing
    }

    void installationFolders()
    {
        QCOMPARE(GetAppSubDirectory(AppDirBin), QCoreApplication::applicationDirPath());
        const QString data = GetAppSubDirectory(AppDirData);
        QVERIFY2(data.endsWith(QLatin1String("/netconfig")), qPrintable(data));
        QVERIFY(!data.contains(QLatin1String("/../")));
        QCOMPARE(GetAppSubDirectory(AppDirTranslations), data + QStringLiteral("/translations"));
        QVERIFY(GetAppSubDirectory(99).isEmpty());
        QVERIFY(GetAppSubDirectory(-1).isEmpty());
    }

    void settingsLiveInTheUserFolder()
    {
        auto* app = qobject_cast<CQuarvelApp*>(QCoreApplication::instance());
        QVERIFY(app);
        CXMLSettingsBlock root = app->GetAppSettings();
        QVERIFY(root.IsValid());
        QVERIFY(root.GetBool(QStringLiteral("Netconfig_Utilities"), true));
        QVERIFY(root.GetFirstBlockForPath(QStringLiteral("CNetConfigImpl"))
                    .PutText(QStringLiteral("NetConfigActiveAdapter"), QStringLiteral("1")));
        QCOMPARE(root.FileName(), m_Home + QStringLiteral("/netconfig/settings.xml"));
        QVERIFY(QFileInfo::exists(root.FileName()));
        QCOMPARE(app->GetAppSettings().GetFirstChildBlock(QStringLiteral("CNetConfigImpl"))
                     .GetText(QStringLiteral("NetConfigActiveAdapter")),
                 QStringLiteral("1"));
    }

    void translatorForTheSystemLocale()
    {
        const QString lrelease = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lrelease");
        if (!QFileInfo(lrelease).isExecutable())
            QSKIP("lrelease is not installed");
        QTemporaryDir dir;
        QFile ts(dir.filePath(QStringLiteral("probe_de.ts")));
        QVERIFY(ts.open(QIODevice::WriteOnly));
        ts.write("<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS><TS version=\"2.1\" language=\"de\">"
                 "<context><name>CNetConfig</name><message><source>Save to file</source>"
                 "<translation>In Datei speichern</translation></message></context></TS>");
        ts.close();
        QCOMPARE(QProcess::execute(lrelease, {QStringLiteral("-silent"), ts.fileName()}), 0);

        QTranslator* translator = nullptr;
        QVERIFY(InstallTranslator(QStringLiteral("probe"), QFile::encodeName(dir.path()).constData(), &translator));
        QVERIFY(translator != nullptr);
        QCOMPARE(QCoreApplication::translate("CNetConfig", "Save to file"), QStringLiteral("In Datei speichern"));
        QCoreApplication::removeTranslator(translator);
        delete translator;
        QCOMPARE(QCoreApplication::translate("CNetConfig", "Save to file"), QStringLiteral("Save to file"));

        translator = reinterpret_cast<QTranslator*>(1);
        QVERIFY(!InstallTranslator(QStringLiteral("absent"), QFile::encodeName(dir.path()).constData(), &translator));
        QVERIFY(translator == nullptr);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("LC_ALL", "de_DE.UTF-8"); // the translator follows the system locale
    qunsetenv("LANGUAGE");
    if (BaseLibInit(argc, argv, 0, 0) != 0)
        return 2;
    int rc;
    {
        TestApp test(home.path());
        rc = QTest::qExec(&test, argc, argv);
    }
    BaseLibDone(true);
    // BaseLibDone ended the application and kept what was stored.
    if (QCoreApplication::instance() || !QFile(home.filePath(QStringLiteral("netconfig/settings.xml"))).exists())
        return rc ? rc : 3;
    return rc;
}
#include "tst_app.moc"
