#include "mapdrive.h"

#include "msgbox.h"
#include "waitcursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QVBoxLayout>

#include <winsys.h>

namespace {

constexpr DWORD kMessageBufferChars = 1024;

QString FromWide(LPCWSTR text)
{
    return text ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text)) : QString();
}

// The system's text for a refused connection; a provider with more to say
// (ERROR_EXTENDED_ERROR) is asked for its own description first.
QString SystemErrorText(DWORD code)
{
    QString text;
    if (code == ERROR_EXTENDED_ERROR) {
        WCHAR description[kMessageBufferChars] = {};
        WCHAR provider[kMessageBufferChars] = {};
        DWORD providerError = 0;
        if (WNetGetLastErrorW(&providerError, description, kMessageBufferChars, provider, kMessageBufferChars) ==
            NO_ERROR) {
            text = FromWide(description);
            code = providerError;
        }
    }
    if (text.isEmpty()) {
        LPSTR buffer = nullptr;
        const DWORD length = FormatMessageA(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
            MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
        if (length > 0 && buffer)
            text = QString::fromLocal8Bit(buffer, length);
        if (buffer)
            LocalFree(buffer);
    }
    return text.trimmed();
}

} // namespace

int MapNetworkDrive(QWidget* parent, int)
{
    CMapDriveDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted ? 0 : -1;
}

CMapDriveDialog::CMapDriveDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CMapDriveDialog"));
    setWindowTitle(tr("Map Network Drive"));

    auto* heading = new QLabel(tr("What network folder would you like to map?"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto* intro = new QLabel(tr("Specify the drive letter for the connection and the folder that you want to "
                                "connect to:"),
                             this);
    intro->setWordWrap(true);

    m_Drive = new QComboBox(this);
    m_Drive->setObjectName(QStringLiteral("cbDrive"));
    // Each item carries the device name to connect; none for a deviceless
    // connection, which is reached through its path alone.
    for (const QString& letter : FreeDriveLetters())
        m_Drive->addItem(letter, letter);
    // Like the system's dialog: the highest free letter is proposed.
    m_Drive->setCurrentIndex(m_Drive->count() - 1);
    m_Drive->addItem(tr("(none)"), QString());
    if (m_Drive->currentIndex() < 0)
        m_Drive->setCurrentIndex(0);
    m_Folder = new QLineEdit(this);
    m_Folder->setObjectName(QStringLiteral("ledFolder"));
    m_Folder->setPlaceholderText(tr("\\\\server\\share"));
    m_FolderHint = new QLabel(this);
    m_Reconnect = new QCheckBox(tr("&Reconnect at sign-in"), this);
    m_Reconnect->setObjectName(QStringLiteral("ckbReconnect"));
    m_Reconnect->setChecked(true);

    auto* fields = new QFormLayout;
    fields->addRow(tr("&Drive:"), m_Drive);
    fields->addRow(tr("&Folder:"), m_Folder);
    fields->addRow(QString(), m_FolderHint);
    fields->addRow(QString(), m_Reconnect);

    m_Finish = new QPushButton(tr("&Finish"), this);
    m_Finish->setObjectName(QStringLiteral("btnFinish"));
    m_Finish->setDefault(true);
    m_Cancel = new QPushButton(tr("Cancel"), this);
    m_Cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Finish);
    buttons->addWidget(m_Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_Folder, &QLineEdit::textChanged, this, &CMapDriveDialog::UpdateFinishButton);
    connect(m_Drive, &QComboBox::currentIndexChanged, this, &CMapDriveDialog::UpdateFinishButton);
    connect(m_Drive, &QComboBox::currentIndexChanged, this, &CMapDriveDialog::UpdateReconnectBox);
    connect(m_Finish, &QPushButton::clicked, this, &CMapDriveDialog::accept);
    connect(m_Cancel, &QPushButton::clicked, this, &CMapDriveDialog::reject);
    m_Folder->setFocus();
    UpdateFinishButton();
    UpdateReconnectBox();
}

QStringList CMapDriveDialog::FreeDriveLetters()
{
    // The logical drives: the machine's own and the connected network drives.
    // When they cannot be read, the connection attempt reports whatever the
    // system objects to.
    DWORD used = GetLogicalDrives();
    // A remembered connection that is not restored holds its letter too.
    LPBYTE buffer = nullptr;
    DWORD entriesRead = 0;
    DWORD totalEntries = 0;
    DWORD resumeHandle = 0;
    if (NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &entriesRead, &totalEntries, &resumeHandle) ==
        NERR_Success) {
        const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer);
        for (DWORD i = 0; i < entriesRead; ++i) {
            const QString local = FromWide(entries[i].ui0_local).toUpper();
            if (local.size() == 2 && local.at(1) == QLatin1Char(':') && local.at(0) >= QLatin1Char('A') &&
                local.at(0) <= QLatin1Char('Z'))
                used |= 1u << (local.at(0).unicode() - 'A');
        }
    }
    if (buffer)
        NetApiBufferFree(buffer);
    QStringList letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(used & (1u << (letter - 'A'))))
            letters << QLatin1Char(letter) + QStringLiteral(":");
    }
    return letters;
}

bool CMapDriveDialog::IsValidFolder(const QString& folder)
{
    // Names hold no \ / : * ? " < > | and neither start nor end with a blank;
    // a server name holds no blank at all. One trailing backslash is allowed.
    static const QRegularExpression unc(
        QStringLiteral("^\\\\\\\\[^\\\\/:*?\"<>|\\s]+"
                       "(?:\\\\[^\\\\/:*?\"<>|\\s](?:[^\\\\/:*?\"<>|]*[^\\\\/:*?\"<>|\\s])?)+\\\\?$"));
    return unc.match(folder).hasMatch();
}

void CMapDriveDialog::UpdateFinishButton()
{
    const QString folder = m_Folder->text();
    const bool valid = IsValidFolder(folder);
    m_FolderHint->setText(valid || folder.isEmpty() ? tr("Example: \\\\server\\share")
                                                    : tr("Type the folder as \\\\server\\share or "
                                                         "\\\\server\\share\\folder."));
    m_Finish->setEnabled(valid && m_Drive->currentIndex() >= 0);
}

// The system remembers only connections that redirect a device.
void CMapDriveDialog::UpdateReconnectBox()
{
    m_Reconnect->setEnabled(!m_Drive->currentData().toString().isEmpty());
}

void CMapDriveDialog::accept()
{
    // Enter reaches accept() even while Finish is disabled.
    if (!m_Finish->isEnabled())
        return;
    QString local = m_Drive->currentData().toString();
    QString remote = m_Folder->text();
    if (remote.endsWith(QLatin1Char('\\')))
        remote.chop(1);

    NETRESOURCEW resource = {};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpLocalName = local.isEmpty() ? nullptr : reinterpret_cast<LPWSTR>(local.data());
    resource.lpRemoteName = reinterpret_cast<LPWSTR>(remote.data());
    const DWORD flags = m_Reconnect->isEnabled() && m_Reconnect->isChecked() ? CONNECT_UPDATE_PROFILE : 0;
    DWORD result = NO_ERROR;
    {
        CWaitCursor wait;
        result = WNetAddConnection2W(&resource, nullptr, nullptr, flags);
    }
    m_LastError = result;
    if (result != NO_ERROR) {
        QString text = SystemErrorText(result);
        if (text.isEmpty())
            text = tr("The network folder could not be connected (system error %1).").arg(result);
        QuarvelMsgBox(this, text);
        // Stay open so that the path can be corrected.
        m_Folder->setFocus();
        m_Folder->selectAll();
        return;
    }
    QDialog::accept();
}
