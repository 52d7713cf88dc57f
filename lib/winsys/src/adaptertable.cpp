// The adapter table derived from the hive, rebuilt only when the hive changes.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "emul.h"
#include "hostfs.h"

#include <mutex>

namespace winsys {

const AdapterState* AdapterTable::ByIndex(DWORD ifIndex) const
{
    for (const AdapterState& a : adapters)
        if (a.ref.ifIndex == ifIndex)
            return &a;
    return nullptr;
}

DWORD CurrentAdapters(std::shared_ptr<const AdapterTable>& out)
{
    static std::mutex mutex;
    static std::shared_ptr<const Hive> builtFrom;   // kept alive so the pointer cannot be reused
    static std::shared_ptr<const AdapterTable> table;
    std::shared_ptr<const Hive> hive;
    if (const DWORD code = CurrentHive(hive))
        return code;
    std::lock_guard<std::mutex> guard(mutex);
    // Between changes of the file the clock matters only while an address is tentative.
    if (hive != builtFrom || (table->settlesAt && WallClockMs() >= table->settlesAt)) {
        const int64_t now = WallClockMs();
        auto fresh = std::make_shared<AdapterTable>();
        for (const AdapterRef& ref : ListAdapters(*hive)) {
            fresh->adapters.push_back(ReadAdapterState(*hive, ref, now));
            const int64_t settles = fresh->adapters.back().settlesAt;
            if (settles && (!fresh->settlesAt || settles < fresh->settlesAt))
                fresh->settlesAt = settles;
        }
        table = fresh;
        builtFrom = hive;
    }
    out = table;
    return 0;
}

}  // namespace winsys
