#pragma once

// The XML document behind CXMLSettingsBlock handles (internal).

#include <QDomDocument>
#include <QString>

#include <memory>

class CXMLSettingsDocument
{
public:
    // One document per file: handles opened on the same file share it.
    static std::shared_ptr<CXMLSettingsDocument> Open(const QString& fileName);

    explicit CXMLSettingsDocument(const QString& fileName);
    ~CXMLSettingsDocument();

    QDomDocument& Document() { return m_Doc; }
    QDomElement Root() const { return m_Doc.documentElement(); }
    QString FileName() const { return m_FileName; }

    bool Changed(); // marks dirty and saves
    bool Save();    // writes when dirty; atomic

private:
    void Load();
    void SetAside();
    void Reset();

    QDomDocument m_Doc;
    QString m_FileName;
    bool m_Dirty = false;
    // The file exists but could not be read: never overwrite it.
    bool m_Locked = false;
};
