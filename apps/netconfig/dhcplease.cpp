#include "dhcplease.h"

#include "winresources.h"

namespace {

QString InterfaceName(const IP_ADAPTER_INDEX_MAP& entry)
{
    const auto* name = reinterpret_cast<const char16_t*>(entry.Name);
    qsizetype length = 0;
    while (length < qsizetype(MAX_ADAPTER_NAME) && name[length] != 0)
        ++length;
    return QString::fromUtf16(name, length);
}

DWORD RunAction(IP_ADAPTER_INDEX_MAP& entry, LeaseAction action)
{
    if (action == LeaseAction::Release)
        return IpReleaseAddress(&entry);
    const DWORD error = IpRenewAddress(&entry);
    // A renew nobody answered reads better as a network error than as a
    // time-out or a missing file.
    if (error == DWORD(ERROR_SEM_TIMEOUT) || error == DWORD(ERROR_FILE_NOT_FOUND))
        return DWORD(ERROR_UNEXP_NET_ERR);
    return error;
}

} // namespace

CLeaseOutcome ReleaseRenewLease(const QString& adapterName, LeaseAction action)
{
    CLeaseOutcome outcome;
    ULONG size = 0;
    GetInterfaceInfo(nullptr, &size);
    if (size == 0)
        return outcome;
    outcome.listed = true;
    CSystemBuffer<IP_INTERFACE_INFO> table;
    outcome.error = table.Resize(size) ? GetInterfaceInfo(table.Get(), &size) : GetLastError();
    if (outcome.error != 0) {
        outcome.found = true; // a failed table read is reported like a failed action
        return outcome;
    }
    for (LONG i = 0; i < table->NumAdapters; ++i) {
        IP_ADAPTER_INDEX_MAP& entry = table->Adapter[i];
        if (InterfaceName(entry).contains(adapterName, Qt::CaseSensitive)) {
            outcome.found = true;
            outcome.error = RunAction(entry, action);
            break;
        }
    }
    return outcome;
}
