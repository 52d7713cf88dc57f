// IpReleaseAddress / IpRenewAddress: the DHCP client of the emulated host.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "emul.h"
#include "text.h"

#include <algorithm>
#include <chrono>
#include <thread>

using namespace winsys;

namespace {

// The adapter an index map names. Windows looks at the Name member alone
// ("\DEVICE\TCPIP_{GUID}", as GetInterfaceInfo fills it); the Index is not
// used, and a name no adapter has is an invalid parameter.
DWORD DhcpAdapter(PIP_ADAPTER_INDEX_MAP map, std::string& guid)
{
    if (!map)
        return ERROR_INVALID_PARAMETER;
    const WCHAR* end = std::find(map->Name, map->Name + MAX_ADAPTER_NAME, WCHAR(0));
    std::string name = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(map->Name),
                                                   reinterpret_cast<const char16_t*>(end)));
    const std::string prefix = "\\DEVICE\\TCPIP_";
    if (name.size() > prefix.size() && EqualNoCase(name.substr(0, prefix.size()), prefix))
        name.erase(0, prefix.size());
    std::shared_ptr<const AdapterTable> table;
    if (const DWORD code = CurrentAdapters(table))
        return code;
    for (const AdapterState& a : table->adapters) {
        if (!name.empty() && EqualNoCase(a.ref.guid, name)) {
            if (!a.dhcp)
                return ERROR_NOT_SUPPORTED;
            guid = a.ref.guid;
            return NO_ERROR;
        }
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

DWORD WINAPI IpReleaseAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    std::string guid;
    if (const DWORD code = DhcpAdapter(AdapterInfo, guid))
        return code;
    return ModifyHive([&](Hive& h) -> uint32_t {
        ReleaseDhcpLease(h, guid);
        RecordSettling(h, guid, {}, WallClockMs(), 0);
        return 0;
    });
}

DWORD WINAPI IpRenewAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    std::string guid;
    if (const DWORD code = DhcpAdapter(AdapterInfo, guid))
        return code;
    const int64_t settleMs = SettleMsFromEnvironment();
    const DWORD code = ModifyHive([&](Hive& h) -> uint32_t {
        const std::vector<std::string> held = ConfiguredAddresses(h, guid);
        if (!TakeDhcpOffer(h, guid))
            return ERROR_SEM_TIMEOUT;
        // A new lease is tentative like any new address; renewing the one held
        // leaves the address in use.
        std::vector<std::string> fresh = ConfiguredAddresses(h, guid);
        if (fresh == held)
            fresh.clear();
        RecordSettling(h, guid, fresh, WallClockMs(), settleMs);
        return 0;
    });
    if (code == ERROR_SEM_TIMEOUT)   // no server answered: the client gives up after a while
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return code;
}
