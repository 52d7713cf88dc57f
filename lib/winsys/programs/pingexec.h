// The two programs' whole runs: arguments in, Windows' console text out.
#pragma once

#include <string>
#include <vector>

namespace winping {

// Each returns the exit code: ping 0 when an echo reply came back, tracert 0
// when the trace ran; 1 for a bad command line or an unknown host.
int RunPing(const std::vector<std::string>& args);
int RunTracert(const std::vector<std::string>& args);

}  // namespace winping
