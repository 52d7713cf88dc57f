#include "connections.h"

#include <winsys/hive.h>
#include <winsys/host.h>

#include <algorithm>
#include <cstdlib>

namespace winsys {

std::vector<Connection> ReadConnections(const Hive& h)
{
    std::vector<Connection> list;
    for (const std::string& sub : h.SubKeys(keys::kConnections)) {
        const std::string k = std::string(keys::kConnections) + "\\" + sub;
        Connection c{sub, h.GetString(k, "LocalName"), h.GetString(k, "RemoteName"), h.GetDword(k, "OpenFiles") != 0};
        if (!c.remote.empty())
            list.push_back(c);
    }
    return list;
}

void AddConnectionEntry(Hive& h, const std::string& local, const std::string& remote)
{
    long next = 0;
    for (const std::string& sub : h.SubKeys(keys::kConnections))
        next = std::max(next, std::strtol(sub.c_str(), nullptr, 10) + 1);
    const std::string k = std::string(keys::kConnections) + "\\" + std::to_string(next);
    h.SetString(k, "LocalName", local);
    h.SetString(k, "RemoteName", remote);
    h.SetDword(k, "OpenFiles", 0);
}

}  // namespace winsys
