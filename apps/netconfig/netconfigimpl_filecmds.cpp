// The Save/Load buttons and the console load/save actions over the settings
// file format.
#include "netconfigimpl.h"

#include "filedialog.h"
#include "msgbox.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QWidget* MessageParent()
{
    return QApplication::activeWindow();
}

void FillFileDialogParams(FileDialogParams& params, quint32 mode, const QString& caption)
{
    params.m_Options1 = 92;
    params.m_Options2 = 7;
    params.m_Options3 = 17;
    params.m_Mode = mode;
    params.m_Filters.append(CFilterDesc(CNetConfigImpl::tr("Ini Files (*.ini)"), QStringLiteral("*.ini")));
    params.m_Caption = caption;
    params.m_DefaultName = QStringLiteral("network.ini");
    params.m_SettingsName = QString::fromLatin1(CNetConfigImpl::staticMetaObject.className());
}

// Creates the file, or empties an existing one.
bool CreateEmptyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    file.close();
    return true;
}

} // namespace

void CNetConfigImpl::SaveToFile()
{
    FileDialogParams params;
    FillFileDialogParams(params, FileDialogSave, tr("Save to file"));
    if (GetFileName(this, &params) == 0)
        return;
    const QString path = params.m_Result.GetPath(false).trimmed();
    // Emptied first: nothing of an older file may survive the save.
    if (!CreateEmptyFile(path)) {
        QuarvelMsgBox(MessageParent(), tr("Can not create a file."));
        return;
    }
    if (WriteSettings(path) != 0)
        QuarvelMsgBox(MessageParent(), tr("Can not save parameters to file."), path);
}

void CNetConfigImpl::LoadFromFile()
{
    FileDialogParams params;
    FillFileDialogParams(params, FileDialogOpen, tr("Load from file"));
    if (GetFileName(this, &params) == 0)
        return;
    const QString path = params.m_Result.GetPath(false).trimmed();
    if (ReadSettings(path) != 0) {
        QuarvelMsgBox(MessageParent(), tr("Can not load parameters from file."), path);
        return;
    }
    SelectAdapter(cbAdapters->currentIndex());
    UpdateControlStates();
}

// Console mode has no other channel for a bad file than the message box
// (on stderr when headless), so a failed read or save is reported here too
// instead of passing silently; a failed read applies nothing.
int CNetConfigImpl::RunConsoleCommand(const QString& fileName, bool load)
{
    if (load) {
        if (ReadSettings(fileName) != 0) {
            QuarvelMsgBox(MessageParent(), tr("Can not load parameters from file."), fileName);
            return 1;
        }
        return ApplyAll() ? 0 : 1;
    }
    if (!QFileInfo::exists(fileName) && !CreateEmptyFile(fileName.trimmed())) {
        QuarvelMsgBox(MessageParent(), tr("Can not create a file."));
        return -1;
    }
    const int result = WriteSettings(fileName);
    if (result != 0)
        QuarvelMsgBox(MessageParent(), tr("Can not save parameters to file."), fileName);
    return result;
}
