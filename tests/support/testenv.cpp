#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <winsys/host.h>

namespace {

// The variables a TestEnv points into its folder, and their subfolders.
const std::pair<const char*, const char*> kFolders[] = {
    {"WINSYS_ROOT", "host"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_STATE_HOME", "state"}};

} // namespace

TestEnv::TestEnv()
{
    for (const auto& [name, folder] : kFolders) {
        m_Saved.append({name, qgetenv(name)});
        QDir(m_Dir.path()).mkpath(QString::fromLatin1(folder));
        qputenv(name, path(QString::fromLatin1(folder)).toLocal8Bit());
    }
    // One look at the system after an apply: the emulated host settles at
    // once unless a test asks otherwise.
    m_Saved.append({"NETCONFIG_SETTLE_MS", qgetenv("NETCONFIG_SETTLE_MS")});
    qputenv("NETCONFIG_SETTLE_MS", "0");
}

TestEnv::~TestEnv()
{
    for (const auto& [name, value] : m_Saved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
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
    const QString header = QStringLiteral("Windows Registry Editor Version 5.00");
    const QString text = regText.startsWith(header) ? regText : header + QStringLiteral("\r\n\r\n") + regText;
    QFile file(QDir(hostDir()).filePath(QStringLiteral("registry.reg")));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

QString TestEnv::readHive() const
{
    QFile file(QDir(hostDir()).filePath(QStringLiteral("registry.reg")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QProcessEnvironment TestEnv::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const auto& [name, folder] : kFolders)
        env.insert(QString::fromLatin1(name), path(QString::fromLatin1(folder)));
    return env;
}

QProcessEnvironment TestEnv::bareEnvironment() const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), root());
    for (const auto& [name, folder] : kFolders)
        env.insert(QString::fromLatin1(name), path(QString::fromLatin1(folder)));
    env.remove(QStringLiteral("XDG_STATE_HOME")); // rarely set there: the state goes under HOME
    return env;
}

int TestEnv::runNetconfig(const QStringList& args, QString* stdErr, int timeoutMs) const
{
    return runProgram(QDir(binDir()).filePath(QStringLiteral("netconfig")), args, nullptr, stdErr, timeoutMs);
}

int TestEnv::runIn(const QProcessEnvironment& env, const QString& program, const QStringList& args, QString* stdOut,
                   QString* stdErr, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(root());
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
