// How the utility output pane copes with an endless ping left running: a
// day of one reply per second is about 86,400 lines. Appends 100,000 ping
// lines in chunks of 1,000 the way the page does (insert, then scroll to
// the bottom, then let the event loop paint) and compares the cost of the
// last chunks with the first. An append must cost in proportion to what it
// adds, so the ratio stays near 1 however much the pane already holds.
//
// Usage: bench_utility_pane [lines] [chunk]; exit code 1 when the last
// chunks cost more than kMaxRatio times the first ones.

#include "logtextpane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBrowser>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kMaxRatio = 3.0;
constexpr int kSampleChunks = 10;

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
    const int lines = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int chunk = argc > 2 ? std::max(1, atoi(argv[2])) : 1000;

    QTextBrowser pane;
    PrepareLogPane(&pane);
    pane.resize(600, 400);
    pane.show();
    AppendLogText(&pane, QStringLiteral("<font color=\"darkgreen\">Running ping -t 127.0.0.1.</font>\r\n"));

    std::vector<double> costs;
    QElapsedTimer total;
    total.start();
    for (int done = 0; done < lines; done += chunk) {
        const QString text = PingLines(done, std::min(chunk, lines - done));
        QElapsedTimer timer;
        timer.start();
        AppendLogText(&pane, text);
        pane.verticalScrollBar()->setValue(pane.verticalScrollBar()->maximum());
        QApplication::processEvents();
        costs.push_back(timer.nsecsElapsed() / 1e6);
    }

    const int sample = std::min<int>(kSampleChunks, int(costs.size()) / 2);
    const std::vector<double> head(costs.begin(), costs.begin() + std::max(sample, 1));
    const std::vector<double> tail(costs.end() - std::max(sample, 1), costs.end());
    const double first = Median(head), last = Median(tail);
    const double ratio = first > 0 ? last / first : 0;
    std::printf("appended %d lines in chunks of %d: %.0f ms in all\n", lines, chunk, total.nsecsElapsed() / 1e6);
    std::printf("median of the first %d chunks: %.2f ms\n", int(head.size()), first);
    std::printf("median of the last %d chunks:  %.2f ms\n", int(tail.size()), last);
    std::printf("last/first: %.2f (limit %.1f)\n", ratio, kMaxRatio);
    std::printf("pane holds %d blocks\n", pane.document()->blockCount());
    return ratio <= kMaxRatio ? 0 : 1;
}
