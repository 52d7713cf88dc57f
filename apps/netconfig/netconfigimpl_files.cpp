// Reading the live configuration, the settings file buttons and the console
// load and save actions.
#include "netconfigimpl.h"

#include "configreader.h"
#include "entry.h"
#include "settingsfile.h"

#include "filedialog.h"
#include "msgbox.h"
#include "waitcursor.h"

#include <QFile>
#include <QFileInfo>

namespace {

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

unsigned long CNetConfigImpl::ReadConfiguration()
{
    CWaitCursor waitCursor;
    CNetworkCardList cards;
    const unsigned long result = ReadAdapterCards(cards);
    if (result != ERROR_SUCCESS)
        return result;
    // Nothing reported at all: keep whatever model there is (a refresh then
    // still lists the old adapters).
    if (cards.isEmpty() && m_Editor.Count() == 0)
        return ERROR_NO_NETWORK;
    CIdentity identity = m_Editor.Remembered();
    ReadIdentity(identity);
    if (cards.isEmpty()) {
        m_Editor.ResetIdentity(identity);
    } else {
        m_Editor.Reset(cards, identity);
        AdaptersPage()->FillAdapterList();
    }
    IdentityPage()->ShowIdentity();
    return RefreshConnections();
}

int CNetConfigImpl::WriteSettings(const QString& path)
{
    return WriteSettingsFile(path, m_Editor.Cards(), m_Editor.Remembered());
}

int CNetConfigImpl::ReadSettings(const QString& path)
{
    CNetworkCardList cards = m_Editor.Cards();
    CIdentity wanted = m_Editor.Wanted();
    if (ReadSettingsFile(path, cards, wanted) != 0)
        return 1;
    m_Editor.MutableCards() = cards;
    // The file's identification is what the machine should become.
    m_Editor.SetWanted(wanted);
    return 0;
}

void CNetConfigImpl::SaveToFile()
{
    FileDialogParams params;
    FillFileDialogParams(params, FileDialogSave, tr("Save to file"));
    if (GetFileName(this, &params) == 0)
        return;
    const QString path = params.m_Result.GetPath(false).trimmed();
    // Emptied first: nothing of an older file may survive the save.
    if (!CreateEmptyFile(path)) {
        QuarvelMsgBox(this, tr("Can not create a file."));
        return;
    }
    if (WriteSettings(path) != 0)
        QuarvelMsgBox(this, tr("Can not save parameters to file."), path);
}

void CNetConfigImpl::LoadFromFile()
{
    FileDialogParams params;
    FillFileDialogParams(params, FileDialogOpen, tr("Load from file"));
    if (GetFileName(this, &params) == 0)
        return;
    const QString path = params.m_Result.GetPath(false).trimmed();
    if (ReadSettings(path) != 0) {
        QuarvelMsgBox(this, tr("Can not load parameters from file."), path);
        return;
    }
    SelectAdapter(CurrentAdapterIndex());
    UpdateControlStates();
}

// Console mode has no other channel for a bad file than the message box
// (on stderr when headless), so a failed read or save is reported here too
// instead of passing silently; a failed read applies nothing. Returns the
// process exit code.
int CNetConfigImpl::RunConsoleCommand(const QString& fileName, bool load)
{
    return load ? ConsoleLoad(fileName) : ConsoleSave(fileName);
}

int CNetConfigImpl::ConsoleLoad(const QString& fileName)
{
    if (ReadSettings(fileName) != 0) {
        QuarvelMsgBox(this, tr("Can not load parameters from file."), fileName);
        return ExitBadFile;
    }
    m_LoadedFile = fileName;
    ApplyAll();
    m_LoadedFile.clear();
    return ExitCodeOf(m_LastOutcome);
}

int CNetConfigImpl::ConsoleSave(const QString& fileName)
{
    // One name for creating and for writing: a trailing blank must not make
    // them two files.
    const QString path = fileName.trimmed();
    if (!QFileInfo::exists(path) && !CreateEmptyFile(path)) {
        QuarvelMsgBox(this, tr("Can not create a file."));
        return ExitBadFile;
    }
    if (WriteSettings(path) != 0) {
        QuarvelMsgBox(this, tr("Can not save parameters to file."), path);
        return ExitBadFile;
    }
    return ExitDone;
}
