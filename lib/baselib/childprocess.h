#pragma once

// Child process with the Qt 3 style API over QProcess. Each argument list
// element is split into words like a Windows command line, and a bare
// program name is looked up in the system folder first, then on PATH (never
// for Windows' own programs such as ping, netsh or tracert). Not named
// process.h: MinGW's pthread.h includes the C runtime's header of that name.

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QStringList>

class CProcess : public QObject
{
    Q_OBJECT
public:
    // Communication flags (combine with |).
    enum Communication { Stdin = 0x01, Stdout = 0x02, Stderr = 0x04, DupStderr = 0x08 };

    CProcess(QObject* parent = nullptr, const char* name = nullptr);
    ~CProcess() override; // kills and reaps a running child

    void setCommunication(int commFlags);
    int communication() const;

    void setArguments(const QStringList& args); // program first
    QStringList arguments() const;
    void setWorkingDirectory(const QString& dir);

    // env: full "NAME=value" environment, nullptr = inherit. False (and no
    // signal) when the program cannot be started.
    bool start(const QStringList* env = nullptr);
    QByteArray readStdout();
    QByteArray readStderr();
    bool canReadLineStdout() const;
    void writeToStdin(const QByteArray& data);
    void closeStdin();
    bool isRunning() const;
    bool normalExit() const;
    int exitStatus() const;
    qint64 processIdentifier() const;
    void kill(); // processExited() follows once the child is gone

    // The words a list gives: each element split at blanks and tabs.
    static QStringList SplitArguments(const QStringList& args);
    // Full path of program: the system folder, then PATH unless it names one
    // of Windows' own programs; empty if none.
    static QString FindProgram(const QString& program);

signals:
    void readyReadStdout();
    void readyReadStderr();
    void processExited();

private:
    void OnFinished(int exitCode, QProcess::ExitStatus status);
    void DeleteProcess();

    QProcess* m_Process = nullptr;
    QStringList m_Arguments;
    QString m_WorkingDirectory;
    int m_Communication = Stdin | Stdout | Stderr;
    bool m_NormalExit = false;
    int m_ExitStatus = 0;
};
