#include "pingprobe.h"

#include "pingargs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/errqueue.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace winping {

namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnInterrupt(int)
{
    g_interrupted = 1;
}

uint64_t NowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000000u + uint64_t(ts.tv_nsec) / 1000u;
}

// Windows fills the payload with the letters a to w, over and over.
void FillPayload(unsigned char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = static_cast<unsigned char>('a' + i % 23);
}

// ---- ICMP datagram socket ----------------------------------------------

class SocketProber : public Prober {
public:
    explicit SocketProber(int fd) : m_Fd(fd), m_Buffer(65536) {}
    ~SocketProber() override { ::close(m_Fd); }

    Answer Send(uint32_t target, int ttl, unsigned long payload, unsigned long timeoutMs) override
    {
        Answer a;
        const uint16_t seq = ++m_Seq;
        DrainErrors(0, 0, nullptr);   // late errors of earlier requests
        ::setsockopt(m_Fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
        std::vector<unsigned char> packet(sizeof(icmphdr) + payload);
        icmphdr header{};
        header.type = ICMP_ECHO;   // the kernel sets the identifier and the checksum
        header.un.echo.sequence = htons(seq);
        std::memcpy(packet.data(), &header, sizeof header);
        FillPayload(packet.data() + sizeof header, payload);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(target);
        const uint64_t sent = NowUs();
        if (::sendto(m_Fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
            a.kind = Answer::Kind::Failed;
            return a;
        }
        const uint64_t deadline = sent + uint64_t(timeoutMs) * 1000u;
        for (;;) {
            const uint64_t now = NowUs();
            if (now >= deadline || g_interrupted)
                return Answer{};
            pollfd p{m_Fd, POLLIN, 0};
            const uint64_t leftMs = std::min<uint64_t>((deadline - now + 999) / 1000, INT_MAX);
            const int ready = ::poll(&p, 1, int(leftMs));
            if (ready < 0 && errno != EINTR) {
                a.kind = Answer::Kind::Failed;
                return a;
            }
            if (ready <= 0)
                continue;
            if ((p.revents & POLLERR) && DrainErrors(seq, sent, &a))
                return a;
            if ((p.revents & POLLIN) && TakeReply(seq, sent, &a))
                return a;
        }
    }

private:
    // Reads the error queue empty; true when one entry answers request seq.
    bool DrainErrors(uint16_t seq, uint64_t sent, Answer* a)
    {
        bool found = false;
        for (;;) {
            char control[512];
            sockaddr_in from{};
            iovec iov{m_Buffer.data(), m_Buffer.size()};
            msghdr m{};
            m.msg_name = &from;
            m.msg_namelen = sizeof from;
            m.msg_iov = &iov;
            m.msg_iovlen = 1;
            m.msg_control = control;
            m.msg_controllen = sizeof control;
            const ssize_t n = ::recvmsg(m_Fd, &m, MSG_ERRQUEUE | MSG_DONTWAIT);
            if (n < 0)
                return found;
            // The entry carries the start of the request it answers.
            icmphdr original{};
            if (!a || found || size_t(n) < sizeof original)
                continue;
            std::memcpy(&original, m_Buffer.data(), sizeof original);
            if (ntohs(original.un.echo.sequence) != seq)
                continue;
            for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c)) {
                if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
                    continue;
                sock_extended_err ee{};
                std::memcpy(&ee, CMSG_DATA(c), sizeof ee);
                found = true;
                *a = Answer{};
                a->rttUs = static_cast<unsigned long>(NowUs() - sent);
                if (ee.ee_origin != SO_EE_ORIGIN_ICMP) {
                    a->kind = Answer::Kind::Failed;
                    break;
                }
                sockaddr_in offender{};
                std::memcpy(&offender, SO_EE_OFFENDER(reinterpret_cast<sock_extended_err*>(CMSG_DATA(c))),
                            sizeof offender);
                a->from = ntohl(offender.sin_addr.s_addr);
                a->code = ee.ee_code;
                a->kind = ee.ee_type == ICMP_TIME_EXCEEDED ? Answer::Kind::TtlExpired : Answer::Kind::Unreachable;
                break;
            }
        }
    }

    bool TakeReply(uint16_t seq, uint64_t sent, Answer* a)
    {
        for (;;) {
            char control[512];
            sockaddr_in from{};
            iovec iov{m_Buffer.data(), m_Buffer.size()};
            msghdr m{};
            m.msg_name = &from;
            m.msg_namelen = sizeof from;
            m.msg_iov = &iov;
            m.msg_iovlen = 1;
            m.msg_control = control;
            m.msg_controllen = sizeof control;
            const ssize_t n = ::recvmsg(m_Fd, &m, MSG_DONTWAIT);
            if (n < 0 && errno == EAGAIN)
                return false;
            icmphdr reply{};
            if (n < ssize_t(sizeof reply))
                continue;   // a pending socket error, or a runt
            std::memcpy(&reply, m_Buffer.data(), sizeof reply);
            if (reply.type != ICMP_ECHOREPLY || ntohs(reply.un.echo.sequence) != seq)
                continue;   // a late reply to an earlier request
            *a = Answer{};
            a->kind = Answer::Kind::Reply;
            a->rttUs = static_cast<unsigned long>(NowUs() - sent);
            a->from = ntohl(from.sin_addr.s_addr);
            a->bytes = static_cast<unsigned long>(size_t(n) - sizeof reply);
            for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c)) {
                if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL)
                    std::memcpy(&a->ttl, CMSG_DATA(c), sizeof a->ttl);
            }
            return true;
        }
    }

    int m_Fd;
    uint16_t m_Seq = 0;
    std::vector<unsigned char> m_Buffer;
};

// ---- iputils ping ------------------------------------------------------

const char* const kIputilsPaths[] = {"/usr/bin/ping", "/bin/ping"};

// Runs path with args (no shell), stdout and stderr into *output; the exit
// status, or -1 when it did not run or was stopped by Control-C.
int RunCapture(const std::string& path, const std::vector<std::string>& args, std::string* output)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    char locale[] = "LC_ALL=C";
    char* envp[] = {locale, nullptr};
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        // Killed with us: a stopped ping must not leave its helper behind.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(fds[1], STDERR_FILENO);
        ::execve(path.c_str(), argv.data(), envp);
        ::_exit(127);
    }
    ::close(fds[1]);
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            output->append(buffer, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR && !g_interrupted)
            continue;
        if (n < 0)
            ::kill(pid, SIGKILL);
        break;
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (g_interrupted || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class IputilsProber : public Prober {
public:
    explicit IputilsProber(std::string path) : m_Path(std::move(path)) {}

    Answer Send(uint32_t target, int ttl, unsigned long payload, unsigned long timeoutMs) override
    {
        // -W takes seconds; beyond about 24 days iputils refuses the value.
        // Under 16 bytes iputils has no room for its time stamp and reports
        // no time, so such requests carry 16.
        const std::vector<std::string> args{"ping", "-n", "-c", "1", "-W",
            MillisecondsToSeconds(std::min(timeoutMs, 2000000000UL)), "-t", std::to_string(ttl), "-s",
            std::to_string(std::max(payload, 16UL)), "--", DottedAddress(target)};
        std::string output;
        const uint64_t started = NowUs();
        const int status = RunCapture(m_Path, args, &output);
        if (status < 0 && g_interrupted)
            return Answer{};
        Answer a = ParseIputilsOutput(output, static_cast<unsigned long>(NowUs() - started));
        // 0: a reply, 1: no reply; anything else is ping's own failure.
        if (a.kind == Answer::Kind::TimedOut && status != 1)
            a.kind = Answer::Kind::Failed;
        if (a.kind == Answer::Kind::Reply)
            a.bytes = std::min(a.bytes, payload);
        return a;
    }

private:
    std::string m_Path;
};

bool IsInvalidName(std::string name)
{
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    while (!name.empty() && name.back() == '.')
        name.pop_back();
    const std::string suffix = "invalid";
    return name == suffix ||
           (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            name[name.size() - suffix.size() - 1] == '.');
}

}  // namespace

std::unique_ptr<Prober> OpenSocketProber(std::string* error)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        *error = std::string("ICMP datagram sockets: ") + std::strerror(errno) +
                 " (net.ipv4.ping_group_range does not include this user's group)";
        return nullptr;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    return std::make_unique<SocketProber>(fd);
}

std::unique_ptr<Prober> OpenIputilsProber(std::string* error)
{
    for (const char* path : kIputilsPaths) {
        if (::access(path, X_OK) != 0)
            continue;
        // inetutils' ping takes none of the options used here.
        std::string version;
        RunCapture(path, {"ping", "-V"}, &version);
        if (version.find("iputils") == std::string::npos) {
            *error = std::string(path) + " is not iputils' ping (package iputils-ping)";
            return nullptr;
        }
        return std::make_unique<IputilsProber>(path);
    }
    *error = "no ping of the package iputils-ping in /usr/bin or /bin";
    return nullptr;
}

std::unique_ptr<Prober> OpenProber(std::string* error)
{
    const char* engine = std::getenv("WINSYS_PING_ENGINE");
    const std::string wanted = engine ? engine : "";
    if (wanted == "socket")
        return OpenSocketProber(error);
    if (wanted == "iputils")
        return OpenIputilsProber(error);
    std::string socketError;
    if (auto prober = OpenSocketProber(&socketError))
        return prober;
    auto prober = OpenIputilsProber(error);
    if (!prober)
        *error = socketError + "; " + *error;
    return prober;
}

Answer ParseIputilsOutput(const std::string& output, unsigned long elapsedUs)
{
    Answer a;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(start, end - start);
        start = end + 1;
        unsigned long bytes = 0;
        char address[16] = {};
        char text[64] = {};
        int ttl = 0;
        double ms = 0;
        in_addr parsed{};
        const int fields =
            std::sscanf(line.c_str(), "%lu bytes from %15[0-9.]: icmp_seq=%*u ttl=%d time=%lf ms", &bytes, address,
                        &ttl, &ms);
        if (fields >= 3 && ::inet_aton(address, &parsed)) {
            a.kind = Answer::Kind::Reply;
            a.from = ntohl(parsed.s_addr);
            a.bytes = bytes >= 8 ? bytes - 8 : 0;   // iputils counts the ICMP header
            a.ttl = ttl;
            a.rttUs = fields == 4 ? static_cast<unsigned long>(ms * 1000.0) : elapsedUs;
            return a;
        }
        if (std::sscanf(line.c_str(), "From %15[0-9.] icmp_seq=%*u %63[^\r\n]", address, text) == 2 &&
            ::inet_aton(address, &parsed)) {
            const std::string what = text;
            a.from = ntohl(parsed.s_addr);
            a.rttUs = elapsedUs;
            if (what.rfind("Time to live exceeded", 0) == 0) {
                a.kind = Answer::Kind::TtlExpired;
            } else {
                a.kind = Answer::Kind::Unreachable;
                a.code = what.rfind("Destination Net", 0) == 0        ? 0
                         : what.rfind("Destination Protocol", 0) == 0 ? 2
                         : what.rfind("Destination Port", 0) == 0     ? 3
                                                                      : 1;
            }
            return a;
        }
    }
    return a;
}

bool ResolveTarget(const std::string& target, uint32_t* address, std::string* canonical)
{
    canonical->clear();
    in_addr parsed{};
    // inet_aton would also take an address followed by a blank and anything.
    const bool blank = target.find_first_of(" \t\r\n\v\f") != std::string::npos;
    if (!blank && ::inet_aton(target.c_str(), &parsed)) {
        *address = ntohl(parsed.s_addr);
        return true;
    }
    if (target.empty() || IsInvalidName(target))
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(target.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    sockaddr_in first{};
    std::memcpy(&first, found->ai_addr, sizeof first);
    *address = ntohl(first.sin_addr.s_addr);
    *canonical = found->ai_canonname ? found->ai_canonname : target;
    ::freeaddrinfo(found);
    return true;
}

std::string NameOf(uint32_t address)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    char host[NI_MAXHOST] = {};
    if (::getnameinfo(reinterpret_cast<sockaddr*>(&sa), sizeof sa, host, sizeof host, nullptr, 0, NI_NAMEREQD) != 0)
        return {};
    return host;
}

std::string DottedAddress(uint32_t address)
{
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
           std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255);
}

bool Interrupted()
{
    return g_interrupted != 0;
}

void CatchInterrupt()
{
    struct sigaction sa{};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;   // no SA_RESTART: a waiting poll or read returns at once
    ::sigaction(SIGINT, &sa, nullptr);
}

}  // namespace winping
