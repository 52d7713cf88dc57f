// The dialog stays responsive while it applies: Apply runs eight netsh
// commands against an emulated netsh.exe that takes 300 ms for each, as on
// a real machine (WINSYS_NETSH_DELAY_MS), while a 1 ms timer notes when the
// event loop gets to it. The figure is the longest gap between two ticks.
//
// Usage: bench_responsiveness [delay ms] [limit ms]; exit code 1 when the
// longest gap is above the limit, 2 when the apply could not run.

#include "netconfigimpl.h"

#include <winsys/host.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// The sample host's first adapter, changed so that every phase runs: DNS 4
// commands, WINS 1, address 3.
void MakeEightCommands(CNetworkCard& card)
{
    card.m_DNSAuto = card.m_WINSAuto = card.m_DHCPEnabled = false;
    card.m_DNSServers = {CIPAddress(QStringLiteral("192.168.1.1")), CIPAddress(QStringLiteral("10.0.0.1"))};
    card.m_Gateways = {CIPAddress(QStringLiteral("192.168.1.1")), CIPAddress(QStringLiteral("192.168.1.254"))};
    card.m_SecondaryWINS = CIPAddress();
    card.m_AddressChanged = card.m_DNSChanged = card.m_WINSChanged = true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int delay = argc > 1 ? atoi(argv[1]) : 300;
    const double limit = argc > 2 ? atof(argv[2]) : 50;
    qputenv("WINSYS_NETSH_DELAY_MS", QByteArray::number(delay));
    QApplication app(argc, argv);

    QTemporaryDir dir;
    std::string error;
    if (!dir.isValid() || !winsys::InitSampleHost(dir.path().toStdString(), &error)) {
        std::fprintf(stderr, "bench_responsiveness: cannot create the sample host: %s\n", error.c_str());
        return 2;
    }
    qputenv("WINSYS_ROOT", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());

    CNetConfigImpl dialog;
    if (dialog.ReadConfiguration() != 0) {
        std::fprintf(stderr, "bench_responsiveness: the sample host cannot be read\n");
        return 2;
    }
    dialog.SelectAdapter(0);
    dialog.show();
    MakeEightCommands(dialog.Adapters()[0]);
    int commands = 0;
    QObject::connect(&dialog.Applier(), &CApplier::commandStarted, [&commands](const Command&) { ++commands; });

    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&]() {
        const qint64 now = clock.elapsed();
        longest = qMax(longest, now - last);
        last = now;
    });
    clock.start();
    ticker.start();
    dialog.ApplyClick();
    const qint64 total = clock.elapsed();
    ticker.stop();
    if (commands != 8 || dialog.Adapters()[0].HasChanges()) {
        std::fprintf(stderr, "bench_responsiveness: the apply ran %d commands and %s\n", commands,
                     dialog.Adapters()[0].HasChanges() ? "failed" : "succeeded");
        return 2;
    }
    std::printf("responsiveness: Apply with %d commands of %d ms each took %lld ms\n", commands, delay,
                static_cast<long long>(total));
    std::printf("  longest gap between two processed timer events %lld ms, limit %.0f ms: %s\n",
                static_cast<long long>(longest), limit, longest <= limit ? "met" : "MISSED");
    return longest <= limit ? 0 : 1;
}
