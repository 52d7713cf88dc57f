// The TCP/IP state of an adapter as Windows reports it, read from the hive.
#pragma once

#include <winsys/host.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace winsys {

struct AdapterState {
    AdapterRef ref;
    bool dhcp = false;
    std::vector<std::pair<std::string, std::string>> addresses;   // address, mask; never empty
    std::vector<std::string> gateways;
    std::string dhcpServer;
    std::vector<std::string> dns;
    std::vector<std::string> wins;
    time_t leaseObtained = 0, leaseExpires = 0;
    std::vector<uint8_t> mac;
    int64_t settlesAt = 0;   // ms since 1970 when its next tentative address settles; 0: none is tentative
};

std::string TcpipKeyOf(const std::string& guid);
std::string NetBTKeyOf(const std::string& guid);
// The adapter as Windows reports it at nowMs (ms since 1970): a tentative
// address is listed as 0.0.0.0 with mask 0.0.0.0.
AdapterState ReadAdapterState(const Hive& h, const AdapterRef& ref, int64_t nowMs);

}  // namespace winsys
