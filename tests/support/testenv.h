#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// A fresh emulated host and settings folder for one test case. While it
// lives, WINSYS_ROOT, XDG_CONFIG_HOME and XDG_DATA_HOME point into its own
// temporary folder and NETCONFIG_SETTLE_MS is 0; the previous values come
// back when it is destroyed.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    bool initSampleHost();
    bool initGeneratedHost(int adapters);
    // Writes registry.reg from regedit-format text (a header is added when
    // the text has none).
    bool writeHive(const QString& regText);
    QString readHive() const;

    QString root() const { return m_Dir.path(); }
    QString hostDir() const { return path(QStringLiteral("host")); }
    QString configDir() const { return path(QStringLiteral("config")); }
    QString stateDir() const { return path(QStringLiteral("state")); }
    QString path(const QString& name) const { return m_Dir.filePath(name); }

    QProcessEnvironment environment() const;
    // What a run over ssh or from cron has: PATH, HOME and this host and
    // settings folder; no display, no Qt platform, no runtime folder, no
    // locale.
    QProcessEnvironment bareEnvironment() const;
    // Runs build/bin/netconfig headless in this environment; returns its
    // exit code, or -1 when it did not finish in time.
    int runNetconfig(const QStringList& args, QString* stdErr = nullptr, int timeoutMs = 60000) const;
    int runProgram(const QString& program, const QStringList& args, QString* stdOut = nullptr,
                   QString* stdErr = nullptr, int timeoutMs = 60000) const
    {
        return runIn(environment(), program, args, stdOut, stdErr, timeoutMs);
    }
    // As runProgram, in the environment given.
    int runIn(const QProcessEnvironment& env, const QString& program, const QStringList& args,
              QString* stdOut = nullptr, QString* stdErr = nullptr, int timeoutMs = 60000) const;

    static QString binDir();
    static QString systemDir();

private:
    QTemporaryDir m_Dir;
    QList<QPair<QByteArray, QByteArray>> m_Saved;
};
