// Scratch files of the harnesses: in memory where possible, since every
// write of the INI and XML classes is synced to disk, and one set per
// process so that parallel fuzzing jobs do not share them.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

inline QString ScratchPath(const QString& name)
{
    static const QDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    return dir.filePath(QStringLiteral("netconfig_fuzz_%1_%2").arg(::getpid()).arg(name));
}

inline bool WriteScratch(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}
