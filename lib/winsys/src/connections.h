// The emulated host's network connections (what the workstation service keeps).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace winsys {

class Hive;

struct Connection {
    std::string key;      // its subkey under keys::kConnections
    std::string local;    // "Z:" or empty
    std::string remote;   // \\server\share
    bool openFiles = false;
};

std::vector<Connection> ReadConnections(const Hive& h);
void AddConnectionEntry(Hive& h, const std::string& local, const std::string& remote);

// The host's own drives (bit 0 = A:): C: and the ones it declares.
uint32_t HostDriveMask(const Hive& h);
// True when device ("D:") is one of the host's own drives.
bool IsHostDrive(const Hive& h, const std::string& device);

}  // namespace winsys
