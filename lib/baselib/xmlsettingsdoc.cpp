#include "xmlsettingsdoc.h"

#include "devcheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QXmlStreamReader>

namespace {
const QString kRootTag = QStringLiteral("settings");
const qint64 kMaxFileSize = 16 * 1024 * 1024;

// Builds the DOM while reading, so that a file damaged in the middle still
// yields everything before the damage. A value is text only: markup inside
// one is flattened into its text, which a save could not write back as read.
bool ParseInto(const QByteArray& data, QDomDocument& doc)
{
    QXmlStreamReader xml(data);
    QDomNode current; // null: at document level
    int insideValue = 0; // depth of elements opened within a value
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (insideValue > 0 || (current.isElement() && current.toElement().tagName() == QLatin1String("value"))) {
                ++insideValue;
                break;
            }
            QDomElement e = doc.createElement(xml.name().toString());
            for (const QXmlStreamAttribute& a : xml.attributes())
                e.setAttribute(a.qualifiedName().toString(), a.value().toString());
            if (current.isNull())
                doc.appendChild(e);
            else
                current.appendChild(e);
            current = e;
            break;
        }
        case QXmlStreamReader::EndElement:
            if (insideValue > 0)
                --insideValue;
            else
                current = current.parentNode().isElement() ? current.parentNode() : QDomNode();
            break;
        case QXmlStreamReader::Characters:
            // Indentation is dropped; a value's text is kept as it is.
            if (current.isElement()
                && (!xml.isWhitespace() || current.toElement().tagName() == QLatin1String("value")))
                current.appendChild(doc.createTextNode(xml.text().toString()));
            break;
        default:
            break;
        }
    }
    return !xml.hasError();
}
} // namespace

std::shared_ptr<CXMLSettingsDocument> CXMLSettingsDocument::Open(const QString& fileName)
{
    static QHash<QString, std::weak_ptr<CXMLSettingsDocument>> open;
    const QString key = QFileInfo(fileName).absoluteFilePath();
    std::shared_ptr<CXMLSettingsDocument> doc = open.value(key).lock();
    if (!doc) {
        doc = std::make_shared<CXMLSettingsDocument>(key);
        open.insert(key, doc);
    }
    return doc;
}

CXMLSettingsDocument::CXMLSettingsDocument(const QString& fileName)
    : m_FileName(fileName)
{
    Load();
}

CXMLSettingsDocument::~CXMLSettingsDocument()
{
    Save();
}

void CXMLSettingsDocument::Reset()
{
    m_Doc = QDomDocument();
    m_Doc.appendChild(m_Doc.createProcessingInstruction(QStringLiteral("xml"),
                                                        QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    m_Doc.appendChild(m_Doc.createElement(kRootTag));
}

void CXMLSettingsDocument::Load()
{
    Reset();
    QFileInfo info(m_FileName);
    if (!info.exists())
        return;
    QFile file(m_FileName);
    if (!info.isFile() || info.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) {
        qCWarning(lcNetconfig, "netconfig: cannot read the settings file %s; using defaults",
                  qUtf8Printable(m_FileName));
        m_Locked = true;
        return;
    }
    const QByteArray data = file.readAll();
    file.close();
    if (data.trimmed().isEmpty())
        return;

    QDomDocument parsed;
    const bool ok = ParseInto(data, parsed);
    if (ok && parsed.documentElement().tagName() == kRootTag) {
        m_Doc = parsed;
        return;
    }
    if (parsed.documentElement().tagName() == kRootTag) {
        m_Doc = parsed; // what could be read before the damage
        m_Dirty = true;
    }
    qCWarning(lcNetconfig, "netconfig: the settings file %s is damaged; it is kept as %s.bad",
              qUtf8Printable(m_FileName), qUtf8Printable(m_FileName));
    SetAside();
}

void CXMLSettingsDocument::SetAside()
{
    const QString bad = m_FileName + QStringLiteral(".bad");
    QFile::remove(bad);
    if (QFile::rename(m_FileName, bad) || QFile::copy(m_FileName, bad))
        return;
    // Writing now would destroy the only copy of the damaged file.
    m_Locked = true;
}

bool CXMLSettingsDocument::Changed()
{
    m_Dirty = true;
    return Save();
}

bool CXMLSettingsDocument::Save()
{
    if (!m_Dirty)
        return true;
    if (m_Locked)
        return false;
    QDir().mkpath(QFileInfo(m_FileName).absolutePath());
    QSaveFile file(m_FileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(m_Doc.toByteArray(1));
    if (!file.commit())
        return false;
    m_Dirty = false;
    return true;
}
