#include "childprocess.h"

#include "processargs.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <winsys.h>

namespace {
const int kStartTimeoutMs = 30000;

QString SystemDirectory()
{
    WCHAR buffer[1024] = {};
    const auto length = GetSystemDirectoryW(buffer, 1024);
    if (length == 0 || length >= 1024)
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), int(length));
}

bool IsProgram(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

// Windows' own console programs. Windows finds these in the system folder
// before any PATH entry, so a bare name of one resolves there or not at all:
// this machine's namesake would get Windows switches and print something else
// (its ping, given "-t", would never end).
bool IsSystemProgram(const QString& program)
{
    static const QStringList names{
        QStringLiteral("arp"),      QStringLiteral("hostname"), QStringLiteral("ipconfig"),
        QStringLiteral("nbtstat"),  QStringLiteral("net"),      QStringLiteral("netsh"),
        QStringLiteral("netstat"),  QStringLiteral("nslookup"), QStringLiteral("pathping"),
        QStringLiteral("ping"),     QStringLiteral("route"),    QStringLiteral("tracert"),
    };
    QString name = program.toLower();
    if (name.endsWith(QLatin1String(".exe")))
        name.chop(4);
    return names.contains(name);
}

QProcessEnvironment EnvironmentFrom(const QStringList& list)
{
    QProcessEnvironment env;
    for (const QString& entry : list) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='), 1); // "=C:" style names start with "="
        if (eq > 0)
            env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    return env;
}
} // namespace

CProcess::CProcess(QObject* parent, const char* name)
    : QObject(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

CProcess::~CProcess()
{
    if (!m_Process)
        return;
    // The owner is being torn down: no signal may reach it any more.
    m_Process->disconnect(this);
    if (m_Process->state() != QProcess::NotRunning) {
        m_Process->kill();
        m_Process->waitForFinished(-1);
    }
}

void CProcess::setCommunication(int commFlags)
{
    m_Communication = commFlags;
}

int CProcess::communication() const
{
    return m_Communication;
}

void CProcess::setArguments(const QStringList& args)
{
    m_Arguments = args;
}

QStringList CProcess::arguments() const
{
    return m_Arguments;
}

void CProcess::setWorkingDirectory(const QString& dir)
{
    m_WorkingDirectory = dir;
}

QStringList CProcess::SplitArguments(const QStringList& args)
{
    QStringList words;
    for (const QString& element : args)
        words << baselib::SplitCommandLine(element);
    return words;
}

QString CProcess::FindProgram(const QString& program)
{
    if (program.isEmpty())
        return QString();
    if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\'))) {
        const QString path = QFileInfo(program).absoluteFilePath();
        return IsProgram(path) ? path : QString();
    }
    const QString system = SystemDirectory();
    if (!system.isEmpty()) {
        const QString candidate = system + QLatin1Char('/') + program;
        if (IsProgram(candidate))
            return candidate;
        // "netsh" names "netsh.exe" as on a Windows command line.
        if (QFileInfo(program).suffix().isEmpty() && IsProgram(candidate + QStringLiteral(".exe")))
            return candidate + QStringLiteral(".exe");
    }
    if (IsSystemProgram(program))
        return QString();
    return QStandardPaths::findExecutable(program);
}

bool CProcess::start(const QStringList* env)
{
    if (isRunning())
        return false;
    QStringList words = SplitArguments(m_Arguments);
    const QString program = words.isEmpty() ? QString() : FindProgram(words.takeFirst());
    if (program.isEmpty())
        return false;

    DeleteProcess();
    m_Process = new QProcess(this);
    if (m_Communication & DupStderr)
        m_Process->setProcessChannelMode(QProcess::MergedChannels);
    if (!(m_Communication & Stdout))
        m_Process->setStandardOutputFile(QProcess::nullDevice());
    if (!(m_Communication & Stderr) && !(m_Communication & DupStderr))
        m_Process->setStandardErrorFile(QProcess::nullDevice());
    if (!(m_Communication & Stdin))
        m_Process->setStandardInputFile(QProcess::nullDevice());
    if (env)
        m_Process->setProcessEnvironment(EnvironmentFrom(*env));
    if (!m_WorkingDirectory.isEmpty())
        m_Process->setWorkingDirectory(m_WorkingDirectory);

    connect(m_Process, &QProcess::readyReadStandardOutput, this, &CProcess::readyReadStdout);
    connect(m_Process, &QProcess::readyReadStandardError, this, &CProcess::readyReadStderr);
    connect(m_Process, &QProcess::finished, this, &CProcess::OnFinished);

    m_NormalExit = false;
    m_ExitStatus = 0;
    m_Process->start(program, words, QIODevice::ReadWrite);
    if (!m_Process->waitForStarted(kStartTimeoutMs)) {
        m_Process->disconnect(this);
        DeleteProcess();
        return false;
    }
    return true;
}

void CProcess::OnFinished(int exitCode, QProcess::ExitStatus status)
{
    m_NormalExit = status == QProcess::NormalExit;
    m_ExitStatus = m_NormalExit ? exitCode : -1;
    emit processExited();
}

void CProcess::DeleteProcess()
{
    if (!m_Process)
        return;
    if (m_Process->state() != QProcess::NotRunning) {
        m_Process->kill();
        m_Process->waitForFinished(-1);
    }
    // May be called from inside one of its own signals.
    m_Process->deleteLater();
    m_Process = nullptr;
}

QByteArray CProcess::readStdout()
{
    return m_Process ? m_Process->readAllStandardOutput() : QByteArray();
}

QByteArray CProcess::readStderr()
{
    return m_Process ? m_Process->readAllStandardError() : QByteArray();
}

bool CProcess::canReadLineStdout() const
{
    if (!m_Process)
        return false;
    // canReadLine() looks at the current read channel only.
    return m_Process->readChannel() == QProcess::StandardOutput && m_Process->canReadLine();
}

void CProcess::writeToStdin(const QByteArray& data)
{
    if (isRunning())
        m_Process->write(data);
}

void CProcess::closeStdin()
{
    if (m_Process)
        m_Process->closeWriteChannel();
}

bool CProcess::isRunning() const
{
    return m_Process && m_Process->state() != QProcess::NotRunning;
}

bool CProcess::normalExit() const
{
    return m_NormalExit;
}

int CProcess::exitStatus() const
{
    return m_ExitStatus;
}

qint64 CProcess::processIdentifier() const
{
    return isRunning() ? m_Process->processId() : 0;
}

void CProcess::kill()
{
    if (isRunning())
        m_Process->kill();
}
