#pragma once

// The file chooser: GetFileName shows a QFileDialog described by a
// FileDialogParams record.

#include <QList>
#include <QString>

class QWidget;

struct CFilterDesc
{
    CFilterDesc(const QString& desc = {}, const QString& pattern = {});
    QString m_Desc;
    QString m_Pattern; // e.g. "*.ini", several separated by ";" or blanks
};

// A chosen file system item.
class CFSItem
{
public:
    QString GetPath(bool nativeSeparators) const;
    void SetPath(const QString& path);

private:
    QString m_Path;
};

struct FileDialogParams
{
    FileDialogParams();
    ~FileDialogParams();

    quint32 m_Options1;
    quint32 m_Options2;
    quint32 m_Options3;
    quint32 m_Mode; // FileDialogSave or FileDialogOpen
    QList<CFilterDesc> m_Filters;
    void* m_Reserved;
    QString m_Caption;
    QString m_DefaultName;
    CFSItem m_Result;
    quint32 m_Further;
    QString m_SettingsName; // remembers the last folder under this name
    void* m_Last;
};

enum { FileDialogSave = 1, FileDialogOpen = 2 };

// Non-zero when a file was chosen (params->m_Result), 0 when cancelled.
int GetFileName(QWidget* parent, FileDialogParams* params);

// Test seam: the next GetFileName returns this answer without showing a
// dialog (accept == false: cancelled).
void SetNextFileDialogAnswer(const QString& path, bool accept);

// Qt name filter text for a list of filters, e.g. "Ini Files (*.ini)".
QStringList FileDialogNameFilters(const QList<CFilterDesc>& filters);
