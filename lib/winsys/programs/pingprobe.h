// ICMP echo requests for ping and tracert, one at a time, and the name
// lookups around them. Two ways to send them, both unprivileged on a default
// Debian: an ICMP datagram socket where the kernel allows one to this user
// (net.ipv4.ping_group_range), otherwise the packaged iputils ping, run once
// per request from its fixed path (never a shell, never PATH).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace winping {

// What came back for one echo request.
struct Answer {
    enum class Kind {
        Reply,         // echo reply from `from`
        TtlExpired,    // a router on the way dropped it
        Unreachable,   // ICMP destination unreachable, `code` says what
        TimedOut,      // nothing within the time-out
        Failed,        // could not be sent at all
    };
    Kind kind = Kind::TimedOut;
    uint32_t from = 0;            // IPv4 address, host byte order
    unsigned long bytes = 0;      // payload bytes of the reply
    unsigned long rttUs = 0;      // round trip in microseconds
    int ttl = 0;                  // TTL of the reply
    int code = 0;                 // ICMP code of an unreachable
};

class Prober {
public:
    virtual ~Prober() = default;
    // One echo request to target with that TTL and payload size; waits at
    // most timeoutMs. Returns TimedOut early when interrupted by a signal.
    virtual Answer Send(uint32_t target, int ttl, unsigned long payload, unsigned long timeoutMs) = 0;
};

// The prober WINSYS_PING_ENGINE asks for ("socket" or "iputils"), else the
// socket where allowed, else iputils. Null, with a reason in *error, when
// neither can work.
std::unique_ptr<Prober> OpenProber(std::string* error);
std::unique_ptr<Prober> OpenSocketProber(std::string* error);
std::unique_ptr<Prober> OpenIputilsProber(std::string* error);

// Reads the output of "ping -n -c 1" (iputils) for one request. elapsedUs
// stands in for the time iputils leaves out for payloads under 16 bytes.
Answer ParseIputilsOutput(const std::string& output, unsigned long elapsedUs);

// The IPv4 address of a target: dotted (also the short forms Windows takes,
// such as "127.1") or a host name. Names under ".invalid" never resolve, as
// such names must not (RFC 6761). *canonical gets the resolved name for a host
// name, stays empty for an address.
bool ResolveTarget(const std::string& target, uint32_t* address, std::string* canonical);
// The host name of an address, empty when it has none.
std::string NameOf(uint32_t address);
std::string DottedAddress(uint32_t address);

// Set by SIGINT (Control-C): the loops end after the current request.
bool Interrupted();
void CatchInterrupt();

}  // namespace winping
