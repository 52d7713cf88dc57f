// The utility output pane under an endless ping: 1,000,000 lines appended
// the way the page does it (a chunk, scroll to the bottom, let the event
// loop paint). The pane keeps its scrollback of 10,000 lines, so
//  - memory: the peak RSS stays within kMaxGrowthKb of the empty pane's;
//  - time: appending 10,000 lines costs the same at the end as at the start
//    (the median of the last kSamples blocks of 10,000 lines against the
//    first ones, at most kMaxRatio times);
//  - Clear gives the memory back: the RSS afterwards is within kMaxClearedKb
//    of the empty pane's.
//
// Usage: bench_pane_scrollback [lines] [chunk]; exit code 1 when a target
// is missed.

#include "logtextpane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr long kMaxGrowthKb = 20 * 1024;
constexpr long kMaxClearedKb = 5 * 1024;
constexpr double kMaxRatio = 2.0;
constexpr int kBlockLines = 10000;
constexpr int kSamples = 5;

long StatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// From here on VmHWM is the peak since now (Linux 4.0 and later).
bool ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

QString PingLines(int first, int count)
{
    QString text;
    for (int i = first; i < first + count; ++i)
        text += QStringLiteral("Reply from 127.0.0.1: bytes=32 time<1ms TTL=128 seq=%1\r\n").arg(i);
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::max(kBlockLines, atoi(argv[1])) : 1000000;
    const int chunk = argc > 2 ? std::clamp(atoi(argv[2]), 1, kBlockLines) : 1000;

    QTextBrowser pane;
    PrepareLogPane(&pane);
    pane.resize(600, 400);
    pane.show();
    AppendLogText(&pane, QStringLiteral("<font color=\"darkgreen\">Running ping -t 127.0.0.1.</font>\r\n"));
    QApplication::processEvents();
    const bool peakReset = ResetPeak();
    const long emptyKb = StatusKb("VmRSS:");

    std::vector<double> blockMs;
    double blockSoFar = 0;
    QElapsedTimer total;
    total.start();
    for (int done = 0; done < lines; done += chunk) {
        const QString text = PingLines(done, std::min(chunk, lines - done));
        QElapsedTimer timer;
        timer.start();
        AppendLogText(&pane, text);
        pane.verticalScrollBar()->setValue(pane.verticalScrollBar()->maximum());
        QApplication::processEvents();
        blockSoFar += timer.nsecsElapsed() / 1e6;
        if ((done + chunk) % kBlockLines == 0) {
            blockMs.push_back(blockSoFar);
            blockSoFar = 0;
        }
    }
    const double totalMs = total.nsecsElapsed() / 1e6;
    const long peakKb = peakReset ? StatusKb("VmHWM:") : -1;
    const long fullKb = StatusKb("VmRSS:");
    const int kept = pane.document()->blockCount();

    ClearLogPane(&pane);
    QApplication::processEvents();
    const long clearedKb = StatusKb("VmRSS:");

    const int sample = std::min<int>(kSamples, int(blockMs.size()) / 2);
    const double first = Median({blockMs.begin(), blockMs.begin() + std::max(sample, 1)});
    const double last = Median({blockMs.end() - std::max(sample, 1), blockMs.end()});
    const double ratio = first > 0 ? last / first : 0;
    const long growth = peakKb - emptyKb;
    std::printf("appended %d lines in chunks of %d: %.0f ms in all; the pane holds %d blocks\n", lines, chunk, totalMs,
                kept);
    std::printf("time per %d lines: first %d blocks %.1f ms, last %d blocks %.1f ms (median)\n", kBlockLines, sample,
                first, sample, last);
    std::printf("last/first: %.2f (limit %.1f)\n", ratio, kMaxRatio);
    std::printf("RSS: empty pane %ld kB, peak %ld kB, at the end %ld kB, after Clear %ld kB\n", emptyKb, peakKb, fullKb,
                clearedKb);
    std::printf("peak growth: %ld kB (limit %ld kB)\n", growth, kMaxGrowthKb);
    std::printf("left after Clear: %ld kB (limit %ld kB)\n", clearedKb - emptyKb, kMaxClearedKb);
    if (!peakReset || emptyKb < 0 || peakKb < 0) {
        std::printf("cannot read the peak RSS\n");
        return 2;
    }
    return ratio <= kMaxRatio && growth <= kMaxGrowthKb && clearedKb - emptyKb <= kMaxClearedKb ? 0 : 1;
}
