#include "pingexec.h"

#include "oemconsole.h"
#include "pingargs.h"
#include "pingtext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace winping {

namespace {

// Windows sends one echo request a second unless a reply takes longer.
const long kIntervalMs = 1000;

timespec Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

void SleepUntil(timespec when)
{
    while (!Interrupted() && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
    }
}

timespec Later(timespec t, long ms)
{
    t.tv_sec += ms / 1000;
    t.tv_nsec += (ms % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        ++t.tv_sec;
        t.tv_nsec -= 1000000000L;
    }
    return t;
}

bool Answered(const Answer& a)
{
    return a.kind != Answer::Kind::TimedOut && a.kind != Answer::Kind::Failed;
}

// Usage or the complaint; false when the program has nothing more to do.
template <typename Options>
bool Start(const Parsed<Options>& p, const char* usage, const ConsoleWriter& out, int* exitCode)
{
    if (p.outcome == Outcome::Run)
        return true;
    out.Text(p.error.empty() ? usage : p.error);
    *exitCode = p.outcome == Outcome::Help ? 0 : 1;
    return false;
}

std::unique_ptr<Prober> Open(const char* program)
{
    std::string error;
    std::unique_ptr<Prober> prober = OpenProber(&error);
    if (!prober)
        std::fprintf(stderr, "%s: cannot send echo requests: %s\n", program, error.c_str());
    return prober;
}

}  // namespace

int RunPing(const std::vector<std::string>& args)
{
    const Parsed<PingOptions> p = ParsePing(args);
    const PingOptions& o = p.options;
    const ConsoleWriter out(HostOemCodePage());
    int exitCode = 0;
    if (!Start(p, kPingUsage, out, &exitCode))
        return exitCode;
    uint32_t address = 0;
    std::string name;
    if (!ResolveTarget(o.target, &address, &name)) {
        out.Line(PingUnknownHost(o.target));
        return 1;
    }
    if (name.empty() && o.resolve)
        name = NameOf(address);
    const std::unique_ptr<Prober> prober = Open("ping");
    if (!prober)
        return 1;
    CatchInterrupt();

    out.Line();
    out.Line(PingBanner(name, address, o.size));
    PingTally tally;
    timespec next = Now();
    for (unsigned long i = 0; o.endless || i < o.count; ++i) {
        SleepUntil(next);
        if (Interrupted())
            break;
        next = Later(Now(), kIntervalMs);
        const Answer a = prober->Send(address, int(o.ttl), o.size, o.timeoutMs);
        if (Interrupted())
            break;   // the request cut short is not counted
        tally.Add(a);
        out.Line(PingAnswerLine(a));
    }
    out.Text(PingStatistics(address, tally));
    if (Interrupted()) {
        out.Line("Control-C");
        out.Line("^C");
    }
    return tally.replies > 0 ? 0 : 1;
}

int RunTracert(const std::vector<std::string>& args)
{
    const Parsed<TracertOptions> p = ParseTracert(args);
    const TracertOptions& o = p.options;
    const ConsoleWriter out(HostOemCodePage());
    int exitCode = 0;
    if (!Start(p, kTracertUsage, out, &exitCode))
        return exitCode;
    uint32_t address = 0;
    std::string name;
    if (!ResolveTarget(o.target, &address, &name)) {
        out.Line(TracertUnknownHost(o.target));
        return 1;
    }
    if (name.empty() && o.resolve)
        name = NameOf(address);
    const std::unique_ptr<Prober> prober = Open("tracert");
    if (!prober)
        return 1;

    out.Line();
    out.Text(TracertBanner(name, address, o.maxHops));
    out.Line();
    // The IP time-to-live has eight bits: no route is longer than 255 hops.
    const unsigned long lastHop = std::min(o.maxHops, 255UL);
    for (unsigned long hop = 1; hop <= lastHop; ++hop) {
        Answer probes[3];
        const Answer* answered = nullptr;
        for (Answer& probe : probes) {
            probe = prober->Send(address, int(hop), 32, o.timeoutMs);
            if (Answered(probe))
                answered = &probe;
        }
        const uint32_t from = answered ? answered->from : 0;
        out.Line(TracertHopLine(hop, probes, HostText(o.resolve && answered ? NameOf(from) : std::string(), from)));
        if (answered && (answered->kind == Answer::Kind::Unreachable ||
                         (answered->kind == Answer::Kind::Reply && from == address)))
            break;
    }
    out.Line();
    out.Line("Trace complete.");
    return 0;
}

}  // namespace winping
