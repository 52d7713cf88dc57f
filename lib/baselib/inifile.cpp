#include "inifile.h"

#include "devcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
// A line is junk when it does not decode as UTF-8 or holds control
// characters: such lines are skipped instead of becoming odd keys.
bool DecodeLine(const QByteArray& raw, QString* line)
{
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t')
            return false;
    }
    // The file's byte order mark is dropped by Parse; one starting a line
    // belongs to the key.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *line = decoder.decode(raw);
    return !decoder.hasError();
}

QList<QByteArray> SplitLines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\n' && data[i] != '\r')
            continue;
        lines << data.mid(start, i - start);
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < data.size())
        lines << data.mid(start); // no final newline
    return lines;
}

bool HasLineBreak(const QString& s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}
} // namespace

CIniFile::CIniFile() = default;

CIniFile::~CIniFile()
{
    if (m_Dirty && !Flush())
        qCWarning(lcNetconfig, "netconfig: cannot write %s", qUtf8Printable(m_FileName));
}

bool CIniFile::SetIniFileName(const QString& path)
{
    if (m_Dirty)
        Flush();
    m_FileName.clear();
    m_Sections.clear();
    m_Index.clear();
    m_Dirty = false;

    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable() || info.size() > MaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The size may have grown since it was checked; read what was measured
    // plus one byte to notice, not the whole allowance.
    const QByteArray data = file.read(info.size() + 1);
    if (data.size() > MaxFileSize || file.error() != QFileDevice::NoError)
        return false;
    Parse(data);
    m_FileName = path;
    return true;
}

QString CIniFile::GetIniFileName() const
{
    return m_FileName;
}

void CIniFile::Parse(const QByteArray& data)
{
    QByteArray text = data;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    Section* current = nullptr;
    for (const QByteArray& raw : SplitLines(text)) {
        QString line;
        if (!DecodeLine(raw, &line))
            continue;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // "[Name]", anything after "]" ignored; an unclosed header still names the section.
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            current = EnsureSection(name);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed();
        if (eq < 0 || key.isEmpty())
            continue;
        if (!current)
            current = EnsureSection(QString()); // keys before the first header
        const QString value = line.mid(eq + 1).trimmed();
        auto it = std::find_if(current->entries.begin(), current->entries.end(),
                               [&](const Entry& e) { return e.key.compare(key, Qt::CaseInsensitive) == 0; });
        if (it != current->entries.end())
            it->value = value; // a repeated key: the last one wins
        else
            current->entries.append(Entry{key, value});
    }
}

CIniFile::Section* CIniFile::FindSection(const QString& name)
{
    const auto it = m_Index.constFind(name.toCaseFolded());
    return it == m_Index.constEnd() ? nullptr : &m_Sections[*it];
}

CIniFile::Section* CIniFile::EnsureSection(const QString& name)
{
    if (Section* s = FindSection(name))
        return s;
    // The nameless section has no header line, so it must come first.
    if (name.isEmpty()) {
        m_Sections.prepend(Section{name, {}});
        for (qsizetype& position : m_Index)
            ++position;
        m_Index.insert(QString(), 0);
        return &m_Sections.first();
    }
    m_Index.insert(name.toCaseFolded(), m_Sections.size());
    m_Sections.append(Section{name, {}});
    return &m_Sections.last();
}

const CIniFile::Section* CIniFile::FindSection(const QString& name) const
{
    return const_cast<CIniFile*>(this)->FindSection(name);
}

bool CIniFile::SplitPath(const QString& path, QString* section, QString* key)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    *section = slash < 0 ? QString() : path.left(slash).trimmed();
    *key = path.mid(slash + 1).trimmed();
    return !key->isEmpty();
}

QStringList CIniFile::GetSections() const
{
    QStringList names;
    for (const Section& s : m_Sections)
        names << s.name;
    return names;
}

QStringList CIniFile::GetSectionKeys(const QString& section) const
{
    QStringList keys;
    if (const Section* s = FindSection(section.trimmed())) {
        for (const Entry& e : s->entries)
            keys << e.key;
    }
    return keys;
}

QString CIniFile::readEntry(const QString& path, const QString& def, bool* ok) const
{
    if (ok)
        *ok = false;
    QString section, key;
    if (!SplitPath(path, &section, &key))
        return def;
    const Section* s = FindSection(section);
    if (!s)
        return def;
    for (const Entry& e : s->entries) {
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            if (ok)
                *ok = true;
            return e.value;
        }
    }
    return def;
}

bool CIniFile::writeEntry(const QString& path, const QString& value)
{
    QString section, key;
    if (m_FileName.isEmpty() || !SplitPath(path, &section, &key))
        return false;
    // What the reader could not give back the same is refused.
    if (HasLineBreak(path) || HasLineBreak(value) || key.contains(QLatin1Char('=')) ||
        key.startsWith(QLatin1Char('[')) || key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('#')) ||
        section.contains(QLatin1Char(']')))
        return false;
    Section* s = EnsureSection(section);
    const QString stored = value.trimmed();
    for (Entry& e : s->entries) {
        if (e.key.compare(key, Qt::CaseInsensitive) == 0) {
            if (e.value != stored) {
                e.value = stored;
                m_Dirty = true;
            }
            return true;
        }
    }
    s->entries.append(Entry{key, stored});
    m_Dirty = true;
    return true;
}

bool CIniFile::removeEntry(const QString& path)
{
    QString section, key;
    if (!SplitPath(path, &section, &key))
        return false;
    Section* s = FindSection(section);
    if (!s)
        return false;
    for (qsizetype i = 0; i < s->entries.size(); ++i) {
        if (s->entries[i].key.compare(key, Qt::CaseInsensitive) == 0) {
            s->entries.removeAt(i);
            m_Dirty = true;
            return true;
        }
    }
    return false;
}

void CIniFile::removeAllSections()
{
    m_Dirty = m_Dirty || !m_Sections.isEmpty();
    m_Sections.clear();
    m_Index.clear();
}

bool CIniFile::IsDirty() const
{
    return m_Dirty;
}

bool CIniFile::Flush()
{
    if (m_FileName.isEmpty())
        return false;
    if (!m_Dirty)
        return true;
    QByteArray out;
    for (const Section& s : m_Sections) {
        if (!out.isEmpty())
            out += '\n';
        if (!s.name.isEmpty())
            out += '[' + s.name.toUtf8() + "]\n";
        for (const Entry& e : s.entries)
            out += e.key.toUtf8() + '=' + e.value.toUtf8() + '\n';
    }
    // The reader drops a byte order mark at the start: a first key that
    // itself begins with U+FEFF needs one in front of it.
    if (out.startsWith("\xEF\xBB\xBF"))
        out.prepend("\xEF\xBB\xBF");
    QSaveFile file(m_FileName);
    // A file in a folder we may not create files in can still be rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(out);
    if (!file.commit())
        return false;
    m_Dirty = false;
    return true;
}
