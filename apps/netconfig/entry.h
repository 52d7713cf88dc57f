#pragma once

#include <QString>
#include <QStringList>

// What the switches of one command line ask for. File names are the
// arguments that followed a load or save switch.
struct CommandLineSwitches
{
    bool console = false;
    bool load = false;
    bool save = false;
    bool missingFile = false; // a load or save switch was the last argument
    QString loadFile;
    QString saveFile;
    bool whatif = false;  // print what a load would run, change nothing
    bool verbose = false; // one line per command on standard error
    bool keep = false;    // /keep: wait for a confirmation, or (without seconds) give one
    int keepSeconds = -1; // the seconds that followed /keep, -1 when none did
    bool undo = false;    // restore the latest snapshot
};

// Exit codes of the program.
enum ExitCode {
    ExitDone = 0,        // done and verified, saved, or the dialog closed
    ExitFailed = 1,      // reading the configuration failed; kill mode's own codes
    ExitUsage = 2,       // a command line that cannot do anything
    ExitBadFile = 3,     // the file cannot be read or holds invalid values; nothing applied
    ExitDifferences = 4, // applied, but the system does not hold all of it
    ExitReverted = 5,    // applied, but not confirmed in time (or not held): restored as before
    ExitBusy = 6         // another apply waits for its confirmation, or none waits to be confirmed
};

// Why a console command line cannot run (the switches combine to nothing,
// or contradict each other); empty when it can.
QString ConsoleUsageProblem(const CommandLineSwitches& switches);

// The usage line printed with a bad command line.
QString UsageText();

// Scans the arguments after the program name. Whole, case-sensitive matches
// only; an argument taken as a file name is scanned as a switch as well.
CommandLineSwitches ScanCommandLine(const QStringList& args);

// Kill mode: "-kill" first and something after it.
bool IsKillCommand(const QStringList& args);

// Terminates the first process whose executable name contains text (case
// ignored) or whose decimal id equals text. True when it was terminated or
// when nothing matched; false when the process list cannot be read or the
// termination failed.
bool KillProcessByName(const QString& text);

// The whole program: returns the process exit code.
int NetConfigMain(int argc, char** argv);
