#pragma once

// Application frame: the application object, start-up/tear-down and the
// folders of the installation and of the user.

#include <QApplication>
#include <QString>

#include "xmlsettings.h"

class QTranslator;

// The program's QApplication; owns the persistent XML settings.
class CQuarvelApp : public QApplication
{
    Q_OBJECT
public:
    CQuarvelApp(int& argc, char** argv);
    ~CQuarvelApp() override;

    // Root block of $XDG_CONFIG_HOME/netconfig/settings.xml.
    CXMLSettingsBlock GetAppSettings();

    // Where the settings live (for tests and diagnostics).
    static QString SettingsFilePath();

private:
    CXMLSettingsBlock m_Settings;
};

// For a run that shows no window (over ssh, from cron); call it before
// BaseLibInit. Unless QT_QPA_PLATFORM or a -platform argument names a
// platform, the run needs no display (offscreen), and of the messages
// written through Qt only netconfig's own reach standard error.
void BaseLibUseConsole(int argc, char** argv);

// 0 = ok: the application object exists (a CQuarvelApp named "netconfig").
int BaseLibInit(int& argc, char** argv, int, int);
// Saves the settings and deletes the application object.
void BaseLibDone(bool);

// Base name of the executable, e.g. "netconfig".
QString GetAppBaseModuleName();

// Loads "<name>_<locale>.qm" (QLocale::system()) from dir, or from the
// translations folder when dir is null, plus Qt's own qtbase catalogue.
// True when the program's catalogue was found; *out receives an installed
// translator (the caller removes and deletes it), or nullptr.
bool InstallTranslator(const QString& name, const char* dir, QTranslator** out);

// Folder identifiers of GetAppSubDirectory.
enum AppSubDirectory {
    AppDirBin = 0,          // folder of the executable
    AppDirData = 1,         // <bin>/<data dir from bin>
    AppDirTranslations = 2, // <data>/translations
    AppDirUserConfig = 3,   // $XDG_CONFIG_HOME/netconfig
    AppDirUserLayouts = 4,  // $XDG_CONFIG_HOME/netconfig/layouts
    AppDirUserState = 5     // $XDG_STATE_HOME/netconfig; %LOCALAPPDATA%\netconfig on Windows
};

// The folder for id (see AppSubDirectory), without a trailing separator;
// empty for an unknown id. The folder need not exist.
QString GetAppSubDirectory(int id);
