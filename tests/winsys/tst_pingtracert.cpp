// The Windows ping and tracert: switches, the lines Windows prints, and the
// real programs of the system folder run against 127.0.0.1 and unknown names,
// their output read in the host's console code page.
#include "hostfacts.h"
#include "oemconsole.h"
#include "pingargs.h"
#include "pingtext.h"

#include <QRegularExpression>
#include <QtTest>

#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const uint32_t kGateway = 0x0A000001; // 10.0.0.1

template <typename Options> QString Describe(const winping::Parsed<Options>& p, const QString& options)
{
    if (p.outcome == winping::Outcome::Run)
        return options;
    return p.outcome == winping::Outcome::Help ? "help" : "usage " + QString::fromStdString(p.error).trimmed();
}

winping::Answer Make(int kind, unsigned long rttUs, int code = 1)
{
    return winping::Answer{winping::Answer::Kind(kind), kGateway, 32, rttUs, 64, code};
}

// Windows console output, whole CR LF lines, against one pattern a line ("+"
// before a pattern: one or more lines).
bool Matches(const QString& text, const QStringList& patterns)
{
    QString all;
    for (const QString& pattern : patterns)
        all += pattern.startsWith('+') ? "(?:" + pattern.mid(1) + "\r\n)+" : pattern + "\r\n";
    return QRegularExpression(QRegularExpression::anchoredPattern(all)).match(text).hasMatch();
}

// Runs a program of the system folder for its standard output. With an
// engine, in a user and network namespace of its own in which this user may
// open ICMP datagram sockets (and, when deaf, 127.0.0.1 answers no echo
// request): each way of sending and the time-outs, on loopback alone,
// whatever the machine allows; exit code 77: no such namespace here. With
// interrupt, Control-C once two replies came.
int Run(const TestEnv& env, QStringList args, const QString& engine, bool deaf, bool interrupt, QByteArray* out)
{
    QProcessEnvironment variables = env.environment();
    variables.insert("WINSYS_PING_ENGINE", engine); // empty: the way the machine allows
    const QByteArray uidMap = "0 " + QByteArray::number(getuid()) + " 1",
                     gidMap = "0 " + QByteArray::number(getgid()) + " 1";
    QProcess process;
    process.setProcessEnvironment(variables);
    process.setWorkingDirectory(env.root());
    if (!engine.isEmpty())
        process.setChildProcessModifier([&] {
            const auto put = [](const char* path, const char* text) {
                const int fd = open(path, O_WRONLY);
                return fd >= 0 && write(fd, text, strlen(text)) == ssize_t(strlen(text)) && close(fd) == 0;
            };
            ifreq ifr{};
            std::strcpy(ifr.ifr_name, "lo");
            ifr.ifr_flags = IFF_UP | IFF_LOOPBACK;
            if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !put("/proc/self/setgroups", "deny") ||
                !put("/proc/self/uid_map", uidMap.constData()) || !put("/proc/self/gid_map", gidMap.constData()) ||
                !put("/proc/sys/net/ipv4/ping_group_range", "0 0") ||
                (deaf && !put("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1")) ||
                ioctl(socket(AF_INET, SOCK_DGRAM, 0), SIOCSIFFLAGS, &ifr) != 0)
                _exit(77);
        });
    process.start(TestEnv::systemDir() + "/" + args.takeFirst(), args);
    while (interrupt && process.waitForReadyRead(30000))
        if (process.peek(1 << 20).count("Reply from") >= 2)
            interrupt = ::kill(pid_t(process.processId()), SIGINT) != 0;
    process.waitForFinished(60000);
    *out = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestPingTracert : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_Env;

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void parse_data()
    {
        Columns<QString, QString>({"line", "parsed"});
        const QString n = "usage Bad value for option -n, valid range is from 1 to 4294967295.";
        Row("defaults", "ping host", "host t0 a0 n4 l32 i128 w4000");
        Row("utility page", "ping -t -a -n 1 h", "h t1 a1 n1 l32 i128 w4000");
        Row("target first", "ping h -l 0 -i 1 -w 1", "h t0 a0 n4 l0 i1 w1");
        Row("largest values", "ping -n 4294967295 -l 65500 -i 255 h", "h t0 a0 n4294967295 l65500 i255 w4000");
        Row("no target", "ping -t", "usage ");
        Row("unknown switch", "ping -f h", "usage ");
        Row("count zero", "ping -n 0 h", n);
        Row("count missing", "ping h -n", "usage Value must be supplied for option -n.");
        Row("tracert defaults", "tracert host", "host d0 h30 w4000");
        Row("tracert hops zero", "tracert -h 0 h",
            "usage Bad value for option -h, valid range is from 1 to 4294967295.");
        Row("tracert, ping switch", "tracert -t h", "usage ");
        Row("tracert help", "tracert /?", "help");
    }
    void parse()
    {
        QFETCH(QString, line);
        QStringList words = line.split(' ');
        const bool ping = words.takeFirst() == "ping";
        std::vector<std::string> args;
        for (const QString& w : words)
            args.push_back(w.toStdString());
        const auto p = winping::ParsePing(args);
        const auto t = winping::ParseTracert(args);
        const auto& o = p.options;
        QTEST(ping ? Describe(p, QString::asprintf("%s t%d a%d n%lu l%lu i%lu w%lu", o.target.c_str(), o.endless,
                                                   o.resolve, o.count, o.size, o.ttl, o.timeoutMs))
                   : Describe(t, QString::asprintf("%s d%d h%lu w%lu", t.options.target.c_str(), !t.options.resolve,
                                                   t.options.maxHops, t.options.timeoutMs)),
              "parsed");
    }

    void pingLines_data()
    {
        using K = winping::Answer::Kind;
        Columns<int, uint, int, QString>({"kind", "rttUs", "code", "line"});
        QTest::newRow("under 1 ms") << int(K::Reply) << 999u << 0 << "Reply from 10.0.0.1: bytes=32 time<1ms TTL=64";
        QTest::newRow("whole ms") << int(K::Reply) << 12999u << 0 << "Reply from 10.0.0.1: bytes=32 time=12ms TTL=64";
        QTest::newRow("ttl expired") << int(K::TtlExpired) << 0u << 0 << "Reply from 10.0.0.1: TTL expired in transit.";
        QTest::newRow("host") << int(K::Unreachable) << 0u << 1 << "Reply from 10.0.0.1: Destination host unreachable.";
        QTest::newRow("net") << int(K::Unreachable) << 0u << 0 << "Reply from 10.0.0.1: Destination net unreachable.";
        QTest::newRow("send failed") << int(K::Failed) << 0u << 0 << "PING: transmit failed. General failure.";
    }
    void pingLines()
    {
        QFETCH(int, kind);
        QFETCH(uint, rttUs);
        QFETCH(int, code);
        QTEST(QString::fromStdString(winping::PingAnswerLine(Make(kind, rttUs, code))), "line");
    }

    void hopLines_data()
    {
        using K = winping::Answer::Kind;
        const int R = int(K::Reply), T = int(K::TimedOut), F = int(K::Failed), E = int(K::TtlExpired);
        const int U = int(K::Unreachable);
        Columns<QList<int>, QList<uint>, uint, QString>({"kinds", "times", "hop", "line"});
        QTest::newRow("three replies") << QList<int>{R, R, R} << QList<uint>{300, 14000, 106000} << 1u
                                       << "  1    <1 ms    14 ms   106 ms  gw [10.0.0.1]";
        QTest::newRow("lost, failed") << QList<int>{T, E, F} << QList<uint>{0, 12000, 0} << 5u
                                      << "  5     *       12 ms     *     gw [10.0.0.1]";
        QTest::newRow("unreachable") << QList<int>{U, U, U} << QList<uint>{2000, 2000, 2000} << 3u
                                     << "  3     2 ms     2 ms     2 ms  gw [10.0.0.1] reports: Destination host "
                                        "unreachable.";
    }
    void hopLines()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(QList<uint>, times);
        QFETCH(uint, hop);
        const winping::Answer probes[3] = {Make(kinds[0], times[0]), Make(kinds[1], times[1]),
                                           Make(kinds[2], times[2])};
        const std::string host = winping::HostText("gw", kGateway);
        QTEST(QString::fromStdString(winping::TracertHopLine(hop, probes, host)), "line");
    }

    void codePage_data()
    {
        Columns<QString, uint, QByteArray>({"text", "codePage", "bytes"});
        QTest::newRow("850 umlaut") << QString::fromUtf8("b\u00fccher") << 850u << QByteArray("b\201cher");
        QTest::newRow("850 lacks cyrillic") << QString::fromUtf8("\u043f\u0440") << 850u << QByteArray("??");
        QTest::newRow("866 cyrillic") << QString::fromUtf8("\u043f\u0440\u0438") << 866u << QByteArray("\xaf\xe0\xa8");
        QTest::newRow("932 kana") << QString::fromUtf8("\u30a2") << 932u << QByteArray("\x83\x41");
        QTest::newRow("unknown page is 850") << QString::fromUtf8("\u00fc") << 12345u << QByteArray("\x81");
        QTest::newRow("65001 is UTF-8") << QString::fromUtf8("\u00fc") << 65001u << QByteArray("\xc3\xbc");
    }
    void codePage()
    {
        QFETCH(QString, text);
        QFETCH(uint, codePage);
        QTEST(QByteArray::fromStdString(winping::ToCodePage(text.toStdString(), codePage)), "bytes");
    }

    void programs_data()
    {
        // codePage: the host's OEM code page, 0 for the sample's none (850); isolated: the engine ("deaf":
        // nothing answers), empty: not isolated; output: a pattern a line.
        Columns<QString, uint, QString, int, QString>({"command", "codePage", "isolated", "exitCode", "output"});
        const QString pinging = "\nPinging 127\\.0\\.0\\.1 with 32 bytes of data:\n";
        const QString reply = "Reply from 127\\.0\\.0\\.1: bytes=32 time(?:<1|=\\d+)ms TTL=\\d+\n";
        const auto stats = [](const QString& packets) {
            return "\nPing statistics for 127\\.0\\.0\\.1:\n    Packets: " + packets + " loss\\),";
        };
        const QString times = "\nApproximate round trip times in milli-seconds:\n"
                              "    Minimum = \\d+ms, Maximum = \\d+ms, Average = \\d+ms";
        const QString two = pinging + reply + reply + stats("Sent = 2, Received = 2, Lost = 0 \\(0%") + times;
        const QString lost =
            pinging + "Request timed out.\nRequest timed out.\n" + stats("Sent = 2, Received = 0, Lost = 2 \\(100%");
        const QString traceLost = "\nTracing route to 127\\.0\\.0\\.1 over a maximum of 2 hops\n\n"
                                  "  1     \\*        \\*        \\*     Request timed out.\n"
                                  "  2     \\*        \\*        \\*     Request timed out.\n\nTrace complete\\.";
        const QString ms = "(?: {4}<1| {2,5}\\d{1,4}) ms", hop = "\n  1" + ms + ms + ms + "  ";
        // A name with Cyrillic letters (866, not 850) and an o with stroke (850, not 866 or 437), in the
        // host's code page (whose tables codePage checks), read back a byte a character.
        const QString name = QString::fromUtf8("\u043f\u0440\u0438\u043c\u0435\u0440\u00f8");
        const auto oem = [&name](unsigned codePage) {
            return QRegularExpression::escape(QString::fromLatin1(winping::ToCodePage(name.toStdString(), codePage)));
        };

        Row("ping -a, size 0", "ping -a -n 1 -l 0 127.1", 0u, "", 0,
            "\nPinging \\S+ \\[127\\.0\\.0\\.1\\] with 0 bytes of data:\nReply from 127\\.0\\.0\\.1: bytes=0 "
            "time(?:<1|=\\d+)ms TTL=\\d+\n" +
                stats("Sent = 1, Received = 1, Lost = 0 \\(0%") + times);
        Row("ping -t, Control-C", "ping -t 127.0.0.1", 0u, "", 0,
            pinging + "+" + reply + stats("Sent = (\\d+), Received = \\1, Lost = 0 \\(0%") + times +
                "\nControl-C\n\\^C");
        Row("ping, unknown name", "ping -n 1 " + name + ".invalid", 0u, "", 1,
            "Ping request could not find host " + oem(850) + "\\.invalid\\. Please check the name and try again\\.");
        Row("tracert, names", "tracert -h 30 127.0.0.1", 0u, "", 0,
            "\nTracing route to \\S+ \\[127\\.0\\.0\\.1\\]\nover a maximum of 30 hops:\n" + hop +
                "\\S+ \\[127\\.0\\.0\\.1\\]\n\nTrace complete\\.");
        Row("tracert, unknown name", "tracert -d " + name + ".invalid", 866u, "", 1,
            "Unable to resolve target system name " + oem(866) + "\\.invalid\\.");
        Row("tracert, shell words", "tracert -h 1 -w 500 \"$(touch X)\"", 0u, "", 1,
            "Unable to resolve target system name \\$\\(touch X\\)\\.");
        Row("ping, socket", "ping -n 2 127.0.0.1", 0u, "socket", 0, two);
        Row("ping, iputils", "ping -n 2 127.0.0.1", 0u, "iputils", 0, two);
        Row("ping lost, socket", "ping -n 2 -w 200 127.0.0.1", 0u, "socket deaf", 1, lost);
        Row("tracert lost, socket", "tracert -d -h 2 -w 100 127.0.0.1", 0u, "socket deaf", 0, traceLost);
    }
    void programs()
    {
        QFETCH(QString, command);
        QFETCH(uint, codePage);
        QFETCH(QString, isolated);
        QFETCH(QString, output);
        if (codePage)
            QVERIFY(ChangeHive([&](winsys::Hive& h) {
                h.SetString("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "OEMCP",
                            std::to_string(codePage));
            }));
        QByteArray out;
        const int exitCode = Run(*m_Env, QProcess::splitCommand(command), isolated.section(' ', 0, 0),
                                 isolated.endsWith("deaf"), command.contains(" -t "), &out);
        if (exitCode == 77)
            QSKIP("no user and network namespace of our own on this machine");
        const QString text = QString::fromLatin1(out);
        QVERIFY2(Matches(text, output.split('\n')), qPrintable(text));
        QTEST(exitCode, "exitCode");
        QVERIFY(!QFile::exists(m_Env->path("X"))); // targets are never words of a shell
    }
};

QTEST_GUILESS_MAIN(TestPingTracert)
#include "tst_pingtracert.moc"
