#pragma once

// INI files with sections and keys kept in file order. Reading tolerates
// blanks, comments (";" "#"), CRLF, a BOM, junk lines and duplicate keys
// (the last one wins); writing rewrites the whole file atomically.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class CIniFile
{
public:
    CIniFile();
    ~CIniFile(); // flushes when dirty

    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Binds to path and loads it; false (and unbound, empty) when the file
    // does not exist, is not a regular readable file or is too large.
    bool SetIniFileName(const QString& path);
    QString GetIniFileName() const;

    QStringList GetSections() const;
    QStringList GetSectionKeys(const QString& section) const;

    // path = "Section/Key".
    QString readEntry(const QString& path, const QString& def = QString(), bool* ok = nullptr) const;
    bool writeEntry(const QString& path, const QString& value); // buffered
    bool removeEntry(const QString& path);
    // Drops every section and key; the file stays bound.
    void removeAllSections();

    bool IsDirty() const;
    // Writes the whole file in one pass; false on failure.
    bool Flush();

    // Largest file SetIniFileName accepts.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };

    void Parse(const QByteArray& data);
    Section* FindSection(const QString& name);
    Section* EnsureSection(const QString& name);
    const Section* FindSection(const QString& name) const;
    static bool SplitPath(const QString& path, QString* section, QString* key);

    QString m_FileName;
    QList<Section> m_Sections;
    // Case-folded section name -> position in m_Sections: a file with many
    // adapters is written key by key, so lookups must not scan.
    QHash<QString, qsizetype> m_Index;
    bool m_Dirty = false;
};
