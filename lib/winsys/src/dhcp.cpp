// IpReleaseAddress / IpRenewAddress: the DHCP client of the emulated host.
#include <winsys/hive.h>

#include "emul.h"

#include <chrono>
#include <thread>

using namespace winsys;

namespace {

// The adapter an index map names: Windows goes by the interface index.
DWORD DhcpAdapter(PIP_ADAPTER_INDEX_MAP map, std::string& guid)
{
    if (!map)
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<const AdapterTable> table;
    if (const DWORD code = CurrentAdapters(table))
        return code;
    const AdapterState* a = table->ByIndex(map->Index);
    if (!a)
        return ERROR_INVALID_PARAMETER;
    if (!a->dhcp)
        return ERROR_NOT_SUPPORTED;
    guid = a->ref.guid;
    return NO_ERROR;
}

}  // namespace

DWORD WINAPI IpReleaseAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    std::string guid;
    if (const DWORD code = DhcpAdapter(AdapterInfo, guid))
        return code;
    return ModifyHive([&](Hive& h) -> uint32_t {
        ReleaseDhcpLease(h, guid);
        return 0;
    });
}

DWORD WINAPI IpRenewAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo)
{
    std::string guid;
    if (const DWORD code = DhcpAdapter(AdapterInfo, guid))
        return code;
    const DWORD code = ModifyHive([&](Hive& h) -> uint32_t { return TakeDhcpOffer(h, guid) ? 0 : ERROR_SEM_TIMEOUT; });
    if (code == ERROR_SEM_TIMEOUT)   // no server answered: the client gives up after a while
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return code;
}
