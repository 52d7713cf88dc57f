// The applying benchmark: what one netsh command costs when run the way the
// dialog applies a card (RunCommands, through the shell entry point, waiting
// for each), against starting /bin/true the same way. The queues are the
// dialog's own, for the first adapter of the sample host made static, so
// every round applies the same state again and no command fails.
//
// Usage: bench_apply [rounds] [limit]; exit code 1 when the ratio is above
// the limit, 2 when a queue failed.

#include "netconfigimpl.h"

#include <winsys/host.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

CommandList NetshQueue(const CNetworkCard& current)
{
    CNetworkCard card = current;
    card.m_DHCPEnabled = false;
    card.m_Gateways.clear();
    card.m_WINSAuto = false;
    card.m_PrimaryWINS = CIPAddress(QStringLiteral("192.168.1.2"));
    card.m_SecondaryWINS = CIPAddress();
    return BuildPhaseCommands(card, 0, Phase::WINS) + BuildPhaseCommands(card, 0, Phase::Address);
}

// Milliseconds per entry of one run of the queue, or -1 when it failed.
double PerCommand(CNetConfigImpl& dialog, const CommandList& queue)
{
    unsigned long code = 0;
    QElapsedTimer timer;
    timer.start();
    if (!dialog.RunCommands(queue, &code)) {
        std::fprintf(stderr, "bench_apply: %s failed with code %lu\n", qPrintable(queue.first().CommandLine()), code);
        return -1;
    }
    return timer.nsecsElapsed() / 1e6 / queue.count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    const double limit = argc > 2 ? atof(argv[2]) : 3.0;

    QTemporaryDir dir;
    std::string error;
    if (!dir.isValid() || !winsys::InitSampleHost(dir.path().toStdString(), &error)) {
        std::fprintf(stderr, "bench_apply: cannot create the sample host: %s\n", error.c_str());
        return 2;
    }
    qputenv("WINSYS_ROOT", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());

    CNetConfigImpl dialog;
    if (dialog.ReadConfiguration() != 0 || dialog.Adapters().isEmpty() || !dialog.HasShellExecute()) {
        std::fprintf(stderr, "bench_apply: the sample host cannot be read or the shell is missing\n");
        return 2;
    }
    const CommandList netsh = NetshQueue(dialog.Adapters().first());
    CommandList trueQueue;
    for (int i = 0; i < netsh.count(); ++i)
        trueQueue << Command{QStringLiteral("true"), {}, Phase::Address, 0};

    std::vector<double> netshCosts, trueCosts;
    // Alternating rounds, so that a busy machine slows both alike; the first
    // round of each only warms up.
    for (int r = 0; r <= rounds; ++r) {
        const double n = PerCommand(dialog, netsh);
        const double t = PerCommand(dialog, trueQueue);
        if (n < 0 || t < 0)
            return 2;
        if (r > 0) {
            netshCosts.push_back(n);
            trueCosts.push_back(t);
        }
    }
    const double n = Median(netshCosts), t = Median(trueCosts);
    const double ratio = n / t;
    std::printf("applying (median of %d rounds of %d commands each)\n", rounds, int(netsh.count()));
    for (const Command& entry : netsh)
        std::printf("  command: %s\n", qPrintable(entry.CommandLine()));
    std::printf("  netsh.exe per command   %8.2f ms\n", n);
    std::printf("  /bin/true per command   %8.2f ms\n", t);
    std::printf("  ratio %.2f, limit %.2f: %s\n", ratio, limit, ratio <= limit ? "met" : "MISSED");
    return ratio <= limit ? 0 : 1;
}
