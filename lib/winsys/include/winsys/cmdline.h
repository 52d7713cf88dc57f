// Splitting a command line into arguments the way Windows programs do.
#pragma once

#include <string>
#include <vector>

namespace winsys {
std::vector<std::string> SplitCommandLine(const std::string& line);
}
