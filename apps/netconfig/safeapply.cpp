#include "safeapply.h"

#include "configreader.h"
#include "settingsfile.h"

#include "baselib.h"
#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QThread>

#include <winsys.h>

namespace {

const char kPendingSection[] = "Pending";
// A waiter still running this long after its time is not ours any more (the
// number went to another process).
const int kStaleAfterSeconds = 60;

QString Key(const char* name)
{
    return QStringLiteral("%1/%2").arg(QLatin1String(kPendingSection), QLatin1String(name));
}

} // namespace

CSafeApplyStore CSafeApplyStore::ForThisMachine()
{
    QString machine =
        ReadRegistryString(QStringLiteral("SOFTWARE\\Microsoft\\Cryptography"), QStringLiteral("MachineGuid"));
    machine.remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z-]")));
    QString folder = GetAppSubDirectory(AppDirUserState) + QStringLiteral("/snapshots");
    if (!machine.isEmpty())
        folder += QLatin1Char('/') + machine;
    return CSafeApplyStore(folder);
}

QStringList CSafeApplyStore::Snapshots() const
{
    const QStringList names = QDir(m_Folder).entryList({QStringLiteral("snapshot-*.ini")}, QDir::Files, QDir::Name);
    QStringList paths;
    for (const QString& name : names)
        paths << QDir(m_Folder).filePath(name);
    return paths;
}

QString CSafeApplyStore::LatestSnapshot() const
{
    const QStringList all = Snapshots();
    return all.isEmpty() ? QString() : all.last();
}

QString CSafeApplyStore::TakeSnapshot(const CNetworkCardList& cards, const CIdentity& identity) const
{
    if (!QDir().mkpath(m_Folder))
        return QString();
    // Named by the time, so that the names sort as the snapshots were taken.
    QString path;
    do {
        if (!path.isEmpty())
            QThread::msleep(1);
        const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
        path = QDir(m_Folder).filePath(QStringLiteral("snapshot-%1.ini").arg(stamp));
    } while (QFile::exists(path));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || (file.close(), WriteSettingsFile(path, cards, identity) != 0)) {
        QFile::remove(path);
        return QString();
    }
    const QStringList all = Snapshots();
    for (qsizetype i = 0; i + kKeptSnapshots < all.count(); ++i)
        QFile::remove(all.at(i));
    return path;
}

QString CSafeApplyStore::PendingPath() const
{
    return QDir(m_Folder).filePath(QStringLiteral("pending.ini"));
}

bool CSafeApplyStore::ReadPending(CPendingApply* pending) const
{
    CIniFile ini;
    if (!ini.SetIniFileName(PendingPath()))
        return false;
    pending->pid = ini.readEntry(Key("pid")).toLongLong();
    pending->snapshot = ini.readEntry(Key("snapshot"));
    pending->deadline = QDateTime::fromString(ini.readEntry(Key("deadline")), Qt::ISODate);
    pending->confirmed = ini.readEntry(Key("confirmed")) == QLatin1String("1");
    return pending->pid > 0;
}

bool CSafeApplyStore::WritePending(const CPendingApply& pending) const
{
    QFile file(PendingPath());
    if (!QDir().mkpath(m_Folder) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.close();
    CIniFile ini;
    if (!ini.SetIniFileName(PendingPath()))
        return false;
    ini.writeEntry(Key("pid"), QString::number(pending.pid));
    ini.writeEntry(Key("snapshot"), pending.snapshot);
    ini.writeEntry(Key("deadline"), pending.deadline.toUTC().toString(Qt::ISODate));
    ini.writeEntry(Key("confirmed"), pending.confirmed ? QStringLiteral("1") : QStringLiteral("0"));
    return ini.Flush();
}

bool CSafeApplyStore::ClaimPending(const CPendingApply& pending, CPendingApply* other) const
{
    QDir().mkpath(m_Folder);
    QLockFile lock(PendingPath() + QStringLiteral(".lock"));
    lock.lock();
    CPendingApply current;
    if (ReadPending(&current) && current.pid != pending.pid && !IsStale(current)) {
        if (other)
            *other = current;
        return false;
    }
    return WritePending(pending);
}

void CSafeApplyStore::ReleasePending() const
{
    QLockFile lock(PendingPath() + QStringLiteral(".lock"));
    lock.lock();
    QFile::remove(PendingPath());
}

bool CSafeApplyStore::ConfirmPending() const
{
    QLockFile lock(PendingPath() + QStringLiteral(".lock"));
    lock.lock();
    CPendingApply pending;
    if (!ReadPending(&pending) || IsStale(pending))
        return false;
    pending.confirmed = true;
    return WritePending(pending);
}

bool CSafeApplyStore::IsStale(const CPendingApply& pending)
{
    const bool late =
        pending.deadline.isValid() && pending.deadline.addSecs(kStaleAfterSeconds) < QDateTime::currentDateTimeUtc();
    return !IsProcessAlive(pending.pid) || late;
}

bool IsProcessAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}
