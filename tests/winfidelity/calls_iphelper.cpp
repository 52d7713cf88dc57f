// GetAdaptersInfo, GetPerAdapterInfo and GetInterfaceInfo, sized and filled
// as the application does. Adapters differ between hosts, so a size is
// reported as the slack over the bytes the filled table really uses.
#include "calls.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace winfidelity {

namespace {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};

// A table read the usual two-call way: the size first, then the data.
template <typename T>
struct Table
{
    DWORD sizingRc = 0;                   // the first call, with no buffer
    ULONG sizedAt = 0;                    // the size it reported
    DWORD fillRc = 0;                     // the second call, with a buffer of that size
    std::unique_ptr<T, FreeDeleter> data; // null when nothing was filled
};

template <typename T, typename Call>
Table<T> ReadTable(Call call)
{
    Table<T> table;
    ULONG size = 0;
    table.sizingRc = call(nullptr, &size);
    table.sizedAt = size;
    if (size == 0)
        return table;
    table.data.reset(static_cast<T*>(std::malloc(size)));
    table.fillRc = call(table.data.get(), &size);
    if (table.fillRc != ERROR_SUCCESS)
        table.data.reset();
    return table;
}

using AdapterList = Table<IP_ADAPTER_INFO>;
using InterfaceTable = Table<IP_INTERFACE_INFO>;

AdapterList ReadAdapters()
{
    return ReadTable<IP_ADAPTER_INFO>(GetAdaptersInfo);
}

InterfaceTable ReadInterfaces()
{
    return ReadTable<IP_INTERFACE_INFO>(GetInterfaceInfo);
}

// The entry with the adapter's index and a name that holds its name, as the
// application matches them.
IP_ADAPTER_INDEX_MAP* FindInterface(const InterfaceTable& interfaces, const IP_ADAPTER_INFO& adapter)
{
    if (!interfaces.data)
        return nullptr;
    const WideString name = Wide(std::string(adapter.AdapterName));
    for (LONG i = 0; i < interfaces.data->NumAdapters; ++i) {
        IP_ADAPTER_INDEX_MAP& entry = interfaces.data->Adapter[i];
        if (entry.Index == adapter.Index && WideText(entry.Name, MAX_ADAPTER_NAME).find(name) != WideString::npos)
            return &entry;
    }
    return nullptr;
}

bool Inside(const void* p, const void* begin, size_t size)
{
    const void* end = static_cast<const BYTE*>(begin) + size;
    return std::less_equal<const void*>()(begin, p) && std::less<const void*>()(p, end);
}

// Entries of a chain beyond the first, embedded one; false when one of them
// lies outside the caller's buffer.
bool CountExtra(const IP_ADDR_STRING& first, const void* buffer, size_t size, size_t* extra)
{
    for (const IP_ADDR_STRING* entry = first.Next; entry; entry = entry->Next) {
        if (!Inside(entry, buffer, size))
            return false;
        ++*extra;
    }
    return true;
}

void CheckAdaptersSizing(Report& report)
{
    SetLastError(0);
    const AdapterList list = ReadAdapters();
    const DWORD err = GetLastError();
    if (!list.data) {
        report.Add("iphlp.adapters.fill", list.fillRc, list.sizedAt, err, false, "no adapter table");
        return;
    }
    size_t count = 0, extra = 0;
    bool inside = true;
    for (const IP_ADAPTER_INFO* a = list.data.get(); a && inside; a = a->Next) {
        inside = Inside(a, list.data.get(), list.sizedAt) &&
                 CountExtra(a->IpAddressList, list.data.get(), list.sizedAt, &extra) &&
                 CountExtra(a->GatewayList, list.data.get(), list.sizedAt, &extra);
        ++count;
    }
    // The emulation asks for exactly what it fills, Wine for more; all the
    // call promises is enough room, so only a shortfall is reported.
    const size_t used = count * sizeof(IP_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    const size_t shortfall = list.sizedAt >= used ? 0 : used - list.sizedAt;
    report.Add("iphlp.adapters.sizing", list.sizingRc, shortfall, err,
               list.sizingRc == ERROR_BUFFER_OVERFLOW && shortfall == 0, "the first call must ask for room");
    report.Add("iphlp.adapters.fill", list.fillRc, inside ? 0 : 1, err, list.fillRc == ERROR_SUCCESS && inside,
               "the list must lie in the caller's buffer");
}

void CheckPerAdapterSizing(Report& report, DWORD ifIndex)
{
    ULONG size = 0;
    SetLastError(0);
    const DWORD sizingRc = GetPerAdapterInfo(ifIndex, nullptr, &size);
    const ULONG sizedAt = size;
    std::unique_ptr<IP_PER_ADAPTER_INFO, FreeDeleter> info(static_cast<IP_PER_ADAPTER_INFO*>(std::malloc(size)));
    const DWORD fillRc = size && info ? GetPerAdapterInfo(ifIndex, info.get(), &size) : ERROR_NOT_ENOUGH_MEMORY;
    const DWORD err = GetLastError();
    size_t extra = 0;
    const bool inside = fillRc == ERROR_SUCCESS && CountExtra(info->DnsServerList, info.get(), sizedAt, &extra);
    const size_t used = sizeof(IP_PER_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    report.Add("iphlp.peradapter.sizing", sizingRc, sizedAt - used, err,
               sizingRc == ERROR_BUFFER_OVERFLOW && sizedAt >= used, "the first call must ask for room");
    report.Add("iphlp.peradapter.fill", fillRc, inside ? 0 : 1, err, inside,
               "the DNS list must lie in the caller's buffer");
}

void CheckInterfaceSizing(Report& report, const AdapterList& adapters)
{
    SetLastError(0);
    const InterfaceTable interfaces = ReadInterfaces();
    const DWORD err = GetLastError();
    const LONG count = interfaces.data ? interfaces.data->NumAdapters : 0;
    const size_t used = offsetof(IP_INTERFACE_INFO, Adapter) + size_t(count) * sizeof(IP_ADAPTER_INDEX_MAP);
    report.Add("iphlp.interfaces.sizing", interfaces.sizingRc, interfaces.sizedAt - used, err,
               interfaces.sizingRc == ERROR_INSUFFICIENT_BUFFER && interfaces.sizedAt >= used,
               "the first call must ask for room");
    // Every adapter must be found the way release/renew looks for it.
    size_t unmatched = 0;
    for (const IP_ADAPTER_INFO* a = adapters.data.get(); a; a = a->Next)
        unmatched += FindInterface(interfaces, *a) ? 0 : 1;
    report.Add("iphlp.interfaces.fill", interfaces.fillRc, unmatched, err,
               interfaces.fillRc == ERROR_SUCCESS && unmatched == 0, "an adapter has no interface entry");
}

} // namespace

void CheckIpHelperSizing(Report& report)
{
    CheckAdaptersSizing(report);
    const AdapterList adapters = ReadAdapters();
    if (adapters.data)
        CheckPerAdapterSizing(report, adapters.data->Index);
    CheckInterfaceSizing(report, adapters);

    // An index no adapter has: no size, so the application's "size == 0"
    // guard holds. The code is the answer; the last error is not defined.
    ULONG size = 0;
    const DWORD rc = GetPerAdapterInfo(0x7FFFFFF0, nullptr, &size);
    report.Add("iphlp.peradapter.unknown", rc, size, 0, rc == ERROR_NO_DATA && size == 0, "ERROR_NO_DATA");
}

// Release and renew look at the Name of the index map alone: a name no
// adapter has is refused whatever the index says, and nothing is released
// (safe to run on a real machine).
void CheckDhcpByName(Report& report)
{
    const InterfaceTable interfaces = ReadInterfaces();
    IP_ADAPTER_INDEX_MAP entry;
    std::memset(&entry, 0, sizeof entry);
    if (interfaces.data && interfaces.data->NumAdapters > 0)
        entry.Index = interfaces.data->Adapter[0].Index;
    const WideString bogus = Wide("\\DEVICE\\TCPIP_{00000000-0000-0000-0000-000000000000}");
    bogus.copy(entry.Name, bogus.size());
    const auto refused = [&report](const char* check, DWORD rc) {
        report.Add(check, rc, 0, 0, rc == ERROR_INVALID_PARAMETER, "ERROR_INVALID_PARAMETER");
    };
    refused("iphlp.release.unknownname", IpReleaseAddress(&entry));
    refused("iphlp.renew.unknownname", IpRenewAddress(&entry));
    entry.Name[0] = 0;
    refused("iphlp.renew.noname", IpRenewAddress(&entry));
    refused("iphlp.release.null", IpReleaseAddress(nullptr));
}

} // namespace winfidelity
