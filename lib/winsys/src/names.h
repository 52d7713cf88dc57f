// Validation of computer, workgroup and domain names as Windows applies it.
#pragma once

#include <cstdint>
#include <string>

namespace winsys {

// 0 when acceptable, else the Windows error code that refuses it.
uint32_t CheckNetbiosName(const std::string& name);
uint32_t CheckDnsHostname(const std::string& name);
uint32_t CheckDnsDomain(const std::string& name);   // the empty suffix is allowed

}  // namespace winsys
