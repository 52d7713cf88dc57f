#include "baselib.h"

#include "devcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>
#include <QTranslator>

#include <cstdio>

Q_LOGGING_CATEGORY(lcNetconfig, "netconfig")

namespace {
// Only the object BaseLibInit made is BaseLibDone's to delete; a test's own
// QApplication stays untouched.
QPointer<QCoreApplication> s_OwnApp;

QtMessageHandler s_QtHandler = nullptr;
bool s_HandlerInstalled = false;
bool s_Console = false;

// The program's own lines as it wrote them, without a category prefix; Qt's
// go to Qt's handler, or, in a console run, nowhere but a fatal one.
void MessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (qstrcmp(context.category, lcNetconfig().categoryName()) == 0) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        std::fflush(stderr);
    } else if (s_QtHandler && (!s_Console || type == QtFatalMsg)) {
        s_QtHandler(type, context, message);
    }
}

void InstallMessageHandler()
{
    if (!s_HandlerInstalled)
        s_QtHandler = qInstallMessageHandler(MessageHandler);
    s_HandlerInstalled = true;
}

bool NamesPlatform(int argc, char** argv)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

QString ExecutablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    // Before the application object exists (tests, early start-up).
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
} // namespace

CQuarvelApp::CQuarvelApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("netconfig"));
}

CQuarvelApp::~CQuarvelApp()
{
    if (m_Settings.IsValid())
        m_Settings.Save();
}

CXMLSettingsBlock CQuarvelApp::GetAppSettings()
{
    // Loaded on first use so a run that never reads settings never writes.
    if (!m_Settings.IsValid())
        m_Settings = CXMLSettingsBlock::OpenRoot(SettingsFilePath());
    return m_Settings;
}

QString CQuarvelApp::SettingsFilePath()
{
    return GetAppSubDirectory(AppDirUserConfig) + QStringLiteral("/settings.xml");
}

void BaseLibUseConsole(int argc, char** argv)
{
    s_Console = true;
    InstallMessageHandler();
    // Message boxes then go to standard error: nobody is there to click them.
    if (!NamesPlatform(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int BaseLibInit(int& argc, char** argv, int, int)
{
    if (QCoreApplication::instance())
        return 0;
    InstallMessageHandler();
    s_OwnApp = new CQuarvelApp(argc, argv);
    return s_OwnApp ? 0 : 1;
}

void BaseLibDone(bool)
{
    if (auto* app = qobject_cast<CQuarvelApp*>(QCoreApplication::instance())) {
        CXMLSettingsBlock settings = app->GetAppSettings();
        settings.Save();
    }
    delete s_OwnApp.data();
}

QString GetAppBaseModuleName()
{
    QString name = QFileInfo(ExecutablePath()).fileName();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

bool InstallTranslator(const QString& name, const char* dir, QTranslator** out)
{
    if (out)
        *out = nullptr;
    if (!QCoreApplication::instance())
        return false;
    const QString folder = dir ? QString::fromLocal8Bit(dir) : GetAppSubDirectory(AppDirTranslations);
    const QLocale locale = QLocale::system();

    // Qt's own texts (button labels of the standard dialogs); owned by the app.
    auto* qtbase = new QTranslator(QCoreApplication::instance());
    if (qtbase->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtbase);
    else
        delete qtbase;

    auto* own = new QTranslator;
    if (!own->load(locale, name, QStringLiteral("_"), folder, QStringLiteral(".qm"))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    if (out)
        *out = own;
    else
        own->setParent(QCoreApplication::instance());
    return true;
}

namespace {

// State that outlives a run but is no setting and no document. Windows has
// %LOCALAPPDATA% for it, the XDG layout $XDG_STATE_HOME (Qt 6.4 knows neither).
QString UserStateDirectory()
{
    const QString local = qEnvironmentVariable("LOCALAPPDATA");
    if (!local.isEmpty())
        return QDir::fromNativeSeparators(local);
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(state))
        return state;
    return QDir::homePath() + QStringLiteral("/.local/state");
}

} // namespace

QString GetAppSubDirectory(int id)
{
    const QString bin = QFileInfo(ExecutablePath()).absolutePath();
    const QString data = QDir::cleanPath(bin + QLatin1Char('/') + QStringLiteral(NETCONFIG_DATA_DIR_FROM_BIN));
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/netconfig");
    switch (id) {
    case AppDirBin:
        return bin;
    case AppDirData:
        return data;
    case AppDirTranslations:
        return data + QStringLiteral("/translations");
    case AppDirUserConfig:
        return config;
    case AppDirUserLayouts:
        return config + QStringLiteral("/layouts");
    case AppDirUserState:
        return UserStateDirectory() + QStringLiteral("/netconfig");
    default:
        return QString();
    }
}
