// Fuzzes the XML settings reader. Whatever blocks and values it takes from
// a file (all of a sound one, what came before the damage of a broken one)
// must survive a change and a save: reopened, the file shows the same tree
// plus the changed value, and a broken file is kept aside, never lost.
#include "scratch.h"
#include "xmlsettings.h"

#include <QFile>
#include <QList>
#include <QPair>

#include <cstdint>
#include <cstdlib>

namespace {

const QString kProbe = QStringLiteral("netconfig-fuzz-probe");

// Every block and value as "path|value name=text|bool"; without recursion,
// as a file may nest blocks deeper than the stack would allow.
QStringList Tree(const CXMLSettingsBlock& root)
{
    QStringList lines;
    QList<QPair<CXMLSettingsBlock, QString>> pending{{root, QString()}};
    while (!pending.isEmpty()) {
        const auto [block, path] = pending.takeLast();
        for (const QString& name : block.GetValueNames()) {
            if (path.isEmpty() && name == kProbe)
                continue;
            const QString text = block.GetText(name, QStringLiteral("<missing>"));
            lines << QStringLiteral("%1|%2=%3|%4").arg(path, name, text).arg(block.GetBool(name, false));
        }
        for (const QString& name : block.GetChildBlockNames()) {
            // Only the first of equal names can be reached by name.
            const CXMLSettingsBlock child = block.GetFirstChildBlock(name);
            if (!name.isEmpty() && !child.IsValid())
                std::abort();
            lines << path + QLatin1Char('/') + name;
            if (child.IsValid())
                pending.append({child, path + QLatin1Char('/') + name});
        }
    }
    return lines;
}

// What an XML file cannot hold, the only reason to refuse a value.
bool Unstorable(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != 0x9 && u != 0xA && u != 0xD) || c.isSurrogate() || u == 0xFFFE || u == 0xFFFF)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchPath(QStringLiteral("settings.xml"));
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    if (!WriteScratch(path, data, size))
        return 0;
    // The probe stores part of the input too: values come from typed text
    // and file names, which may hold anything.
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(qMin<size_t>(size, 64)));

    QStringList before;
    bool stored = false;
    {
        CXMLSettingsBlock root = CXMLSettingsBlock::OpenRoot(path);
        if (!root.IsValid())
            std::abort();
        before = Tree(root);
        stored = root.PutText(kProbe, value);
    }
    if (!stored && !Unstorable(value))
        std::abort();
    // A damaged file is kept aside byte for byte.
    if (QFile::exists(aside)) {
        QFile kept(aside);
        if (!kept.open(QIODevice::ReadOnly) ||
            kept.readAll() != QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))
            std::abort();
        kept.remove();
    }
    // What was saved must read back whole, with no damage found.
    const CXMLSettingsBlock again = CXMLSettingsBlock::OpenRoot(path);
    const QStringList after = Tree(again);
    if (QFile::exists(aside) || after != before || (stored && again.GetText(kProbe) != value)) {
        qWarning("read:\n%s\nsaved and read again:\n%s", qUtf8Printable(before.join('\n')),
                 qUtf8Printable(after.join('\n')));
        std::abort();
    }
    return 0;
}
