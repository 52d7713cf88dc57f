#include "entry.h"

#include "appimages.h"
#include "baselib.h"
#include "netconfigimpl.h"
#include "ptr_t.h"

#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>

#include <winsys.h>

namespace {

const int kBadCommandLine = 2;

const QStringList consoleSwitches = {"/console", "-console", "/c", "-c"};
const QStringList loadSwitches = {"/load", "-load", "/l", "-l"};
const QStringList saveSwitches = {"/save", "-save", "/s", "-s"};
const QStringList whatifSwitches = {"/whatif", "-whatif"};
const QStringList verboseSwitches = {"/verbose", "-verbose"};
const QStringList keepSwitches = {"/keep", "-keep"};
const QStringList undoSwitches = {"/undo", "-undo"};

// The seconds after /keep: a whole number, or none at all.
int KeepSecondsAfter(const QStringList& args, int i)
{
    bool ok = false;
    const int seconds = args.value(i + 1).toInt(&ok, 10);
    return ok && seconds >= 0 ? seconds : -1;
}

// Takes the argument after position i as a file name, or notes that it is missing.
void TakeFileName(const QStringList& args, int i, QString& file, bool& missing)
{
    if (i + 1 < args.count())
        file = args.at(i + 1);
    else
        missing = true;
}

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// True when process matches text (already upper-cased) by image name or id.
bool ProcessMatches(const PROCESSENTRY32W& entry, const QString& upperText)
{
    const QString image = QString::fromUtf16(reinterpret_cast<const char16_t*>(entry.szExeFile));
    return image.toUpper().contains(upperText) || upperText == QString::number(entry.th32ProcessID);
}

// Walks the snapshot from entry on; only processes this one may terminate
// are looked at. True when nothing matched or the match was terminated.
bool TerminateFirstMatch(HANDLE snapshot, PROCESSENTRY32W& entry, const QString& upperText)
{
    do {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        const bool matches = ProcessMatches(entry, upperText);
        const BOOL terminated = matches ? TerminateProcess(process, 0) : FALSE;
        CloseHandle(process);
        if (matches)
            return terminated != FALSE;
    } while (Process32NextW(snapshot, &entry));
    return true;
}

void TearDown(ptr_t<CNetConfigImpl>& dialog, QTranslator*& translator)
{
    delete dialog.release();
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    BaseLibDone(true);
}

CQuarvelApp* QuarvelApp()
{
    return qobject_cast<CQuarvelApp*>(QCoreApplication::instance());
}

// Hides the utilities page when the settings say so and selects the row
// that was current when the program last ended.
void ApplyAppSettings(CNetConfigImpl& dialog, const CommandLineSwitches& switches)
{
    QString remembered = QStringLiteral("0");
    if (CQuarvelApp* app = QuarvelApp()) {
        CXMLSettingsBlock settings = app->GetAppSettings();
        if (!settings.GetBool(QStringLiteral("Netconfig_Utilities"), true))
            dialog.HideUtilitiesPage();
        bool ok = false;
        const int revert = settings.GetText(QStringLiteral("Netconfig_RevertSeconds")).toInt(&ok, 10);
        if (ok && revert >= 0)
            dialog.SetRevertTime(revert, false);
        const int lines = settings.GetText(QStringLiteral("Netconfig_ScrollbackLines")).toInt(&ok, 10);
        if (ok && lines > 0)
            dialog.UtilitiesPage()->SetScrollbackLines(lines);
        const CXMLSettingsBlock block = settings.GetFirstChildBlock(QStringLiteral("CNetConfigImpl"));
        if (block.IsValid())
            remembered = block.GetText(QStringLiteral("NetConfigActiveAdapter"), QStringLiteral("0"));
    }
    bool ok = false;
    uint row = remembered.toUInt(&ok, 10);
    if (!ok)
        row = 0;
    // A row beyond the adapters (one has gone since the last run) is
    // reported by SelectAdapter and the first adapter stays shown.
    dialog.SelectAdapter(int(row));
    if (!switches.console && switches.keepSeconds >= 0)
        dialog.SetRevertTime(switches.keepSeconds, true);
}

// A settings file named first is loaded, not applied.
void LoadFileArgument(CNetConfigImpl& dialog, int argc, char** argv)
{
    // argv as the application left it: Qt's own options are gone by now.
    if (argc > 1 && qstrcmp(argv[1], "-kill") != 0)
        dialog.ReadSettings(QString::fromLocal8Bit(argv[1]));
}

// The dialog speaks the user's language and the program ends with its window.
QTranslator* StartDialogMode()
{
    QTranslator* translator = nullptr;
    InstallTranslator(GetAppBaseModuleName(), nullptr, &translator);
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, qApp, &QCoreApplication::quit);
    return translator;
}

int RunDialog(CNetConfigImpl& dialog)
{
    dialog.show();
    QCoreApplication::exec();
    return ExitDone;
}

// True when the settings already end with the block a store would write:
// then the file is not rewritten (each change is saved, and synced, at once).
bool RowAlreadyStored(const CXMLSettingsBlock& settings, const CXMLSettingsBlock& block, const QString& row)
{
    const QStringList blocks = settings.GetChildBlockNames();
    return block.IsValid() && blocks.count(QStringLiteral("CNetConfigImpl")) == 1 &&
           blocks.last() == QLatin1String("CNetConfigImpl") && block.GetChildBlockNames().isEmpty() &&
           block.GetValueNames() == QStringList{QStringLiteral("NetConfigActiveAdapter")} &&
           block.GetText(QStringLiteral("NetConfigActiveAdapter")) == row;
}

void StoreAdapterRow(CNetConfigImpl& dialog)
{
    CQuarvelApp* app = QuarvelApp();
    if (!app)
        return;
    const QString row = QStringLiteral("%1").arg(dialog.CurrentAdapterIndex());
    CXMLSettingsBlock settings = app->GetAppSettings();
    CXMLSettingsBlock old = settings.GetFirstChildBlock(QStringLiteral("CNetConfigImpl"));
    if (RowAlreadyStored(settings, old, row))
        return;
    if (old.IsValid())
        old.DeleteBlock(QStringLiteral("."));
    CXMLSettingsBlock block = settings.GetFirstBlockForPath(QStringLiteral("CNetConfigImpl"));
    if (block.IsValid())
        block.PutText(QStringLiteral("NetConfigActiveAdapter"), row);
}

// The switches have been checked: exactly one action is asked for.
int RunConsoleAction(CNetConfigImpl& dialog, const CommandLineSwitches& switches)
{
    dialog.SetConsoleOptions(switches.whatif, switches.verbose, switches.keepSeconds);
    if (switches.load)
        return dialog.RunConsoleCommand(switches.loadFile, true);
    if (switches.save)
        return dialog.RunConsoleCommand(switches.saveFile, false);
    return switches.undo ? dialog.ConsoleUndo() : dialog.ConsoleConfirm();
}

int UsageError(const QString& problem)
{
    std::fprintf(stderr, "netconfig: %s\n%s\n", qUtf8Printable(problem), qUtf8Printable(UsageText()));
    return ExitUsage;
}

// An empty name would name no process: a bad command line.
int KillUsageError()
{
    std::fprintf(stderr, "Usage: %s -kill <process name or id>\n", qPrintable(GetAppBaseModuleName()));
    return kBadCommandLine;
}

} // namespace

CommandLineSwitches ScanCommandLine(const QStringList& args)
{
    CommandLineSwitches result;
    for (int i = 0; i < args.count(); ++i) {
        const QString& arg = args.at(i);
        if (consoleSwitches.contains(arg)) {
            result.console = true;
        } else if (loadSwitches.contains(arg)) {
            result.load = true;
            TakeFileName(args, i, result.loadFile, result.missingFile);
        } else if (saveSwitches.contains(arg)) {
            result.save = true;
            TakeFileName(args, i, result.saveFile, result.missingFile);
        } else if (whatifSwitches.contains(arg)) {
            result.whatif = true;
        } else if (verboseSwitches.contains(arg)) {
            result.verbose = true;
        } else if (keepSwitches.contains(arg)) {
            result.keep = true;
            result.keepSeconds = KeepSecondsAfter(args, i);
        } else if (undoSwitches.contains(arg)) {
            result.undo = true;
        }
    }
    return result;
}

QString ConsoleUsageProblem(const CommandLineSwitches& switches)
{
    if (switches.missingFile)
        return QStringLiteral("a load or save switch needs a file name");
    const bool confirm = switches.keep && switches.keepSeconds < 0;
    const int actions = int(switches.load) + int(switches.save) + int(switches.undo) + int(confirm);
    if (actions > 1)
        return QStringLiteral("load, save, undo and confirm cannot be combined");
    if (actions == 0)
        return QStringLiteral("console mode needs /load FILE, /save FILE, /undo or /keep");
    if (switches.whatif && !switches.load)
        return QStringLiteral("/whatif goes with /load FILE");
    if (switches.keepSeconds >= 0 && !switches.load)
        return QStringLiteral("/keep SECONDS goes with /load FILE");
    return QString();
}

QString UsageText()
{
    return QStringLiteral("usage: netconfig [FILE] [/keep SECONDS] | /c /l FILE [/whatif] [/verbose] [/keep SECONDS]"
                          " | /c /s FILE | /c /keep | /c /undo | -kill NAME");
}

bool IsKillCommand(const QStringList& args)
{
    return args.count() >= 2 && args.first() == QLatin1String("-kill");
}

bool KillProcessByName(const QString& text)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot, &entry)) {
        CloseHandle(snapshot);
        return false;
    }
    // An empty text would be contained in every name: it names no process.
    const QString upperText = text.toUpper();
    bool result = true;
    if (!upperText.isEmpty())
        result = TerminateFirstMatch(snapshot, entry, upperText);
    CloseHandle(snapshot);
    return result;
}

int NetConfigMain(int argc, char** argv)
{
    const QStringList args = ArgumentsOf(argc, argv);
    if (IsKillCommand(args)) {
        if (args.at(1).isEmpty())
            return KillUsageError();
        return KillProcessByName(args.at(1)) ? 1 : 0;
    }
    const CommandLineSwitches switches = ScanCommandLine(args);
    const QString problem = switches.console ? ConsoleUsageProblem(switches) : QString();
    if (!problem.isEmpty())
        return UsageError(problem);

    if (switches.console)
        BaseLibUseConsole(argc, argv);
    if (BaseLibInit(argc, argv, 0, 0) != 0)
        return 0;
    QTranslator* translator = switches.console ? nullptr : StartDialogMode();

    ptr_t<CNetConfigImpl> dialog(new CNetConfigImpl(nullptr, "NetConfigImpl", false, {}));
    dialog->setWindowIcon(AppIcon(QStringLiteral("networks_small")));
    dialog->setWindowTitle(CNetConfigImpl::tr("Network Configuration"));

    if (const unsigned long code = dialog->ReadConfiguration()) {
        dialog->ShowSystemError(code);
        TearDown(dialog, translator);
        return ExitFailed;
    }
    dialog->RecoverUnconfirmedApply();
    if (!switches.console)
        LoadFileArgument(*dialog, argc, argv);
    ApplyAppSettings(*dialog, switches);
    const int exitCode = switches.console ? RunConsoleAction(*dialog, switches) : RunDialog(*dialog);

    StoreAdapterRow(*dialog);
    TearDown(dialog, translator);
    return exitCode;
}
