#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <winsys/host.h>

namespace {

const char* const kVariables[] = {"WINSYS_ROOT", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                  "NETCONFIG_SETTLE_MS"};

} // namespace

TestEnv::TestEnv()
{
    for (const char* name : kVariables)
        m_Saved.append({name, qgetenv(name)});
    QDir(m_Dir.path()).mkpath(QStringLiteral("host"));
    QDir(m_Dir.path()).mkpath(QStringLiteral("config"));
    QDir(m_Dir.path()).mkpath(QStringLiteral("data"));
    qputenv("WINSYS_ROOT", hostDir().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configDir().toLocal8Bit());
    qputenv("XDG_DATA_HOME", m_Dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", stateDir().toLocal8Bit());
    // One look at the system after an apply: the emulated host settles at
    // once unless a test asks otherwise.
    qputenv("NETCONFIG_SETTLE_MS", "0");
}

TestEnv::~TestEnv()
{
    for (const auto& saved : m_Saved) {
        if (saved.second.isNull())
            qunsetenv(saved.first.constData());
        else
            qputenv(saved.first.constData(), saved.second);
    }
}

QString TestEnv::hostDir() const
{
    return m_Dir.filePath(QStringLiteral("host"));
}
QString TestEnv::stateDir() const
{
    return m_Dir.filePath(QStringLiteral("state"));
}

QString TestEnv::configDir() const
{
    return m_Dir.filePath(QStringLiteral("config"));
}

bool TestEnv::initSampleHost()
{
    return winsys::InitSampleHost(hostDir().toStdString());
}

bool TestEnv::initGeneratedHost(int adapters)
{
    return winsys::InitGeneratedHost(hostDir().toStdString(), adapters);
}

bool TestEnv::writeHive(const QString& regText)
{
    QString text = regText;
    if (!text.startsWith(QLatin1String("Windows Registry Editor Version 5.00")))
        text.prepend(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"));
    QFile file(QDir(hostDir()).filePath(QStringLiteral("registry.reg")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(text.toUtf8()) >= 0;
}

QString TestEnv::readHive() const
{
    QFile file(QDir(hostDir()).filePath(QStringLiteral("registry.reg")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QProcessEnvironment TestEnv::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("WINSYS_ROOT"), hostDir());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_Dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), stateDir());
    return env;
}

QProcessEnvironment TestEnv::bareEnvironment() const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), m_Dir.path());
    env.insert(QStringLiteral("WINSYS_ROOT"), hostDir());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_Dir.filePath(QStringLiteral("data")));
    return env;
}

int TestEnv::runNetconfig(const QStringList& args, QString* stdErr, int timeoutMs) const
{
    return runProgram(QDir(binDir()).filePath(QStringLiteral("netconfig")), args, nullptr, stdErr, timeoutMs);
}

int TestEnv::runProgram(const QString& program, const QStringList& args, QString* stdOut, QString* stdErr,
                        int timeoutMs) const
{
    return runIn(environment(), program, args, stdOut, stdErr, timeoutMs);
}

int TestEnv::runIn(const QProcessEnvironment& env, const QString& program, const QStringList& args, QString* stdOut,
                   QString* stdErr, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_Dir.path());
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (stdOut)
        *stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (stdErr)
        *stdErr = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString TestEnv::binDir()
{
    return QStringLiteral(NETCONFIG_BIN_DIR);
}
QString TestEnv::systemDir()
{
    return QStringLiteral(NETCONFIG_SYSTEM_DIR);
}
