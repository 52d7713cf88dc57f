// Where the start-up time and the memory go: walks the steps the program
// takes (application object, dialog built, configuration read, dialog
// shown and painted, closed) and prints after each the CPU time so far,
// the peak and current RSS split into anonymous and file-backed pages,
// and the mappings that grew most. Not a benchmark with a target: the
// figures explain those of bench_compare (see RESULTS.md).
//
// Usage: bench_stages [--console] [--maps N]
//   --console  stop after reading, as `netconfig /c` does
//   --maps N   list the N mappings that grew most at each step (default 6)

#include "appimages.h"
#include "baselib.h"
#include "netconfigimpl.h"

#include <QApplication>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <string>

namespace {

using Mappings = std::map<std::string, long>; // kB resident per mapped file

Mappings ResidentByMapping()
{
    Mappings result;
    std::ifstream smaps("/proc/self/smaps");
    std::string line, name = "[anon]";
    while (std::getline(smaps, line)) {
        // A mapping's header: "start-end perms offset dev inode [path]".
        const size_t dash = line.find('-');
        if (dash != std::string::npos && dash < 17 && line.find(' ') > dash) {
            const size_t path = line.find_first_of("/[", line.find(' '));
            name = path == std::string::npos ? "[anon]" : line.substr(path);
            const size_t slash = name.rfind('/');
            if (slash != std::string::npos)
                name = name.substr(slash + 1);
        } else if (line.compare(0, 4, "Rss:") == 0) {
            result[name] += std::atol(line.c_str() + 4);
        }
    }
    return result;
}

long StatusField(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(key);
    while (std::getline(status, line))
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':')
            return std::atol(line.c_str() + n + 1);
    return -1;
}

double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int g_maps = 6;
Mappings g_previous;

void Stage(const char* name)
{
    std::printf("%-14s cpu %6.1f ms  peak %6ld kB  rss %6ld kB (anon %5ld, file %6ld)\n", name, CpuMs(),
                StatusField("VmHWM"), StatusField("VmRSS"), StatusField("RssAnon"), StatusField("RssFile"));
    const Mappings now = ResidentByMapping();
    std::multimap<long, std::string> growth;
    for (const auto& [mapping, kb] : now) {
        const auto before = g_previous.find(mapping);
        const long grew = kb - (before == g_previous.end() ? 0 : before->second);
        if (grew > 0)
            growth.emplace(-grew, mapping);
    }
    int shown = 0;
    for (const auto& [grew, mapping] : growth)
        if (shown++ < g_maps)
            std::printf("    +%5ld kB %s\n", -grew, mapping.c_str());
    g_previous = now;
}

void ShowAndClose(QWidget& dialog)
{
    dialog.show();
    for (int i = 0; i < 200 && !(dialog.windowHandle() && dialog.windowHandle()->isExposed()); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
    Stage("painted");
    dialog.close();
    QApplication::processEvents();
    Stage("closed");
}

} // namespace

int main(int argc, char** argv)
{
    bool console = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--console") == 0)
            console = true;
        else if (std::strcmp(argv[i], "--maps") == 0 && i + 1 < argc)
            g_maps = std::atoi(argv[++i]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Stage("main");
    int qtArgc = 1;
    if (BaseLibInit(qtArgc, argv, 0, 0) != 0)
        return 2;
    Stage("application");
    auto* dialog = new CNetConfigImpl(nullptr, "NetConfigImpl", false, {});
    dialog->setWindowIcon(AppIcon(QStringLiteral("networks_small")));
    Stage("constructed");
    if (dialog->ReadConfiguration() != 0) {
        std::fprintf(stderr, "bench_stages: the configuration cannot be read (WINSYS_ROOT?)\n");
        return 2;
    }
    dialog->SelectAdapter(0);
    Stage("read");
    if (!console)
        ShowAndClose(*dialog);
    delete dialog;
    BaseLibDone(true);
    Stage("torn down");
    return 0;
}
