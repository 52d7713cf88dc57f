// Runs a measured command and its baseline side by side, alternating, so
// that a busy machine slows both alike, and prints the medians of wall
// time, CPU time (user + system) and peak RSS of each, and the ratio of the
// chosen figure against its limit.
//
// Usage: bench_compare [--name TEXT] [--runs N] [--metric wall|cpu|rss] [--limit X]
//                      -- [VAR=value ...] measured command ... -- [VAR=value ...] baseline command ...
// Leading VAR=value words set the environment of that command only.
// Exit code: 0 limit met, 1 limit missed, 2 a command failed or bad usage.

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Command {
    std::vector<std::string> env;
    std::vector<std::string> argv;
};

struct Sample {
    double wallMs = 0, cpuMs = 0, rssKb = 0;
};

struct Options {
    std::string name = "benchmark";
    std::string metric = "wall";
    int runs = 11;
    double limit = 0;
    Command measured, baseline;
};

double Ms(const timeval& t)
{
    return t.tv_sec * 1e3 + t.tv_usec / 1e3;
}

[[noreturn]] void ExecChild(const Command& c)
{
    for (const std::string& assignment : c.env)
        putenv(const_cast<char*>(assignment.c_str()));
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    std::vector<char*> argv;
    for (const std::string& a : c.argv)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::fprintf(stderr, "bench_compare: cannot start %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
}

// One run; false when the command could not start or did not exit with 0.
bool RunOnce(const Command& c, Sample* out)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0)
        ExecChild(c);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    out->wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    out->cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    out->rssKb = double(usage.ru_maxrss);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_compare: %s ended with status %d\n", c.argv[0].c_str(), status);
        return false;
    }
    return true;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Medians {
    double wall, cpu, rss;
    double Of(const std::string& metric) const { return metric == "cpu" ? cpu : metric == "rss" ? rss : wall; }
};

Medians MediansOf(const std::vector<Sample>& samples)
{
    std::vector<double> wall, cpu, rss;
    for (const Sample& s : samples) {
        wall.push_back(s.wallMs);
        cpu.push_back(s.cpuMs);
        rss.push_back(s.rssKb);
    }
    return {Median(wall), Median(cpu), Median(rss)};
}

Command ParseCommand(char** argv, int& i, int argc)
{
    Command c;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string word = argv[i];
        const size_t eq = word.find('=');
        if (c.argv.empty() && eq != std::string::npos && eq > 0 && word.find('/') > eq)
            c.env.push_back(word);
        else
            c.argv.push_back(word);
    }
    return c;
}

bool ParseOptions(int argc, char** argv, Options* o)
{
    int i = 1;
    for (; i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        const std::string key = argv[i];
        if (key == "--name")
            o->name = argv[i + 1];
        else if (key == "--runs")
            o->runs = std::max(1, std::atoi(argv[i + 1]));
        else if (key == "--metric")
            o->metric = argv[i + 1];
        else if (key == "--limit")
            o->limit = std::atof(argv[i + 1]);
        else
            return false;
    }
    if (i >= argc || std::strcmp(argv[i], "--") != 0)
        return false;
    ++i;
    o->measured = ParseCommand(argv, i, argc);
    ++i;
    o->baseline = ParseCommand(argv, i, argc);
    return !o->measured.argv.empty() && !o->baseline.argv.empty();
}

void PrintRow(const char* label, const Medians& m)
{
    std::printf("  %-9s wall %8.1f ms   cpu %8.1f ms   peak RSS %8.0f kB\n", label, m.wall, m.cpu, m.rss);
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseOptions(argc, argv, &o)) {
        std::fprintf(stderr, "usage: bench_compare [--name T] [--runs N] [--metric wall|cpu|rss] [--limit X]"
                             " -- measured ... -- baseline ...\n");
        return 2;
    }
    // One untimed run of each fills the page cache and any caches on disk.
    Sample warm;
    if (!RunOnce(o.measured, &warm) || !RunOnce(o.baseline, &warm))
        return 2;
    std::vector<Sample> measured(o.runs), baseline(o.runs);
    for (int r = 0; r < o.runs; ++r) {
        if (!RunOnce(o.measured, &measured[r]) || !RunOnce(o.baseline, &baseline[r]))
            return 2;
    }
    const Medians m = MediansOf(measured), b = MediansOf(baseline);
    const double ratio = m.Of(o.metric) / std::max(b.Of(o.metric), 1e-9);
    const bool met = o.limit <= 0 || ratio <= o.limit;
    std::printf("%s (median of %d alternating runs each)\n", o.name.c_str(), o.runs);
    PrintRow("measured", m);
    PrintRow("baseline", b);
    std::printf("  ratio (%s) %.2f, limit %.2f: %s\n", o.metric.c_str(), ratio, o.limit, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
