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
};

std::string TcpipKeyOf(const std::string& guid);
std::string NetBTKeyOf(const std::string& guid);
AdapterState ReadAdapterState(const Hive& h, const AdapterRef& ref);

}  // namespace winsys
