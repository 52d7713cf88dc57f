// The emulated Windows host: a folder holding registry.reg. For tests,
// winhost and benchmarks; the application never includes this.
#pragma once

#include <string>

namespace winsys {

std::string HostRoot();   // WINSYS_ROOT, else $XDG_DATA_HOME/netconfig/host (~/.local/share/...)
std::string HivePath(const std::string& root = HostRoot());   // root + "/registry.reg"
bool InitSampleHost(const std::string& dir, std::string* error = nullptr);
bool InitGeneratedHost(const std::string& dir, int adapters, std::string* error = nullptr);
bool EnsureDefaultHost();   // creates the sample host at HostRoot() when missing
std::string ShowHost(const std::string& dir);   // ipconfig /all style text
bool CheckHost(const std::string& dir, std::string* message);   // names the first bad line

// The text of the built-in sample hive and of a generated one.
std::string SampleHiveText();
std::string GeneratedHiveText(int adapters);

}  // namespace winsys
