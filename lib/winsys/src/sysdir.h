#pragma once

#include <string>

namespace winsys {
std::string SystemDirectory();   // UTF-8, empty when it cannot be found
}
