// The Windows ping and tracert: switches, the lines Windows prints, and the
// real programs of the system folder run against 127.0.0.1 and unknown names,
// their output read in the host's console code page.
#include "oemconsole.h"
#include "pingargs.h"
#include "pingtext.h"
#include "testenv.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <winsys/hive.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <iconv.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kCodePageKey[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

uint32_t AddressOf(const char* dotted)
{
    in_addr a{};
    inet_aton(dotted, &a);
    return ntohl(a.s_addr);
}

std::vector<std::string> ToStd(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

QString Describe(const winping::Parsed<winping::PingOptions>& p)
{
    if (p.outcome != winping::Outcome::Run)
        return p.outcome == winping::Outcome::Help ? "help" : "usage " + QString::fromStdString(p.error).trimmed();
    const winping::PingOptions& o = p.options;
    return QStringLiteral("%1 t%2 a%3 n%4 l%5 i%6 w%7")
        .arg(QString::fromStdString(o.target))
        .arg(o.endless)
        .arg(o.resolve)
        .arg(o.count)
        .arg(o.size)
        .arg(o.ttl)
        .arg(o.timeoutMs);
}

QString Describe(const winping::Parsed<winping::TracertOptions>& p)
{
    if (p.outcome != winping::Outcome::Run)
        return p.outcome == winping::Outcome::Help ? "help" : "usage " + QString::fromStdString(p.error).trimmed();
    const winping::TracertOptions& o = p.options;
    return QStringLiteral("%1 d%2 h%3 w%4")
        .arg(QString::fromStdString(o.target))
        .arg(!o.resolve)
        .arg(o.maxHops)
        .arg(o.timeoutMs);
}

winping::Answer Make(winping::Answer::Kind kind, const char* from, unsigned long rttUs, int ttl = 64,
                     int code = 1)
{
    winping::Answer a;
    a.kind = kind;
    a.from = AddressOf(from);
    a.bytes = 32;
    a.rttUs = rttUs;
    a.ttl = ttl;
    a.code = code;
    return a;
}

// Decodes console output with the system's iconv, independent of the programs' own tables.
QString Decode(const QByteArray& bytes, int codePage)
{
    const iconv_t cd = iconv_open("UTF-8", QByteArray("CP" + QByteArray::number(codePage)).constData());
    if (cd == iconv_t(-1))
        return QStringLiteral("<no iconv for %1>").arg(codePage);
    QByteArray in = bytes, out(bytes.size() * 4 + 16, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = size_t(in.size()), outLeft = size_t(out.size());
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return QStringLiteral("<not code page %1: %2>").arg(codePage).arg(QString::fromLatin1(bytes.toHex()));
    out.truncate(out.size() - qsizetype(outLeft));
    return QString::fromUtf8(out);
}

bool SetOemCodePage(int codePage)
{
    return winsys::ModifyHive([&](winsys::Hive& h) -> uint32_t {
               h.SetString(kCodePageKey, "OEMCP", std::to_string(codePage));
               return 0;
           }) == 0;
}

// Lines of Windows console output: each must end in CR LF.
QStringList Lines(const QString& text, QString* problem)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.isEmpty() || !lines.last().isEmpty())
        *problem = QStringLiteral("the output does not end in CR LF");
    lines.removeLast();
    for (const QString& line : lines) {
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
            *problem = QStringLiteral("a line break other than CR LF in: ") + line;
    }
    return lines;
}

// Every line against its pattern; "+" before a pattern: one or more lines.
QString MatchLines(const QStringList& lines, const QStringList& patterns)
{
    int at = 0;
    for (const QString& pattern : patterns) {
        const bool repeated = pattern.startsWith(QLatin1Char('+'));
        const QRegularExpression re(QRegularExpression::anchoredPattern(repeated ? pattern.mid(1) : pattern));
        if (!re.isValid())
            return "bad pattern " + pattern;
        int matched = 0;
        while (at < lines.size() && re.match(lines.at(at)).hasMatch() && (repeated || matched == 0)) {
            ++at;
            ++matched;
        }
        if (matched == 0)
            return QStringLiteral("line %1 \"%2\" does not match %3").arg(at + 1).arg(lines.value(at), pattern);
    }
    if (at != lines.size())
        return QStringLiteral("unexpected line %1: \"%2\"").arg(at + 1).arg(lines.at(at));
    return {};
}

// A fresh user and network namespace in which this user may open ICMP
// datagram sockets (and, with ignoreEcho, 127.0.0.1 answers no echo
// request): the socket way and the time-outs, on loopback alone, whatever
// the machine allows. Exit code 77 from the child: no such namespace here.
int RunIsolated(const QString& program, const QStringList& args, const QByteArray& engine, bool ignoreEcho,
                QByteArray* out)
{
    QList<QByteArray> argStore{QFile::encodeName(program)};
    for (const QString& a : args)
        argStore << a.toUtf8();
    QList<QByteArray> envStore;
    for (const QString& e : QProcessEnvironment::systemEnvironment().toStringList()) {
        if (!e.startsWith(QLatin1String("WINSYS_PING_ENGINE=")))
            envStore << e.toUtf8();
    }
    envStore << "WINSYS_PING_ENGINE=" + engine;
    std::vector<char*> argv, envp;
    for (QByteArray& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const QByteArray uidMap = "0 " + QByteArray::number(getuid()) + " 1";
    const QByteArray gidMap = "0 " + QByteArray::number(getgid()) + " 1";

    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        const auto put = [](const char* path, const char* text) {
            const int fd = open(path, O_WRONLY);
            const bool ok = fd >= 0 && write(fd, text, strlen(text)) == ssize_t(strlen(text));
            if (fd >= 0)
                close(fd);
            return ok;
        };
        if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !put("/proc/self/setgroups", "deny") ||
            !put("/proc/self/uid_map", uidMap.constData()) || !put("/proc/self/gid_map", gidMap.constData()) ||
            !put("/proc/sys/net/ipv4/ping_group_range", "0 0") ||
            (ignoreEcho && !put("/proc/sys/net/ipv4/icmp_echo_ignore_all", "1")))
            _exit(77);
        ifreq ifr{};
        std::strcpy(ifr.ifr_name, "lo");
        const int s = socket(AF_INET, SOCK_DGRAM, 0);
        if (s < 0 || ioctl(s, SIOCGIFFLAGS, &ifr) != 0)
            _exit(77);
        ifr.ifr_flags |= IFF_UP;
        if (ioctl(s, SIOCSIFFLAGS, &ifr) != 0)
            _exit(77);
        close(s);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0)
            out->append(buffer, n);
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class TestPingTracert : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_Env;

private slots:
    void init()
    {
        m_Env = std::make_unique<TestEnv>();
        QVERIFY(m_Env->initSampleHost());
    }
    void cleanup() { m_Env.reset(); }

    void parsePing_data();
    void parsePing();
    void parseTracert_data();
    void parseTracert();
    void pingLines_data();
    void pingLines();
    void hopLines_data();
    void hopLines();
    void iputilsOutput_data();
    void iputilsOutput();
    void codePage_data();
    void codePage();
    void hostCodePage();
    void programs_data();
    void programs();
    void endlessPingStopsWithControlC();
    void guardedTargets_data();
    void guardedTargets();
};

void TestPingTracert::parsePing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("parsed");
    QTest::newRow("defaults") << QStringList{"host"} << "host t0 a0 n4 l32 i128 w4000";
    QTest::newRow("utility page, count 1") << QStringList{"-t", "-a", "-n", "1", "h"} << "h t1 a1 n1 l32 i128 w4000";
    QTest::newRow("utility page, count 999") << QStringList{"-n", "999", "h"} << "h t0 a0 n999 l32 i128 w4000";
    QTest::newRow("slash and capitals") << QStringList{"/N", "2", "/A", "h"} << "h t0 a1 n2 l32 i128 w4000";
    QTest::newRow("target first") << QStringList{"h", "-l", "0", "-i", "1", "-w", "1"} << "h t0 a0 n4 l0 i1 w1";
    QTest::newRow("largest values") << QStringList{"-n", "4294967295", "-l", "65500", "-i", "255", "h"}
                                    << "h t0 a0 n4294967295 l65500 i255 w4000";
    QTest::newRow("help") << QStringList{"-?"} << "help";
    QTest::newRow("no target") << QStringList{"-t"} << "usage ";
    QTest::newRow("two targets") << QStringList{"a", "b"} << "usage ";
    QTest::newRow("unknown switch") << QStringList{"-f", "h"} << "usage ";
    QTest::newRow("long switch") << QStringList{"-nn", "2", "h"} << "usage ";
    QTest::newRow("empty target") << QStringList{""} << "usage ";
    QTest::newRow("count zero") << QStringList{"-n", "0", "h"}
                                << "usage Bad value for option -n, valid range is from 1 to 4294967295.";
    QTest::newRow("count too big") << QStringList{"-n", "4294967296", "h"}
                                   << "usage Bad value for option -n, valid range is from 1 to 4294967295.";
    QTest::newRow("size too big") << QStringList{"-l", "65501", "h"}
                                  << "usage Bad value for option -l, valid range is from 0 to 65500.";
    QTest::newRow("ttl zero") << QStringList{"-i", "0", "h"}
                              << "usage Bad value for option -i, valid range is from 1 to 255.";
    QTest::newRow("signed count") << QStringList{"-n", "+4", "h"}
                                  << "usage Bad value for option -n, valid range is from 1 to 4294967295.";
    QTest::newRow("count missing") << QStringList{"h", "-n"} << "usage Value must be supplied for option -n.";
}

void TestPingTracert::parsePing()
{
    QFETCH(QStringList, args);
    QTEST(Describe(winping::ParsePing(ToStd(args))), "parsed");
}

void TestPingTracert::parseTracert_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("parsed");
    QTest::newRow("defaults") << QStringList{"host"} << "host d0 h30 w4000";
    QTest::newRow("utility page, smallest") << QStringList{"-d", "-h", "1", "-w", "1", "h"} << "h d1 h1 w1";
    QTest::newRow("utility page, largest") << QStringList{"-d", "-h", "1000", "-w", "1000", "h"}
                                           << "h d1 h1000 w1000";
    QTest::newRow("hops zero") << QStringList{"-h", "0", "h"}
                               << "usage Bad value for option -h, valid range is from 1 to 4294967295.";
    QTest::newRow("ping switch") << QStringList{"-t", "h"} << "usage ";
    QTest::newRow("dash target") << QStringList{"-"} << "- d0 h30 w4000";
    QTest::newRow("help") << QStringList{"/?"} << "help";
}

void TestPingTracert::parseTracert()
{
    QFETCH(QStringList, args);
    QTEST(Describe(winping::ParseTracert(ToStd(args))), "parsed");
}

void TestPingTracert::pingLines_data()
{
    using K = winping::Answer::Kind;
    QTest::addColumn<int>("kind");
    QTest::addColumn<uint>("rttUs");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("line");
    QTest::newRow("under a millisecond") << int(K::Reply) << 999u << 0 << "Reply from 10.0.0.1: bytes=32 time<1ms TTL=64";
    QTest::newRow("whole milliseconds") << int(K::Reply) << 12999u << 0
                                        << "Reply from 10.0.0.1: bytes=32 time=12ms TTL=64";
    QTest::newRow("time-out") << int(K::TimedOut) << 0u << 0 << "Request timed out.";
    QTest::newRow("ttl expired") << int(K::TtlExpired) << 0u << 0 << "Reply from 10.0.0.1: TTL expired in transit.";
    QTest::newRow("host unreachable") << int(K::Unreachable) << 0u << 1
                                      << "Reply from 10.0.0.1: Destination host unreachable.";
    QTest::newRow("net unreachable") << int(K::Unreachable) << 0u << 0
                                     << "Reply from 10.0.0.1: Destination net unreachable.";
    QTest::newRow("send failed") << int(K::Failed) << 0u << 0 << "PING: transmit failed. General failure.";
}

void TestPingTracert::pingLines()
{
    QFETCH(int, kind);
    QFETCH(uint, rttUs);
    QFETCH(int, code);
    const winping::Answer a = Make(winping::Answer::Kind(kind), "10.0.0.1", rttUs, 64, code);
    QTEST(QString::fromStdString(winping::PingAnswerLine(a)), "line");
}

void TestPingTracert::hopLines_data()
{
    using K = winping::Answer::Kind;
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QList<uint>>("times");
    QTest::addColumn<uint>("hop");
    QTest::addColumn<QString>("line");
    QTest::newRow("three replies") << QList<int>{int(K::Reply), int(K::Reply), int(K::Reply)}
                                   << QList<uint>{300, 14000, 106000} << 1u
                                   << "  1    <1 ms    14 ms   106 ms  gw [10.0.0.1]";
    QTest::newRow("nobody answers") << QList<int>{int(K::TimedOut), int(K::TimedOut), int(K::Failed)}
                                    << QList<uint>{0, 0, 0} << 12u
                                    << " 12     *        *        *     Request timed out.";
    QTest::newRow("one lost") << QList<int>{int(K::TimedOut), int(K::TtlExpired), int(K::TtlExpired)}
                              << QList<uint>{0, 12000, 1000} << 5u << "  5     *       12 ms     1 ms  gw [10.0.0.1]";
    QTest::newRow("unreachable") << QList<int>{int(K::Unreachable), int(K::Unreachable), int(K::Unreachable)}
                                 << QList<uint>{2000, 2000, 2000} << 3u
                                 << "  3     2 ms     2 ms     2 ms  gw [10.0.0.1] reports: Destination host "
                                    "unreachable.";
}

void TestPingTracert::hopLines()
{
    QFETCH(QList<int>, kinds);
    QFETCH(QList<uint>, times);
    QFETCH(uint, hop);
    winping::Answer probes[3];
    for (int i = 0; i < 3; ++i)
        probes[i] = Make(winping::Answer::Kind(kinds[i]), "10.0.0.1", times[i]);
    const std::string host = winping::HostText("gw", AddressOf("10.0.0.1"));
    QTEST(QString::fromStdString(winping::TracertHopLine(hop, probes, host)), "line");
}

void TestPingTracert::iputilsOutput_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("answer");   // kind from bytes ttl rtt code
    const QString banner = "PING 127.0.0.1 (127.0.0.1) 32(60) bytes of data.\n";
    QTest::newRow("reply") << banner + "40 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.051 ms\n\n--- stats\n"
                           << "reply 127.0.0.1 32 64 51 0";
    QTest::newRow("slow reply") << banner + "40 bytes from 10.1.2.3: icmp_seq=1 ttl=57 time=123 ms\n"
                                << "reply 10.1.2.3 32 57 123000 0";
    QTest::newRow("no time: elapsed") << banner + "8 bytes from 127.0.0.1: icmp_seq=1 ttl=64\n"
                                      << "reply 127.0.0.1 0 64 777 0";
    QTest::newRow("ttl exceeded") << banner + "From 10.0.0.1 icmp_seq=1 Time to live exceeded\n"
                                  << "ttl 10.0.0.1 0 0 777 0";
    QTest::newRow("port unreachable") << banner + "From 10.0.0.2 icmp_seq=1 Destination Port Unreachable\n"
                                      << "unreachable 10.0.0.2 0 0 777 3";
    QTest::newRow("nothing came") << banner + "\n--- 127.0.0.1 ping statistics ---\n" << "timeout 0.0.0.0 0 0 0 0";
    QTest::newRow("junk address") << "64 bytes from 999.1.1.1: icmp_seq=1 ttl=64 time=1 ms\n"
                                  << "timeout 0.0.0.0 0 0 0 0";
}

void TestPingTracert::iputilsOutput()
{
    QFETCH(QString, output);
    const winping::Answer a = winping::ParseIputilsOutput(output.toStdString(), 777);
    static const char* const kinds[] = {"reply", "ttl", "unreachable", "timeout", "failed"};
    const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(QLatin1String(kinds[int(a.kind)]),
                                 QString::fromStdString(winping::DottedAddress(a.from)))
                            .arg(a.bytes)
                            .arg(a.ttl)
                            .arg(a.rttUs)
                            .arg(a.code);
    QTEST(got, "answer");
}

void TestPingTracert::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("850 umlaut") << QString::fromUtf8("b\u00fccher") << 850u << QByteArray("b\x81" "cher");
    QTest::newRow("850 lacks cyrillic") << QString::fromUtf8("\u043f\u0440") << 850u << QByteArray("??");
    QTest::newRow("866 cyrillic") << QString::fromUtf8("\u043f\u0440\u0438") << 866u << QByteArray("\xaf\xe0\xa8");
    QTest::newRow("866 lacks umlaut") << QString::fromUtf8("b\u00fc") << 866u << QByteArray("b?");
    QTest::newRow("437 box") << QString::fromUtf8("\u2554\u00e9") << 437u << QByteArray("\xc9\x82");
    QTest::newRow("932 kana") << QString::fromUtf8("\u30a2") << 932u << QByteArray("\x83\x41");
    QTest::newRow("unknown page is 850") << QString::fromUtf8("\u00fc") << 12345u << QByteArray("\x81");
    QTest::newRow("65001 is UTF-8") << QString::fromUtf8("\u00fc") << 65001u << QByteArray("\xc3\xbc");
}

void TestPingTracert::codePage()
{
    QFETCH(QString, text);
    QFETCH(uint, codePage);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(winping::ToCodePage(text.toStdString(), codePage)), bytes);
}

void TestPingTracert::hostCodePage()
{
    QCOMPARE(winping::HostOemCodePage(), 850u);   // the sample host has no value
    QVERIFY(SetOemCodePage(866));
    QCOMPARE(winping::HostOemCodePage(), 866u);
    QVERIFY(SetOemCodePage(4));   // no such code page
    QCOMPARE(winping::HostOemCodePage(), 850u);
    // Text that is not UTF-8 costs one "?" a byte and nothing around it.
    QCOMPARE(winping::ToCodePage("a\xff\xc3" "b", 850), std::string("a??b"));
}

void TestPingTracert::programs_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("engine");   // empty: as the machine allows; else in a namespace of its own
    QTest::addColumn<bool>("ignoreEcho");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("patterns");

    const QString ms = "(?: {4}<1| {2,5}\\d{1,4}) ms";
    const QString hop = "  1" + ms + ms + ms + "  ";
    const QString stats = "    Packets: Sent = 2, Received = 2, Lost = 0 \\(0% loss\\),";
    const QString times = "    Minimum = \\d+ms, Maximum = \\d+ms, Average = \\d+ms";
    const QStringList pingTwo{"", "Pinging 127\\.0\\.0\\.1 with 32 bytes of data:",
                              "Reply from 127\\.0\\.0\\.1: bytes=32 time(?:<1|=\\d+)ms TTL=\\d+",
                              "Reply from 127\\.0\\.0\\.1: bytes=32 time(?:<1|=\\d+)ms TTL=\\d+", "",
                              "Ping statistics for 127\\.0\\.0\\.1:", stats,
                              "Approximate round trip times in milli-seconds:", times};
    const QStringList lost{"", "Pinging 127\\.0\\.0\\.1 with 32 bytes of data:", "Request timed out.",
                           "Request timed out.", "", "Ping statistics for 127\\.0\\.0\\.1:",
                           "    Packets: Sent = 2, Received = 0, Lost = 2 \\(100% loss\\),"};
    const QStringList traceLost{"", "Tracing route to 127\\.0\\.0\\.1 over a maximum of 2 hops", "",
                                "  1     \\*        \\*        \\*     Request timed out.",
                                "  2     \\*        \\*        \\*     Request timed out.", "", "Trace complete\\."};

    QTest::newRow("ping 850") << "ping" << QStringList{"-n", "2", "127.0.0.1"} << 850 << QByteArray() << false << 0
                              << pingTwo;
    QTest::newRow("ping -a, size 0") << "ping" << QStringList{"-a", "-n", "1", "-l", "0", "127.1"} << 850
                                     << QByteArray() << false << 0
                                     << QStringList{"", "Pinging \\S+ \\[127\\.0\\.0\\.1\\] with 0 bytes of data:",
                                                    "Reply from 127\\.0\\.0\\.1: bytes=0 time(?:<1|=\\d+)ms TTL=\\d+",
                                                    "", "Ping statistics for 127\\.0\\.0\\.1:",
                                                    "    Packets: Sent = 1, Received = 1, Lost = 0 \\(0% loss\\),",
                                                    "Approximate round trip times in milli-seconds:", times};
    QTest::newRow("ping unknown 866")
        << "ping" << QStringList{"-n", "1", QString::fromUtf8("\u043f\u0440\u0438\u043c\u0435\u0440.invalid")} << 866
        << QByteArray() << false << 1
        << QStringList{QString::fromUtf8("Ping request could not find host \u043f\u0440\u0438\u043c\u0435\u0440\\."
                                         "invalid\\. Please check the name and try again\\.")};
    QTest::newRow("tracert, names") << "tracert" << QStringList{"-h", "30", "127.0.0.1"} << 850 << QByteArray()
                                    << false << 0
                                    << QStringList{"", "Tracing route to \\S+ \\[127\\.0\\.0\\.1\\]",
                                                   "over a maximum of 30 hops:", "",
                                                   hop + "\\S+ \\[127\\.0\\.0\\.1\\]", "", "Trace complete\\."};
    QTest::newRow("tracert -d, largest") << "tracert" << QStringList{"-d", "-h", "1000", "-w", "1000", "127.0.0.1"}
                                         << 866 << QByteArray() << false << 0
                                         << QStringList{"", "Tracing route to 127\\.0\\.0\\.1 over a maximum of 1000 hops",
                                                        "", hop + "127\\.0\\.0\\.1", "", "Trace complete\\."};
    QTest::newRow("tracert unknown 866")
        << "tracert" << QStringList{"-d", QString::fromUtf8("\u043f\u0440\u0438\u043c\u0435\u0440.invalid")} << 866
        << QByteArray() << false << 1
        << QStringList{QString::fromUtf8("Unable to resolve target system name \u043f\u0440\u0438\u043c\u0435\u0440"
                                         "\\.invalid\\.")};
    QTest::newRow("ping usage") << "ping" << QStringList{"-x", "127.0.0.1"} << 850 << QByteArray() << false << 1
                                << QStringList{"", "Usage: ping .*", "+.*"};
    // Isolated runs: each way of sending, and nothing answering.
    QTest::newRow("ping, socket") << "ping" << QStringList{"-n", "2", "127.0.0.1"} << 850 << QByteArray("socket")
                                  << false << 0 << pingTwo;
    QTest::newRow("ping, iputils") << "ping" << QStringList{"-n", "2", "127.0.0.1"} << 850 << QByteArray("iputils")
                                   << false << 0 << pingTwo;
    QTest::newRow("ping lost, socket") << "ping" << QStringList{"-n", "2", "-w", "200", "127.0.0.1"} << 866
                                       << QByteArray("socket") << true << 1 << lost;
    QTest::newRow("ping lost, iputils") << "ping" << QStringList{"-n", "2", "-w", "200", "127.0.0.1"} << 866
                                        << QByteArray("iputils") << true << 1 << lost;
    QTest::newRow("tracert lost, socket") << "tracert" << QStringList{"-d", "-h", "2", "-w", "100", "127.0.0.1"}
                                          << 850 << QByteArray("socket") << true << 0 << traceLost;
    QTest::newRow("tracert lost, iputils") << "tracert" << QStringList{"-d", "-h", "2", "-w", "100", "127.0.0.1"}
                                           << 850 << QByteArray("iputils") << true << 0 << traceLost;
}

void TestPingTracert::programs()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(int, codePage);
    QFETCH(QByteArray, engine);
    QFETCH(bool, ignoreEcho);
    QFETCH(QStringList, patterns);
    QVERIFY(SetOemCodePage(codePage));
    const QString path = TestEnv::systemDir() + "/" + program;
    QByteArray out;
    int exitCode = -1;
    if (engine.isEmpty()) {
        QProcess process;
        process.setProcessEnvironment(m_Env->environment());
        process.start(path, args);
        QVERIFY(process.waitForFinished(60000));
        out = process.readAllStandardOutput();
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    } else {
        exitCode = RunIsolated(path, args, engine, ignoreEcho, &out);
        if (exitCode == 77)
            QSKIP("no user and network namespace of our own on this machine");
    }
    const QString text = Decode(out, codePage);
    QString problem;
    const QStringList lines = Lines(text, &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + "\n" + text));
    problem = MatchLines(lines, patterns);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + "\n" + text));
    QTEST(exitCode, "exitCode");
}

void TestPingTracert::endlessPingStopsWithControlC()
{
    QProcess process;
    process.setProcessEnvironment(m_Env->environment());
    process.start(TestEnv::systemDir() + "/ping", {"-t", "127.0.0.1"});
    QVERIFY(process.waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += process.readAllStandardOutput()).count("Reply from") >= 2, 30000);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(30000));
    out += process.readAllStandardOutput();
    QString problem;
    const QStringList lines = Lines(Decode(out, 850), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    problem = MatchLines(lines, {"", "Pinging 127\\.0\\.0\\.1 with 32 bytes of data:",
                                 "+Reply from 127\\.0\\.0\\.1: bytes=32 time(?:<1|=\\d+)ms TTL=\\d+", "",
                                 "Ping statistics for 127\\.0\\.0\\.1:",
                                 "    Packets: Sent = (\\d+), Received = \\1, Lost = 0 \\(0% loss\\),",
                                 "Approximate round trip times in milli-seconds:",
                                 "    Minimum = \\d+ms, Maximum = \\d+ms, Average = \\d+ms", "Control-C", "\\^C"});
    QVERIFY2(problem.isEmpty(), qPrintable(problem + "\n" + QString::fromLatin1(out)));
    QCOMPARE(process.exitCode(), 0);
}

void TestPingTracert::guardedTargets_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QString>("target");
    const QList<QPair<QString, QStringList>> programs{{"ping", {"-n", "1"}}, {"tracert", {"-h", "1", "-w", "500"}}};
    for (const auto& program : programs) {
        for (const char* target : {"-f", "--help", "127.0.0.1; touch X", "$(touch X)"})
            QTest::newRow(qPrintable(program.first + " " + target)) << program.first << program.second << target;
    }
}

void TestPingTracert::guardedTargets()
{
    QFETCH(QString, program);
    QFETCH(QStringList, switches);
    QFETCH(QString, target);
    QString out;
    QVERIFY(m_Env->runProgram(TestEnv::systemDir() + "/" + program, switches << target, &out) != 0);
    // A switch-like target is refused before anything is sent; others are
    // names to look up, never words of a shell.
    if (target.startsWith('-'))
        QVERIFY2(out.contains("Usage: " + program), qPrintable(out));
    else
        QVERIFY2(out.contains(target), qPrintable(out));
    QVERIFY(!QFile::exists(m_Env->path("X")));
}

QTEST_GUILESS_MAIN(TestPingTracert)
#include "tst_pingtracert.moc"
