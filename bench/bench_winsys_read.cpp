// The read benchmark of the emulation: the calls the dialog makes to read a
// host's whole configuration (the adapter list, per-adapter information and
// the registry values of every adapter), on a generated host of many
// adapters against one of few. A cold read runs in a fresh child process,
// which parses the hive as a starting program does; warm reads use the
// parsed hive the emulation keeps while the file is unchanged.
//
// Usage: bench_winsys_read [adapters] [runs]

#include <winsys.h>
#include <winsys/host.h>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kInterfaces[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const char kNetBT[] = "SYSTEM\\CurrentControlSet\\Services\\NetBT\\Parameters\\Interfaces\\Tcpip_";

bool ReadValue(const std::string& key, const char* name)
{
    HKEY h = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key.c_str(), &h) != ERROR_SUCCESS)
        return false;
    char buffer[1024];
    DWORD size = sizeof(buffer);
    RegQueryValueExA(h, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    return true;
}

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Where the time of one read went, in milliseconds.
struct Phases {
    double list = 0, perAdapter = 0, registry = 0;
};

bool ReadPerAdapter(const IP_ADAPTER_INFO& a, Phases* phases)
{
    auto start = Clock::now();
    ULONG size = 0;
    GetPerAdapterInfo(a.Index, nullptr, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || GetPerAdapterInfo(a.Index, reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.data()), &size) != 0)
        return false;
    phases->perAdapter += MsSince(start);
    start = Clock::now();
    const bool ok = ReadValue(kInterfaces + std::string(a.AdapterName), "NameServer") &&
                    ReadValue(kNetBT + std::string(a.AdapterName), "NameServerList");
    phases->registry += MsSince(start);
    return ok;
}

// Reads everything once; the number of adapters read, or -1.
int ReadAll(Phases* phases)
{
    const auto start = Clock::now();
    ULONG size = 0;
    GetAdaptersInfo(nullptr, &size);
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (size == 0 || GetAdaptersInfo(list, &size) != ERROR_SUCCESS)
        return -1;
    phases->list += MsSince(start);
    int count = 0;
    for (const IP_ADAPTER_INFO* a = list; a; a = a->Next, ++count)
        if (!ReadPerAdapter(*a, phases))
            return -1;
    ReadValue("SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", "ComputerName");
    ReadValue("SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", "NV Domain");
    return count;
}

double TimedReadMs(int* count, Phases* phases)
{
    const auto start = Clock::now();
    *count = ReadAll(phases);
    return MsSince(start);
}

// CPU time of this thread in milliseconds: on a busy machine wall time
// also counts the time other programs had the processor.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A read in a fresh child, which has not parsed the hive yet; wall time,
// and its CPU time in *cpuMs.
double ColdReadMs(int* count, double* cpuMs)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        double result[3];
        int n = 0;
        Phases unused;
        const double cpu = CpuMs();
        result[0] = TimedReadMs(&n, &unused);
        result[2] = CpuMs() - cpu;
        result[1] = n;
        _exit(write(fds[1], result, sizeof(result)) == sizeof(result) ? 0 : 1);
    }
    close(fds[1]);
    double result[3] = {-1, -1, -1};
    const bool ok = read(fds[0], result, sizeof(result)) == sizeof(result);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    *count = ok ? int(result[1]) : -1;
    *cpuMs = result[2];
    return result[0];
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Prints the cold and warm medians for a host of the given size.
bool Measure(const std::string& base, int adapters, int runs, double* coldMs)
{
    const std::string dir = base + "/host" + std::to_string(adapters);
    std::string error;
    if (!winsys::InitGeneratedHost(dir, adapters, &error)) {
        std::fprintf(stderr, "bench_winsys_read: %s\n", error.c_str());
        return false;
    }
    setenv("WINSYS_ROOT", dir.c_str(), 1);
    std::vector<double> cold, coldCpu, warm, warmCpu;
    int count = 0;
    for (int r = 0; r < runs; ++r) {
        double cpu = 0;
        cold.push_back(ColdReadMs(&count, &cpu));
        coldCpu.push_back(cpu);
        if (count != adapters) {
            std::fprintf(stderr, "bench_winsys_read: read %d of %d adapters\n", count, adapters);
            return false;
        }
    }
    Phases phases;
    TimedReadMs(&count, &phases);   // parses once in this process
    phases = Phases();
    for (int r = 0; r < runs; ++r) {
        const double cpu = CpuMs();
        warm.push_back(TimedReadMs(&count, &phases));
        warmCpu.push_back(CpuMs() - cpu);
    }
    *coldMs = Median(coldCpu);
    std::printf("  %5d adapters: cold %8.2f ms cpu (%8.2f wall)   warm %8.2f ms cpu (%8.2f wall)   hive %ld kB\n",
                adapters, *coldMs, Median(cold), Median(warmCpu), Median(warm),
                long(winsys::GeneratedHiveText(adapters).size() / 1024));
    std::printf("                  warm wall by call (mean): adapter list %.2f ms, per-adapter info %.2f ms, registry %.2f ms\n",
                phases.list / runs, phases.perAdapter / runs, phases.registry / runs);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int adapters = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    char base[] = "/tmp/bench_winsys_read.XXXXXX";
    if (!mkdtemp(base))
        return 2;
    std::printf("winsys read: adapter list + per-adapter information + registry values (median of %d runs)\n", runs);
    double small = 0, large = 0;
    const bool ok = Measure(base, 10, runs, &small) && Measure(base, adapters, runs, &large);
    if (ok)
        std::printf("  cold CPU ratio %d/10 adapters: %.2f\n", adapters, large / std::max(small, 1e-9));
    const std::string cleanup = std::string("rm -rf '") + base + "'";
    if (std::system(cleanup.c_str()) != 0)
        std::fprintf(stderr, "bench_winsys_read: could not remove %s\n", base);
    return ok ? 0 : 2;
}
