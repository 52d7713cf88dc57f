// Fuzzes the INI reader through a real file, as the program reads one. What
// it read must come back unchanged after a write and a fresh read: saving
// a loaded file may not lose or change any entry.
#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// In memory where possible: every write is synced to disk, which would
// make a run per second out of thousands.
QString ScratchFile()
{
    static const QString path = QDir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                                : QDir::tempPath())
                                    .filePath(QStringLiteral("fuzz_inifile_%1.ini").arg(::getpid()));
    return path;
}

bool WriteFile(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

const QString kProbe = QStringLiteral("Fuzz/Written");

// "Section/Key" -> value as readEntry sees them (duplicates collapse the way
// lookups see them). Names holding the path separator cannot be addressed by
// a path and are left out, and so is the entry the harness writes itself.
QMap<QString, QString> Contents(const CIniFile& ini)
{
    QMap<QString, QString> entries;
    const QChar slash = QLatin1Char('/');
    for (const QString& section : ini.GetSections()) {
        if (section.contains(slash))
            continue;
        for (const QString& key : ini.GetSectionKeys(section)) {
            const QString path = section + slash + key;
            if (!key.contains(slash) && path.compare(kProbe, Qt::CaseInsensitive) != 0)
                entries.insert(path, ini.readEntry(path));
        }
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchFile();
    if (!WriteFile(path, data, size))
        return 0;
    QMap<QString, QString> before;
    {
        CIniFile ini;
        if (!ini.SetIniFileName(path))
            return 0;
        before = Contents(ini);
        ini.writeEntry(kProbe, QStringLiteral("yes"));
        if (!ini.Flush())
            std::abort();
    }
    CIniFile again;
    if (!again.SetIniFileName(path))
        std::abort();
    const QMap<QString, QString> after = Contents(again);
    if (again.readEntry(kProbe) != QLatin1String("yes") || after != before) {
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (after.value(it.key(), QStringLiteral("<missing>")) != it.value())
                qWarning("read [%s]=[%s], after a save [%s]", qUtf8Printable(it.key()), qUtf8Printable(it.value()),
                         qUtf8Printable(after.value(it.key(), QStringLiteral("<missing>"))));
        }
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            if (!before.contains(it.key()))
                qWarning("new after a save: [%s]=[%s]", qUtf8Printable(it.key()), qUtf8Printable(it.value()));
        }
        std::abort();
    }
    return 0;
}
