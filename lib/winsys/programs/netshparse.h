// Parsing of netsh's "interface ip" command lines into a Command, without
// touching the host; netsh.exe, the tests and fuzzers share it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace netsh {

enum class Verb { Set, Add, Delete };
enum class Object { Address, Dns, Wins };
enum class Source { Unset, Dhcp, Static };

// Outcome of parsing or applying; each maps to one of netsh's messages.
enum class Status {
    Ok,
    CommandNotFound,    // the words do not name a command
    BadParameter,       // unknown tag, repeated tag, malformed value
    MissingParameter,   // an essential parameter is absent
    NotFound,           // interface index or object to delete does not exist
    AlreadyInList,      // a DNS or WINS server given twice
    AlreadyExists,      // an address or gateway the interface has already
    BadInterface,       // no interface has that name
    HiveError,          // the host's registry cannot be read or written
    InvalidAddress,     // detail: the offending address value
    InvalidMask,        // detail: the offending mask value
    InvalidGateway,     // detail: the offending gateway value
    DhcpAlreadyEnabled, // "set address ... dhcp" on an adapter on DHCP
};

struct Command {
    Verb verb = Verb::Set;
    Object object = Object::Address;
    std::string iface;        // interface index or connection name
    Source source = Source::Unset;
    std::string addr;         // dotted address, "none" or "all" (empty: not given)
    std::string mask;
    std::string gateway;      // dotted address, "none" or "all"
    bool hasMetric = false;
    uint32_t gwmetric = 0;
    uint32_t index = 0;       // 1-based position for add dns/wins, 0 = append
    std::string registerMode; // none, primary or both (dns only)
};

struct Result {
    Status status = Status::Ok;
    std::string detail;       // the command text for CommandNotFound, the value for Invalid*
};

// The message netsh prints for a result (empty for Ok).
std::string Message(const Result& r);

// Splits one command line the way Windows programs split theirs
// (blanks separate, double quotes group, \" is a quote).
std::vector<std::string> SplitCommandLine(const std::string& line);

// Parses netsh's arguments (without the program name).
Result Parse(const std::vector<std::string>& args, Command* out);

// Dotted-quad IPv4 text, each octet 0-255 without a sign; false otherwise.
bool ParseIPv4(const std::string& text, uint32_t* value);
std::string FormatIPv4(uint32_t value);
// A subnet mask: contiguous ones followed by zeros.
bool IsValidMask(uint32_t mask);
// "address/prefix" (CIDR) with a prefix of 1 to 32 bits.
bool ParseCidr(const std::string& text, uint32_t* address, uint32_t* mask);

}  // namespace netsh
