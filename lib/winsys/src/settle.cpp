// Tentative addresses: recorded with the wall-clock time at which they become
// usable, so that a reader in another process sees the same moment pass.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "adapters.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace winsys {

namespace {

constexpr uint32_t kQword = 11;   // REG_QWORD

std::string RecordKey(const std::string& guid)
{
    return std::string(keys::kTentative) + "\\" + guid;
}

RegValue Qword(int64_t v)
{
    RegValue value;
    value.type = kQword;
    for (int i = 0; i < 8; ++i)
        value.data.push_back(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    return value;
}

// A record that is not a QWORD was not written here: it is ignored.
int64_t QwordOf(const RegValue* value)
{
    if (!value || value->type != kQword || value->data.size() != 8)
        return 0;
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | value->data[size_t(i)];
    return static_cast<int64_t>(v);
}

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

int64_t SettleMsFromEnvironment()
{
    const char* text = std::getenv("WINSYS_SETTLE_MS");
    if (!text || !*text || std::strlen(text) > 10 || std::strspn(text, "0123456789") != std::strlen(text))
        return 0;
    const int64_t ms = std::strtoll(text, nullptr, 10);
    return ms <= kMaxSettleMs ? ms : 0;
}

int64_t WallClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::vector<std::string> ConfiguredAddresses(const Hive& h, const std::string& guid)
{
    const std::string tcp = TcpipKeyOf(guid);
    if (h.GetDword(tcp, "EnableDHCP", 0) != 0)
        return {h.GetString(tcp, "DhcpIPAddress")};
    return h.GetMultiString(tcp, "IPAddress");
}

void RecordSettling(Hive& h, const std::string& guid, const std::vector<std::string>& fresh, int64_t nowMs,
                    int64_t settleMs)
{
    const std::string key = RecordKey(guid);
    const bool recorded = h.HasKey(key);
    if (!recorded && settleMs <= 0)
        return;   // the usual case: no record before, none after
    const std::vector<std::string> current = ConfiguredAddresses(h, guid);
    if (recorded) {
        for (const std::string& name : h.ValueNames(key)) {
            if (!Contains(current, name) || Contains(fresh, name) || QwordOf(h.GetValue(key, name)) <= nowMs)
                h.DeleteValue(key, name);
        }
    }
    if (settleMs > 0) {
        for (const std::string& address : fresh)
            if (!address.empty() && address != "0.0.0.0" && Contains(current, address))
                h.SetValue(key, address, Qword(nowMs + settleMs));
    }
    if (h.HasKey(key) && h.ValueNames(key).empty())
        h.DeleteKey(key);
    if (h.HasKey(keys::kTentative) && h.SubKeys(keys::kTentative).empty() && h.ValueNames(keys::kTentative).empty())
        h.DeleteKey(keys::kTentative);
}

int64_t TentativeUntil(const Hive& h, const std::string& guid, const std::string& address)
{
    return QwordOf(h.GetValue(RecordKey(guid), address));
}

}  // namespace winsys
