// Carrying out a parsed netsh command on the host's registry.
#pragma once

#include "netshparse.h"

#include <winsys/hive.h>

#include <cstdint>
#include <string>
#include <vector>

namespace netsh {

// Where one adapter's settings live in the registry.
struct Adapter {
    std::string guid;       // "{...}", the adapter name
    std::string tcpipKey;   // Tcpip\Parameters\Interfaces\{GUID}
    std::string netbtKey;   // NetBT\Parameters\Interfaces\Tcpip_{GUID}
    uint32_t ifIndex = 0;
};

// Finds an adapter by interface index or connection name (any case).
Result FindAdapter(const winsys::Hive& hive, const std::string& name, Adapter* out);

// Applies cmd to hive at time `now` (seconds since 1970, for DHCP leases).
// Checks everything before changing anything, so a failure leaves hive as it was.
Result Apply(winsys::Hive& hive, const Command& cmd, int64_t now);

// Per object; called by Apply once the adapter is known.
Result ApplyAddress(winsys::Hive& hive, const Adapter& a, const Command& cmd, int64_t now);
Result ApplyServers(winsys::Hive& hive, const Adapter& a, const Command& cmd);
// Switches the adapter's address to DHCP and takes the DHCP server's offer,
// or an automatic private (169.254.x.y) address when no server answers.
void EnableDhcp(winsys::Hive& hive, const Adapter& a, int64_t now);

// Parses and applies one command line to the current host in one locked
// transaction; returns what netsh reports.
Result Run(const std::vector<std::string>& args);

}  // namespace netsh
