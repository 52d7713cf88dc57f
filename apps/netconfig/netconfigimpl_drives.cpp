// The network drives page: the machine's connections as the network
// management service reports them, mapping through the base library's
// dialog and disconnecting the current row.
#include "netconfigimpl.h"

#include "mapdrive.h"

namespace {

QString FromWide(LPCWSTR text)
{
    return text ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text)) : QString();
}

} // namespace

unsigned long CNetConfigImpl::RefreshConnections()
{
    chlShareList->clear();
    LPBYTE buffer = nullptr;
    DWORD entriesRead = 0;
    DWORD totalEntries = 0;
    DWORD resumeHandle = 0;
    const NET_API_STATUS status =
        NetUseEnum(nullptr, 0, &buffer, MAX_PREFERRED_LENGTH, &entriesRead, &totalEntries, &resumeHandle);
    if (status != NERR_Success) {
        if (buffer)
            NetApiBufferFree(buffer);
        return status;
    }
    const auto* entries = reinterpret_cast<const USE_INFO_0*>(buffer);
    for (DWORD i = 0; i < entriesRead; ++i)
        chlShareList->addRow({FromWide(entries[i].ui0_local), FromWide(entries[i].ui0_remote)});
    if (buffer)
        NetApiBufferFree(buffer);
    return 0;
}

void CNetConfigImpl::MapNetDrive()
{
    MapNetworkDrive(this, 0);
    RefreshConnections();
}

void CNetConfigImpl::DisconnectDrive()
{
    const QTreeWidgetItem* row = chlShareList->currentItem();
    if (!row)
        return;
    // A deviceless connection is known by its network path only.
    const QString name = row->text(0).isEmpty() ? row->text(1) : row->text(0);
    const DWORD result = WNetCancelConnection2W(reinterpret_cast<LPCWSTR>(name.utf16()), CONNECT_UPDATE_PROFILE, FALSE);
    if (result != NO_ERROR)
        ShowSystemError(result);
    RefreshConnections();
}
