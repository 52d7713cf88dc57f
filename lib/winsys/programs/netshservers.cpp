// "interface ip set/add/delete dns|wins": the static DNS servers (NameServer,
// one comma-separated string) and WINS servers (NameServerList, a multi-string).
#include "netshapply.h"

#include <algorithm>

namespace netsh {

namespace {

using List = std::vector<std::string>;

List SplitServers(const std::string& text)
{
    List out;
    std::string cur;
    for (char c : text + ",") {
        if (c == ',' || c == ' ') {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

std::string JoinServers(const List& list)
{
    std::string out;
    for (const std::string& s : list)
        out += (out.empty() ? "" : ",") + s;
    return out;
}

List Read(const winsys::Hive& hive, const Adapter& a, Object object)
{
    if (object == Object::Dns)
        return SplitServers(hive.GetString(a.tcpipKey, "NameServer"));
    return hive.GetMultiString(a.netbtKey, "NameServerList");
}

void Write(winsys::Hive& hive, const Adapter& a, Object object, const List& list)
{
    if (object == Object::Dns)
        hive.SetString(a.tcpipKey, "NameServer", JoinServers(list));
    else
        hive.SetMultiString(a.netbtKey, "NameServerList", list);
}

// Dynamic DNS registration of the adapter's addresses.
void WriteRegistration(winsys::Hive& hive, const Adapter& a, const std::string& mode)
{
    if (mode.empty())
        return;
    hive.SetDword(a.tcpipKey, "RegistrationEnabled", mode == "none" ? 0 : 1);
    hive.SetDword(a.tcpipKey, "RegisterAdapterName", mode == "both" ? 1 : 0);
}

}  // namespace

Result ApplyServers(winsys::Hive& hive, const Adapter& a, const Command& cmd)
{
    List list = Read(hive, a, cmd.object);
    const auto found = std::find(list.begin(), list.end(), cmd.addr);
    switch (cmd.verb) {
    case Verb::Set:
        // DHCP: the servers of the lease apply once the static list is empty.
        list.clear();
        if (cmd.source == Source::Static && cmd.addr != "none")
            list.push_back(cmd.addr);
        if (cmd.object == Object::Dns)
            WriteRegistration(hive, a, cmd.registerMode);
        break;
    case Verb::Add:
        if (found != list.end())
            return {Status::AlreadyInList, {}};
        list.insert(list.begin() + std::min<size_t>(cmd.index ? cmd.index - 1 : list.size(), list.size()), cmd.addr);
        break;
    case Verb::Delete:
        if (cmd.addr == "all")
            list.clear();
        else if (found == list.end())
            return {Status::NotFound, {}};
        else
            list.erase(found);
        break;
    }
    Write(hive, a, cmd.object, list);
    return {};
}

}  // namespace netsh
