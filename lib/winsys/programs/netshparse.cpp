#include "netshparse.h"

#include "netshtext.h"

namespace netsh {

namespace {

enum class Field { Name, Source, Addr, Mask, Gateway, GwMetric, Index, Register, Ddns, Store, Validate };

struct Tag {
    const char* name;
    Field field;
};

// Parameters in netsh's positional order: an untagged parameter takes the
// tag at its own position, whatever came before it.
const std::vector<Tag>& PositionalTags(Verb verb, Object object)
{
    static const std::vector<Tag> setAddress{{"name", Field::Name}, {"source", Field::Source},
        {"addr", Field::Addr}, {"mask", Field::Mask}, {"gateway", Field::Gateway},
        {"gwmetric", Field::GwMetric}, {"store", Field::Store}};
    static const std::vector<Tag> addAddress{{"name", Field::Name}, {"addr", Field::Addr},
        {"mask", Field::Mask}, {"gateway", Field::Gateway}, {"gwmetric", Field::GwMetric},
        {"store", Field::Store}};
    static const std::vector<Tag> deleteAddress{{"name", Field::Name}, {"addr", Field::Addr},
        {"gateway", Field::Gateway}, {"store", Field::Store}};
    static const std::vector<Tag> setDns{{"name", Field::Name}, {"source", Field::Source},
        {"addr", Field::Addr}, {"register", Field::Register}, {"ddns", Field::Ddns},
        {"validate", Field::Validate}};
    static const std::vector<Tag> setWins{{"name", Field::Name}, {"source", Field::Source},
        {"addr", Field::Addr}};
    static const std::vector<Tag> addServer{{"name", Field::Name}, {"addr", Field::Addr},
        {"index", Field::Index}, {"validate", Field::Validate}};
    static const std::vector<Tag> deleteServer{{"name", Field::Name}, {"addr", Field::Addr},
        {"validate", Field::Validate}};
    if (object == Object::Address)
        return verb == Verb::Set ? setAddress : verb == Verb::Add ? addAddress : deleteAddress;
    if (verb == Verb::Set)
        return object == Object::Dns ? setDns : setWins;
    return verb == Verb::Add ? addServer : deleteServer;
}

// The newer "interface ipv4" spelling of the address tag.
Field TagField(const std::vector<Tag>& tags, const std::string& tag, bool* known)
{
    std::string name = Lower(tag);
    if (name == "address")
        name = "addr";
    for (const Tag& t : tags) {
        if (name == t.name) {
            *known = true;
            return t.field;
        }
    }
    *known = false;
    return Field::Name;
}

struct Words {
    Verb verb;
    Object object;
};

Result MatchWords(const std::vector<std::string>& args, Words* words)
{
    static const std::vector<std::pair<const char*, int>> contexts{{"interface", 0}};
    static const std::vector<std::pair<const char*, int>> families{{"ip", 0}, {"ipv4", 0}};
    static const std::vector<std::pair<const char*, int>> verbs{
        {"set", int(Verb::Set)}, {"add", int(Verb::Add)}, {"delete", int(Verb::Delete)}};
    static const std::vector<std::pair<const char*, int>> objects{{"address", int(Object::Address)},
        {"dns", int(Object::Dns)}, {"dnsservers", int(Object::Dns)}, {"dnsserver", int(Object::Dns)},
        {"wins", int(Object::Wins)}, {"winsservers", int(Object::Wins)}, {"winsserver", int(Object::Wins)}};
    int value = 0;
    Result notFound{Status::CommandNotFound, Join(args)};
    if (args.size() < 4 || !MatchWord(args[0], contexts, &value) || !MatchWord(args[1], families, &value))
        return notFound;
    int verb = 0, object = 0;
    if (!MatchWord(args[2], verbs, &verb) || !MatchWord(args[3], objects, &object))
        return notFound;
    *words = Words{Verb(verb), Object(object)};
    return {};
}

// Interface addresses and gateways must be unicast; servers anything but
// the unspecified and broadcast addresses.
bool Usable(uint32_t ip, bool unicast)
{
    const uint32_t first = ip >> 24;
    if (unicast)
        return first != 0 && first != 127 && first < 224;
    return ip != 0 && ip != 0xFFFFFFFFu;
}

bool StoreAddress(const std::string& value, std::string* out, bool unicast, bool allowNone, bool allowAll)
{
    const std::string word = Lower(value);
    if ((allowNone && word == "none") || (allowAll && word == "all")) {
        *out = word;
        return true;
    }
    uint32_t ip = 0;
    if (!ParseIPv4(value, &ip) || !Usable(ip, unicast))
        return false;
    *out = FormatIPv4(ip);
    return true;
}

bool StoreWord(const std::string& value, std::initializer_list<const char*> allowed, std::string* out)
{
    const std::string word = Lower(value);
    for (const char* a : allowed) {
        if (word == a) {
            *out = word;
            return true;
        }
    }
    return false;
}

// The interface address; "address/prefix" also gives the mask where the
// command has one.
Status StoreInterfaceAddress(const std::string& value, Command* cmd)
{
    uint32_t ip = 0, mask = 0;
    if (value.find('/') != std::string::npos) {
        if (cmd->verb == Verb::Delete || !ParseCidr(value, &ip, &mask) || !Usable(ip, true))
            return Status::InvalidAddress;
        cmd->addr = FormatIPv4(ip);
        cmd->mask = FormatIPv4(mask);
        return Status::Ok;
    }
    return StoreAddress(value, &cmd->addr, true, false, false) ? Status::Ok : Status::InvalidAddress;
}

Status StoreField(Field field, const std::string& value, Command* cmd)
{
    const auto check = [](bool ok) { return ok ? Status::Ok : Status::BadParameter; };
    std::string ignored;
    const bool servers = cmd->object != Object::Address;
    switch (field) {
    case Field::Name:
        cmd->iface = value;
        return check(!value.empty());
    case Field::Source:
        if (!StoreWord(value, {"dhcp", "static"}, &ignored))
            return Status::BadParameter;
        cmd->source = ignored == "dhcp" ? Source::Dhcp : Source::Static;
        return Status::Ok;
    case Field::Addr:
        if (!servers)
            return StoreInterfaceAddress(value, cmd);
        return check(StoreAddress(value, &cmd->addr, false, true, true));
    case Field::Mask: {
        uint32_t mask = 0;
        if (!ParseIPv4(value, &mask) || mask == 0 || !IsValidMask(mask))
            return Status::InvalidMask;
        cmd->mask = FormatIPv4(mask);
        return Status::Ok;
    }
    case Field::Gateway:
        return StoreAddress(value, &cmd->gateway, true, cmd->verb == Verb::Set, cmd->verb == Verb::Delete)
                   ? Status::Ok
                   : Status::InvalidGateway;
    case Field::GwMetric:
        cmd->hasMetric = true;
        return check(ParseNumber(value, 0, 9999, &cmd->gwmetric));
    case Field::Index:
        return check(ParseNumber(value, 1, 999, &cmd->index));
    case Field::Register:
        return check(StoreWord(value, {"none", "primary", "both"}, &cmd->registerMode));
    case Field::Ddns:
        return check(StoreWord(value, {"enabled", "disabled"}, &ignored));
    case Field::Store:
        return check(StoreWord(value, {"active", "persistent"}, &ignored));
    case Field::Validate:
        return check(StoreWord(value, {"yes", "no"}, &ignored));
    }
    return Status::BadParameter;
}

// Binds tagged and positional parameters to fields and stores their values.
Result BindParameters(const std::vector<std::string>& params, Command* cmd)
{
    const std::vector<Tag>& tags = PositionalTags(cmd->verb, cmd->object);
    std::vector<bool> seen(int(Field::Validate) + 1, false);
    bool maskFromPrefix = false;   // "address/prefix": the mask's position goes to the next parameter
    size_t skipped = 0;
    for (size_t i = 0; i < params.size(); ++i) {
        const std::string& p = params[i];
        const size_t eq = p.find('=');
        Field field = Field::Name;
        std::string value;
        bool known = false;
        if (eq != std::string::npos && eq > 0)
            field = TagField(tags, p.substr(0, eq), &known);
        if (known) {
            value = Unquote(p.substr(eq + 1));
        } else if (eq != std::string::npos && i > 0) {
            return {Status::BadParameter, {}};   // an unknown tag
        } else {
            size_t position = i + skipped;
            if (maskFromPrefix && position < tags.size() && tags[position].field == Field::Mask) {
                ++skipped;
                ++position;
            }
            if (position >= tags.size())
                return {Status::BadParameter, {}};
            // The interface name may itself contain "=", so only it is taken verbatim.
            field = tags[position].field;
            value = Unquote(p);
        }
        const bool prefix =
            field == Field::Addr && cmd->object == Object::Address && value.find('/') != std::string::npos;
        if (seen[int(field)] || (prefix && seen[int(Field::Mask)]))
            return {Status::BadParameter, {}};
        const Status stored = StoreField(field, value, cmd);
        if (stored != Status::Ok)
            return {stored, value};
        seen[int(field)] = true;
        if (prefix) {
            seen[int(Field::Mask)] = true;
            maskFromPrefix = true;
        }
    }
    return {};
}

Result CheckAddress(const Command& c)
{
    const bool addr = !c.addr.empty(), mask = !c.mask.empty(), gw = !c.gateway.empty();
    if (c.hasMetric && (!gw || c.gateway == "none" || c.gateway == "all"))
        return {Status::BadParameter, {}};
    switch (c.verb) {
    case Verb::Set:
        if (c.source == Source::Unset)
            return {Status::MissingParameter, {}};
        if (c.source == Source::Dhcp)
            return addr || mask || gw ? Result{Status::BadParameter, {}} : Result{};
        return addr && mask ? Result{} : Result{Status::MissingParameter, {}};
    case Verb::Add:
        if (addr != mask)
            return {Status::MissingParameter, {}};
        return addr || gw ? Result{} : Result{Status::MissingParameter, {}};
    case Verb::Delete:
        return addr || gw ? Result{} : Result{Status::MissingParameter, {}};
    }
    return {};
}

Result CheckServers(const Command& c)
{
    const bool special = c.addr == "none" || c.addr == "all";
    switch (c.verb) {
    case Verb::Set:
        if (c.source == Source::Unset)
            return {Status::MissingParameter, {}};
        if (c.source == Source::Dhcp)
            return c.addr.empty() ? Result{} : Result{Status::BadParameter, {}};
        if (c.addr.empty())
            return {Status::MissingParameter, {}};
        return c.addr == "all" ? Result{Status::BadParameter, {}} : Result{};
    case Verb::Add:
        if (c.addr.empty())
            return {Status::MissingParameter, {}};
        return special ? Result{Status::BadParameter, {}} : Result{};
    case Verb::Delete:
        if (c.addr.empty())
            return {Status::MissingParameter, {}};
        return c.addr == "none" ? Result{Status::BadParameter, {}} : Result{};
    }
    return {};
}

}  // namespace

Result Parse(const std::vector<std::string>& rawArgs, Command* out)
{
    std::vector<std::string> args;
    for (const std::string& a : rawArgs) {
        if (a.find_first_not_of(" \t\r\n") != std::string::npos)
            args.push_back(a);
    }
    Words words{};
    Result r = MatchWords(args, &words);
    if (r.status != Status::Ok)
        return r;
    Command cmd;
    cmd.verb = words.verb;
    cmd.object = words.object;
    r = BindParameters(std::vector<std::string>(args.begin() + 4, args.end()), &cmd);
    if (r.status != Status::Ok)
        return r;
    if (cmd.iface.empty())
        return {Status::MissingParameter, {}};
    r = cmd.object == Object::Address ? CheckAddress(cmd) : CheckServers(cmd);
    if (r.status == Status::Ok)
        *out = cmd;
    return r;
}

}  // namespace netsh
