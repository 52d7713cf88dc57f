#include "xmlsettings.h"

#include "xmlsettingsdoc.h"

namespace {
const QString kBlockTag = QStringLiteral("block");
const QString kValueTag = QStringLiteral("value");
const QString kNameAttr = QStringLiteral("name");

QDomElement FindChild(const QDomElement& parent, const QString& tag, const QString& name)
{
    for (QDomElement e = parent.firstChildElement(tag); !e.isNull(); e = e.nextSiblingElement(tag)) {
        if (e.attribute(kNameAttr) == name)
            return e;
    }
    return QDomElement();
}

QStringList ChildNames(const QDomElement& parent, const QString& tag)
{
    QStringList names;
    for (QDomElement e = parent.firstChildElement(tag); !e.isNull(); e = e.nextSiblingElement(tag))
        names << e.attribute(kNameAttr);
    return names;
}

// XML 1.0 cannot carry most control characters, lone surrogates, U+FFFE and
// U+FFFF: written as they are, they would make the whole file unreadable
// and so cost every setting on the next start.
bool Storable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (!(c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)))
            return false;
    }
    return true;
}

QStringList PathParts(const QString& path)
{
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    return parts;
}
} // namespace

CXMLSettingsBlock::CXMLSettingsBlock() = default;

CXMLSettingsBlock::CXMLSettingsBlock(std::shared_ptr<CXMLSettingsDocument> doc, const QDomElement& element)
    : m_Doc(std::move(doc)), m_Element(element)
{
}

CXMLSettingsBlock CXMLSettingsBlock::OpenRoot(const QString& fileName)
{
    std::shared_ptr<CXMLSettingsDocument> doc = CXMLSettingsDocument::Open(fileName);
    return CXMLSettingsBlock(doc, doc->Root());
}

bool CXMLSettingsBlock::IsValid() const
{
    if (!m_Doc || m_Element.isNull())
        return false;
    // A deleted block is detached from the document, though the handle lives on.
    QDomNode node = m_Element;
    while (!node.parentNode().isNull())
        node = node.parentNode();
    return node.isDocument();
}

CXMLSettingsBlock CXMLSettingsBlock::GetFirstChildBlock(const QString& name) const
{
    if (!IsValid() || name.isEmpty())
        return CXMLSettingsBlock();
    const QDomElement child = FindChild(m_Element, kBlockTag, name);
    return child.isNull() ? CXMLSettingsBlock() : CXMLSettingsBlock(m_Doc, child);
}

CXMLSettingsBlock CXMLSettingsBlock::GetFirstBlockForPath(const QString& path)
{
    if (!IsValid() || !Storable(path))
        return CXMLSettingsBlock();
    QDomElement current = m_Element;
    bool created = false;
    for (const QString& part : PathParts(path)) {
        QDomElement child = FindChild(current, kBlockTag, part);
        if (child.isNull()) {
            child = m_Doc->Document().createElement(kBlockTag);
            child.setAttribute(kNameAttr, part);
            current.appendChild(child);
            created = true;
        }
        current = child;
    }
    if (created)
        m_Doc->Changed();
    return CXMLSettingsBlock(m_Doc, current);
}

QString CXMLSettingsBlock::GetText(const QString& name, const QString& def) const
{
    if (!IsValid())
        return def;
    const QDomElement value = FindChild(m_Element, kValueTag, name);
    return value.isNull() ? def : value.text();
}

bool CXMLSettingsBlock::GetBool(const QString& name, bool def) const
{
    const QString text = GetText(name).trimmed().toLower();
    if (text == QLatin1String("1") || text == QLatin1String("true") || text == QLatin1String("yes")
        || text == QLatin1String("on"))
        return true;
    if (text == QLatin1String("0") || text == QLatin1String("false") || text == QLatin1String("no")
        || text == QLatin1String("off"))
        return false;
    return def;
}

bool CXMLSettingsBlock::PutText(const QString& name, const QString& value)
{
    if (!IsValid() || name.isEmpty() || !Storable(name) || !Storable(value))
        return false;
    QDomElement element = FindChild(m_Element, kValueTag, name);
    if (!element.isNull() && element.text() == value)
        return true;
    if (element.isNull()) {
        element = m_Doc->Document().createElement(kValueTag);
        element.setAttribute(kNameAttr, name);
        m_Element.appendChild(element);
    }
    while (!element.firstChild().isNull())
        element.removeChild(element.firstChild());
    element.appendChild(m_Doc->Document().createTextNode(value));
    return m_Doc->Changed();
}

bool CXMLSettingsBlock::PutBool(const QString& name, bool value)
{
    return PutText(name, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool CXMLSettingsBlock::DeleteBlock(const QString& path)
{
    if (!IsValid())
        return false;
    QDomElement target = m_Element;
    for (const QString& part : PathParts(path)) {
        target = FindChild(target, kBlockTag, part);
        if (target.isNull())
            return false;
    }
    if (target == m_Doc->Root()) {
        // The root itself stays; deleting it empties the settings.
        while (!target.firstChild().isNull())
            target.removeChild(target.firstChild());
    } else {
        target.parentNode().removeChild(target);
    }
    m_Doc->Changed();
    return true;
}

QString CXMLSettingsBlock::GetName() const
{
    return IsValid() ? m_Element.attribute(kNameAttr) : QString();
}

QStringList CXMLSettingsBlock::GetChildBlockNames() const
{
    return IsValid() ? ChildNames(m_Element, kBlockTag) : QStringList();
}

QStringList CXMLSettingsBlock::GetValueNames() const
{
    return IsValid() ? ChildNames(m_Element, kValueTag) : QStringList();
}

bool CXMLSettingsBlock::Save() const
{
    return m_Doc && m_Doc->Save();
}

QString CXMLSettingsBlock::FileName() const
{
    return m_Doc ? m_Doc->FileName() : QString();
}
