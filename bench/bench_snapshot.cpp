// The snapshot benchmark: what the snapshot taken before an apply costs (the
// live configuration read and written as a settings file) against the whole
// console apply it protects, `netconfig /c /l` changing one adapter's
// address, on the host WINSYS_ROOT names (bench/run.sh: 1,000 adapters).
//
// Usage: bench_snapshot [runs] [limit-percent]; exit code 1 when the
// snapshot takes more than the limit (default 5) per cent of the apply, 2
// when a run failed.

#include "configreader.h"
#include "safeapply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds for writing the live state as a snapshot. The apply has read
// that state for its plan already, so reading is no part of the cost.
double SnapshotMs(const CSafeApplyStore& store)
{
    CNetworkCardList cards;
    CIdentity identity;
    if (ReadAdapterCards(cards) != 0)
        return -1;
    ReadIdentity(identity);
    QElapsedTimer timer;
    timer.start();
    return store.TakeSnapshot(cards, identity).isEmpty() ? -1 : double(timer.nsecsElapsed()) / 1e6;
}

// Milliseconds of one console apply of `file`, the state folder its own.
double ApplyMs(const QString& file, const QString& stateDir)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), stateDir);
    env.insert(QStringLiteral("NETCONFIG_SETTLE_MS"), QStringLiteral("0"));
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/netconfig"),
                  {QStringLiteral("/c"), QStringLiteral("/l"), file});
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

bool WriteChange(const QString& path, int octet)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(QStringLiteral("[Interface1]\nprotocol=10.9.%1.5\nmask=255.255.0.0\n").arg(octet).toUtf8()) > 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const double limit = argc > 2 ? atof(argv[2]) : 5.0;
    QTemporaryDir dir;
    const CSafeApplyStore store(dir.filePath(QStringLiteral("snapshots")));
    const QString change = dir.filePath(QStringLiteral("change.ini"));

    std::vector<double> snapshots, applies;
    for (int i = 0; i < runs; ++i) {
        // Each apply changes the address, so that it is never an empty plan.
        const double apply = WriteChange(change, i % 250) ? ApplyMs(change, dir.filePath(QStringLiteral("state"))) : -1;
        const double snapshot = SnapshotMs(store);
        if (apply < 0 || snapshot < 0) {
            std::fprintf(stderr, "bench_snapshot: run %d failed\n", i + 1);
            return 2;
        }
        applies.push_back(apply);
        snapshots.push_back(snapshot);
    }
    CNetworkCardList cards;
    ReadAdapterCards(cards);
    const double share = 100.0 * Median(snapshots) / Median(applies);
    std::printf("snapshot before an apply, %lld adapters (median of %d)\n", qlonglong(cards.count()), runs);
    std::printf("  snapshot %.1f ms, whole apply %.1f ms: %.1f%%, limit %.1f%%: %s\n", Median(snapshots),
                Median(applies), share, limit, share <= limit ? "met" : "MISSED");
    return share <= limit ? 0 : 1;
}
