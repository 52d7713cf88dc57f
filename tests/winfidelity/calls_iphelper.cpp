// GetAdaptersInfo, GetPerAdapterInfo and GetInterfaceInfo, sized and filled
// as the application does. Adapters differ between hosts, so a size is
// reported as the slack over the bytes the filled table really uses.
#include "calls.h"

#include <cstdlib>
#include <functional>
#include <memory>

namespace winfidelity {

namespace {

// A table read the usual two-call way: the size first, then the data.
template <typename T> struct Table
{
    DWORD sizingRc = 0, fillRc = 0, err = 0; // err: the last error after both calls
    ULONG sizedAt = 0;                       // the size the first call reported
    std::shared_ptr<T> data;                 // null unless filled
};

template <typename T, typename Call> Table<T> Read(Call call)
{
    Table<T> table;
    ULONG size = 0;
    SetLastError(0);
    table.sizingRc = call(nullptr, &size);
    table.sizedAt = size;
    if (size) {
        table.data.reset(static_cast<T*>(std::malloc(size)), std::free);
        table.fillRc = call(table.data.get(), &size);
        if (table.fillRc != ERROR_SUCCESS)
            table.data.reset();
    }
    table.err = GetLastError();
    return table;
}

// Entries of a chain beyond the first, embedded one, added to `extra`; false
// when one of them (or `first` itself) lies outside the caller's buffer.
template <typename T>
bool CountExtra(const void* first, const IP_ADDR_STRING& chain, const Table<T>& table, size_t* extra)
{
    const auto inside = [&table](const void* p) {
        const void* begin = table.data.get();
        const void* end = reinterpret_cast<const BYTE*>(begin) + table.sizedAt;
        return std::less_equal<const void*>()(begin, p) && std::less<const void*>()(p, end);
    };
    for (const IP_ADDR_STRING* entry = chain.Next; entry; entry = entry->Next, ++*extra) {
        if (!inside(entry))
            return false;
    }
    return inside(first);
}

} // namespace

void CheckIpHelper(Report& report)
{
    const auto adapters = Read<IP_ADAPTER_INFO>(GetAdaptersInfo);
    if (!adapters.data)
        return report.Add("iphlp.adapters.fill", adapters.fillRc, adapters.sizedAt, adapters.err, false);
    size_t count = 0, extra = 0;
    bool inside = true;
    for (const IP_ADAPTER_INFO* a = adapters.data.get(); a && inside; a = a->Next, ++count)
        inside = CountExtra(a, a->IpAddressList, adapters, &extra) && CountExtra(a, a->GatewayList, adapters, &extra);
    // The emulation asks for exactly what it fills, Wine for more; all the
    // call promises is enough room, so only a shortfall is reported.
    size_t used = count * sizeof(IP_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    report.Add("iphlp.adapters.sizing", adapters.sizingRc, adapters.sizedAt >= used ? 0 : used - adapters.sizedAt,
               adapters.err, adapters.sizingRc == ERROR_BUFFER_OVERFLOW && adapters.sizedAt >= used);
    report.Add("iphlp.adapters.fill", adapters.fillRc, inside ? 0 : 1, adapters.err, inside);

    const DWORD index = adapters.data->Index;
    const auto per = Read<IP_PER_ADAPTER_INFO>(
        [index](IP_PER_ADAPTER_INFO* info, ULONG* size) { return GetPerAdapterInfo(index, info, size); });
    extra = 0;
    inside = per.data && CountExtra(per.data.get(), per.data->DnsServerList, per, &extra);
    used = sizeof(IP_PER_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    report.Add("iphlp.peradapter.sizing", per.sizingRc, per.sizedAt - used, per.err,
               per.sizingRc == ERROR_BUFFER_OVERFLOW && per.sizedAt >= used);
    report.Add("iphlp.peradapter.fill", per.fillRc, inside ? 0 : 1, per.err, inside);

    const auto interfaces = Read<IP_INTERFACE_INFO>(GetInterfaceInfo);
    const LONG entries = interfaces.data ? interfaces.data->NumAdapters : 0;
    used = offsetof(IP_INTERFACE_INFO, Adapter) + size_t(entries) * sizeof(IP_ADAPTER_INDEX_MAP);
    report.Add("iphlp.interfaces.sizing", interfaces.sizingRc, interfaces.sizedAt - used, interfaces.err,
               interfaces.sizingRc == ERROR_INSUFFICIENT_BUFFER && interfaces.sizedAt >= used);
    // The adapters' names in the map, which release and renew look up, are
    // pinned by the emulation's own tests (tst_netapi).
    report.Add("iphlp.interfaces.fill", interfaces.fillRc, 0, interfaces.err, interfaces.fillRc == ERROR_SUCCESS);

    // An index no adapter has: no size, so the application's "size == 0"
    // guard holds. The code is the answer; the last error is not defined.
    ULONG size = 0;
    const DWORD rc = GetPerAdapterInfo(0x7FFFFFF0, nullptr, &size);
    report.Add("iphlp.peradapter.unknown", rc, size, 0, rc == ERROR_NO_DATA && size == 0);
}

} // namespace winfidelity
