// The lines Windows' ping and tracert print, from what came back. Pure text,
// UTF-8; the programs write it in the console code page.
#pragma once

#include "pingprobe.h"

#include <string>

namespace winping {

// ---- ping ----
// "Pinging name [address] with N bytes of data:", without a name just the address.
std::string PingBanner(const std::string& name, uint32_t address, unsigned long size);
// "Reply from ...", "Request timed out." and the rest, one per answer.
std::string PingAnswerLine(const Answer& a);
std::string PingUnknownHost(const std::string& target);

// What the statistics block counts. Like Windows, an error report (TTL
// expired, unreachable) counts as received, but only echo replies have times.
struct PingTally {
    unsigned long sent = 0, received = 0, replies = 0;
    unsigned long minMs = 0, maxMs = 0;
    unsigned long long totalMs = 0;
    void Add(const Answer& a);
};
// The statistics block, starting with its blank line; "\n" between lines.
std::string PingStatistics(uint32_t address, const PingTally& tally);

// ---- tracert ----
// "Tracing route to name [address]" and "over a maximum of N hops:" on the
// next line, or without a name "Tracing route to address over a maximum of N hops".
std::string TracertBanner(const std::string& name, uint32_t address, unsigned long maxHops);
// One hop: its number, three times ("*" for a time-out) and who answered
// (host, e.g. "name [address]"), or "Request timed out." when nobody did.
std::string TracertHopLine(unsigned long hop, const Answer (&probes)[3], const std::string& host);
std::string TracertUnknownHost(const std::string& target);

// "name [address]", or the address alone when name is empty.
std::string HostText(const std::string& name, uint32_t address);

}  // namespace winping
