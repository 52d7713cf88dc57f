#pragma once

// Persistent application settings kept as blocks and values in one XML
// document. A block is a cheap handle; every change is saved at once.

#include <QDomElement>
#include <QString>
#include <QStringList>

#include <memory>

class CXMLSettingsDocument;

class CXMLSettingsBlock
{
public:
    CXMLSettingsBlock(); // invalid block

    // Root block of the document stored in fileName (loaded on first use;
    // missing or corrupt file: empty settings, a corrupt file is moved aside
    // to "<fileName>.bad").
    static CXMLSettingsBlock OpenRoot(const QString& fileName);

    CXMLSettingsBlock GetFirstChildBlock(const QString& name) const;
    // Finds or creates the "/"-separated path of blocks below this one.
    // Names and values holding characters an XML file cannot carry (most
    // control characters) are refused: an invalid block, or false.
    CXMLSettingsBlock GetFirstBlockForPath(const QString& path);
    bool IsValid() const;

    QString GetText(const QString& name, const QString& def = QString()) const;
    bool GetBool(const QString& name, bool def) const;
    bool PutText(const QString& name, const QString& value);
    bool PutBool(const QString& name, bool value);

    // Deletes the block at the "/"-separated path; "." is this block.
    bool DeleteBlock(const QString& path);

    QString GetName() const;
    QStringList GetChildBlockNames() const;
    QStringList GetValueNames() const;

    // Writes the document now; false when the file cannot be written.
    bool Save() const;
    QString FileName() const;

private:
    CXMLSettingsBlock(std::shared_ptr<CXMLSettingsDocument> doc, const QDomElement& element);

    std::shared_ptr<CXMLSettingsDocument> m_Doc;
    QDomElement m_Element;
};
