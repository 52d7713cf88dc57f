#include "pingtext.h"

#include <algorithm>
#include <cstdio>

namespace winping {

namespace {

unsigned long Milliseconds(const Answer& a)
{
    return a.rttUs / 1000;   // whole milliseconds, as IcmpSendEcho reports them
}

std::string UnreachableText(int code)
{
    switch (code) {
    case 0: return "Destination net unreachable.";
    case 2: return "Destination protocol unreachable.";
    case 3: return "Destination port unreachable.";
    default: return "Destination host unreachable.";
    }
}

// One probe's column of a hop line: nine characters.
std::string HopTime(const Answer& a)
{
    if (a.kind == Answer::Kind::TimedOut || a.kind == Answer::Kind::Failed)
        return "     *   ";
    const unsigned long ms = Milliseconds(a);
    char field[32];
    std::snprintf(field, sizeof field, "%6s ms", ms == 0 ? "<1" : std::to_string(ms).c_str());
    return field;
}

}  // namespace

std::string HostText(const std::string& name, uint32_t address)
{
    return name.empty() ? DottedAddress(address) : name + " [" + DottedAddress(address) + "]";
}

std::string PingBanner(const std::string& name, uint32_t address, unsigned long size)
{
    return "Pinging " + HostText(name, address) + " with " + std::to_string(size) + " bytes of data:";
}

std::string PingAnswerLine(const Answer& a)
{
    const std::string from = "Reply from " + DottedAddress(a.from) + ": ";
    switch (a.kind) {
    case Answer::Kind::Reply: {
        const unsigned long ms = Milliseconds(a);
        return from + "bytes=" + std::to_string(a.bytes) + (ms == 0 ? " time<1ms" : " time=" + std::to_string(ms) + "ms") +
               " TTL=" + std::to_string(a.ttl);
    }
    case Answer::Kind::TtlExpired: return from + "TTL expired in transit.";
    case Answer::Kind::Unreachable: return from + UnreachableText(a.code);
    case Answer::Kind::TimedOut: return "Request timed out.";
    case Answer::Kind::Failed: return "PING: transmit failed. General failure.";
    }
    return {};
}

std::string PingUnknownHost(const std::string& target)
{
    return "Ping request could not find host " + target + ". Please check the name and try again.";
}

void PingTally::Add(const Answer& a)
{
    ++sent;
    if (a.kind == Answer::Kind::TimedOut || a.kind == Answer::Kind::Failed)
        return;
    ++received;
    if (a.kind != Answer::Kind::Reply)
        return;
    const unsigned long ms = Milliseconds(a);
    minMs = replies == 0 ? ms : std::min(minMs, ms);
    maxMs = replies == 0 ? ms : std::max(maxMs, ms);
    totalMs += ms;
    ++replies;
}

std::string PingStatistics(uint32_t address, const PingTally& t)
{
    const unsigned long lost = t.sent - t.received;
    const unsigned long percent = t.sent == 0 ? 0 : static_cast<unsigned long>(lost * 100ULL / t.sent);
    std::string text = "\nPing statistics for " + DottedAddress(address) + ":\n" + "    Packets: Sent = " +
                       std::to_string(t.sent) + ", Received = " + std::to_string(t.received) + ", Lost = " +
                       std::to_string(lost) + " (" + std::to_string(percent) + "% loss),";
    if (t.replies > 0) {
        text += "\nApproximate round trip times in milli-seconds:\n    Minimum = " + std::to_string(t.minMs) +
                "ms, Maximum = " + std::to_string(t.maxMs) + "ms, Average = " +
                std::to_string(t.totalMs / t.replies) + "ms";
    }
    return text;
}

std::string TracertBanner(const std::string& name, uint32_t address, unsigned long maxHops)
{
    const std::string hops = std::to_string(maxHops) + " hops";
    if (name.empty())
        return "Tracing route to " + DottedAddress(address) + " over a maximum of " + hops;
    return "Tracing route to " + HostText(name, address) + "\nover a maximum of " + hops + ":";
}

std::string TracertHopLine(unsigned long hop, const Answer (&probes)[3], const std::string& host)
{
    char number[16];
    std::snprintf(number, sizeof number, "%3lu", hop);
    std::string line = number;
    bool answered = false;
    const Answer* unreachable = nullptr;
    for (const Answer& a : probes) {
        line += HopTime(a);
        answered = answered || (a.kind != Answer::Kind::TimedOut && a.kind != Answer::Kind::Failed);
        if (a.kind == Answer::Kind::Unreachable)
            unreachable = &a;
    }
    if (!answered)
        return line + "  Request timed out.";
    line += "  " + host;
    if (unreachable)
        line += " reports: " + UnreachableText(unreachable->code);
    return line;
}

std::string TracertUnknownHost(const std::string& target)
{
    return "Unable to resolve target system name " + target + ".";
}

}  // namespace winping
