#include "drivespage.h"

#include "winresources.h"

#include "mapdrive.h"

#include <QHeaderView>

namespace {

QString FromWide(LPCWSTR text)
{
    return text ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text)) : QString();
}

} // namespace

CDrivesPage::CDrivesPage(QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    chlShareList->addColumn(tr("Drive"), 50);
    chlShareList->addColumn(tr("Network path"), 250);
    // A translated title wider than the fixed width must not be cut.
    QHeaderView* header = chlShareList->header();
    for (int column = 0; column < 2; ++column)
        chlShareList->setColumnWidth(column, qMax(chlShareList->columnWidth(column), header->sectionSizeHint(column)));
}

unsigned long CDrivesPage::RefreshConnections()
{
    chlShareList->clear();
    CNetApiBuffer buffer;
    DWORD entriesRead = 0, totalEntries = 0, resumeHandle = 0;
    const NET_API_STATUS status =
        NetUseEnum(nullptr, 0, buffer.Out(), MAX_PREFERRED_LENGTH, &entriesRead, &totalEntries, &resumeHandle);
    // A system without the call (Wine's NetUseEnum is a stub) has no drives
    // to list; the rest of the configuration must still be readable there.
    if (status == ERROR_NOT_SUPPORTED)
        return 0;
    if (status != NERR_Success)
        return status;
    const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer.Get());
    for (DWORD i = 0; i < entriesRead; ++i)
        chlShareList->addRow({FromWide(entries[i].ui0_local), FromWide(entries[i].ui0_remote)});
    return 0;
}

void CDrivesPage::MapNetDrive()
{
    MapNetworkDrive(window(), 0);
    RefreshConnections();
}

void CDrivesPage::DisconnectDrive()
{
    const QTreeWidgetItem* row = chlShareList->currentItem();
    if (!row)
        return;
    // A deviceless connection is known by its network path only.
    const QString name = row->text(0).isEmpty() ? row->text(1) : row->text(0);
    const DWORD result = WNetCancelConnection2W(reinterpret_cast<LPCWSTR>(name.utf16()), CONNECT_UPDATE_PROFILE, FALSE);
    if (result != NO_ERROR)
        emit systemError(result);
    RefreshConnections();
}
