// IP Helper queries: adapters, per-adapter DNS servers, the interface table.
#include "emul.h"
#include "text.h"

#include <cstring>

using namespace winsys;

namespace {

void FillAddr(IP_ADDR_STRING& entry, const std::string& ip, const std::string& mask, DWORD context = 0)
{
    entry.Next = nullptr;
    CopyText(entry.IpAddress.String, sizeof entry.IpAddress.String, ip);
    CopyText(entry.IpMask.String, sizeof entry.IpMask.String, mask);
    entry.Context = context;
}

// Fills a chain whose first entry is embedded; further entries come from *extra.
void FillChain(IP_ADDR_STRING& first, const std::vector<std::pair<std::string, std::string>>& items,
               IP_ADDR_STRING*& extra, DWORD contextBase = 0)
{
    IP_ADDR_STRING* prev = &first;
    for (size_t i = 0; i < items.size(); ++i) {
        IP_ADDR_STRING* e = i == 0 ? &first : extra++;
        FillAddr(*e, items[i].first, items[i].second, contextBase ? contextBase + DWORD(i) : 0);
        if (i > 0)
            prev->Next = e;
        prev = e;
    }
}

std::vector<std::pair<std::string, std::string>> WithMask(const std::vector<std::string>& list, const char* mask)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const std::string& s : list)
        out.emplace_back(s, mask);
    return out;
}

size_t ExtraEntries(const AdapterState& a)
{
    const size_t gateways = a.gateways.empty() ? 1 : a.gateways.size();
    return a.addresses.size() - 1 + gateways - 1;
}

void FillAdapter(IP_ADAPTER_INFO& info, const AdapterState& a, IP_ADDR_STRING*& extra)
{
    std::memset(&info, 0, sizeof info);
    info.ComboIndex = a.ref.ifIndex;
    CopyText(info.AdapterName, sizeof info.AdapterName, a.ref.guid);
    CopyText(info.Description, sizeof info.Description, a.ref.description);
    info.AddressLength = UINT(a.mac.size());
    if (!a.mac.empty())   // an adapter without an address has no data() to copy from
        std::memcpy(info.Address, a.mac.data(), a.mac.size());
    info.Index = a.ref.ifIndex;
    info.Type = a.ref.ifType;
    info.DhcpEnabled = a.dhcp ? 1 : 0;
    FillChain(info.IpAddressList, a.addresses, extra, a.ref.ifIndex << 8);
    // Windows always has a first gateway entry; it is 0.0.0.0 without a gateway.
    const auto gateways = a.gateways.empty() ? WithMask({"0.0.0.0"}, "0.0.0.0") : WithMask(a.gateways, "255.255.255.255");
    FillChain(info.GatewayList, gateways, extra);
    if (a.dhcp)
        FillAddr(info.DhcpServer, a.dhcpServer, "255.255.255.255");
    info.HaveWins = a.wins.empty() ? FALSE : TRUE;
    if (a.wins.size() > 0)
        FillAddr(info.PrimaryWinsServer, a.wins[0], "255.255.255.255");
    if (a.wins.size() > 1)
        FillAddr(info.SecondaryWinsServer, a.wins[1], "255.255.255.255");
    info.LeaseObtained = a.leaseObtained;
    info.LeaseExpires = a.leaseExpires;
}

}  // namespace

DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO AdapterInfo, PULONG SizePointer)
{
    if (!SizePointer)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<const AdapterTable> table;
    if (const DWORD code = CurrentAdapters(table)) {
        // A size lets the usual two-call caller reach the second call and report the code.
        if (*SizePointer < sizeof(IP_ADAPTER_INFO))
            *SizePointer = sizeof(IP_ADAPTER_INFO);
        return code;
    }
    const auto& list = table->adapters;
    if (list.empty())
        return ERROR_NO_DATA;
    size_t extra = 0;
    for (const AdapterState& a : list)
        extra += ExtraEntries(a);
    const size_t needed = list.size() * sizeof(IP_ADAPTER_INFO) + extra * sizeof(IP_ADDR_STRING);
    if (!AdapterInfo || *SizePointer < needed) {
        *SizePointer = ULONG(needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    auto* next = reinterpret_cast<IP_ADDR_STRING*>(AdapterInfo + list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        FillAdapter(AdapterInfo[i], list[i], next);
        AdapterInfo[i].Next = i + 1 < list.size() ? &AdapterInfo[i + 1] : nullptr;
    }
    return NO_ERROR;
}

DWORD WINAPI GetPerAdapterInfo(ULONG IfIndex, PIP_PER_ADAPTER_INFO pPerAdapterInfo, PULONG pOutBufLen)
{
    if (!pOutBufLen)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<const AdapterTable> table;
    if (const DWORD code = CurrentAdapters(table))
        return code;
    const AdapterState* a = table->ByIndex(IfIndex);
    if (!a)
        return ERROR_NO_DATA;   // what Windows answers for an index no adapter has
    const size_t servers = a->dns.empty() ? 1 : a->dns.size();
    const size_t needed = sizeof(IP_PER_ADAPTER_INFO) + (servers - 1) * sizeof(IP_ADDR_STRING);
    if (!pPerAdapterInfo || *pOutBufLen < needed) {
        *pOutBufLen = ULONG(needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(pPerAdapterInfo, 0, needed);
    pPerAdapterInfo->AutoconfigEnabled = a->dhcp ? 1 : 0;
    pPerAdapterInfo->AutoconfigActive = a->addresses[0].first.compare(0, 8, "169.254.") == 0 ? 1 : 0;
    auto* extra = reinterpret_cast<IP_ADDR_STRING*>(pPerAdapterInfo + 1);
    FillChain(pPerAdapterInfo->DnsServerList, a->dns.empty() ? WithMask({""}, "") : WithMask(a->dns, ""), extra);
    return NO_ERROR;
}

DWORD WINAPI GetInterfaceInfo(PIP_INTERFACE_INFO pIfTable, PULONG dwOutBufLen)
{
    if (!dwOutBufLen)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<const AdapterTable> table;
    if (const DWORD code = CurrentAdapters(table)) {
        if (*dwOutBufLen < sizeof(IP_INTERFACE_INFO))
            *dwOutBufLen = sizeof(IP_INTERFACE_INFO);
        return code;
    }
    const auto& list = table->adapters;
    if (list.empty())
        return ERROR_NO_DATA;
    const size_t needed = offsetof(IP_INTERFACE_INFO, Adapter) + list.size() * sizeof(IP_ADAPTER_INDEX_MAP);
    if (!pIfTable || *dwOutBufLen < needed) {
        *dwOutBufLen = ULONG(needed);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    pIfTable->NumAdapters = LONG(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        IP_ADAPTER_INDEX_MAP& map = pIfTable->Adapter[i];
        std::memset(&map, 0, sizeof map);
        map.Index = list[i].ref.ifIndex;
        const std::u16string name = Utf8ToUtf16("\\DEVICE\\TCPIP_" + list[i].ref.guid);
        std::memcpy(map.Name, name.data(), std::min<size_t>(name.size(), MAX_ADAPTER_NAME - 1) * 2);
    }
    return NO_ERROR;
}
