#include "pingargs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace winping {

int RunTranslated(int argc, char** argv, Translation (*translate)(const std::vector<std::string>&),
                  const char* usage, const std::vector<std::string>& candidates)
{
    const Translation t = translate(std::vector<std::string>(argv + 1, argv + argc));
    if (t.outcome != Outcome::Run) {
        std::fputs(t.error.empty() ? usage : t.error.c_str(), stdout);
        return t.outcome == Outcome::Help ? 0 : 1;
    }
    for (const std::string& path : candidates) {
        if (::access(path.c_str(), X_OK) != 0)
            continue;
        std::vector<char*> cargv;
        const std::string name = path.substr(path.rfind('/') + 1);
        cargv.push_back(const_cast<char*>(name.c_str()));
        for (const std::string& arg : t.args)
            cargv.push_back(const_cast<char*>(arg.c_str()));
        cargv.push_back(nullptr);
        // exec, not fork: a signal to this process reaches the real program,
        // and its output goes straight to our caller unbuffered.
        ::execv(path.c_str(), cargv.data());
        std::fprintf(stderr, "%s: %s\n", path.c_str(), std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "%s: no system program to run (looked for %s)\n", argv[0], candidates.front().c_str());
    return 1;
}

}  // namespace winping
