// Structure sizes and offsets as the application relies on them: the 64-bit
// SDK's, so that a buffer the application sizes wrongly fails here as it
// would on Windows. (The codes the calls return are compared in their checks.)
#include "calls.h"

#include <cstddef>
#include <type_traits>

namespace winfidelity {

namespace {

// The application's own pointer type must accept the shell's function.
static_assert(std::is_same<decltype(&ShellExecuteExW), PFN_ShellExecuteExW>::value, "PFN_ShellExecuteExW");

#define WF_SIZE(type) "sizeof." #type, sizeof(type)
#define WF_OFFSET(type, field) "offsetof." #type "." #field, offsetof(type, field)

struct Layout
{
    const char* name;
    size_t actual, expected;
};

const Layout kLayouts[] = {
    {WF_SIZE(IP_ADDRESS_STRING), 16},
    {WF_SIZE(IP_ADDR_STRING), 48},
    {WF_OFFSET(IP_ADDR_STRING, IpAddress), 8},
    {WF_OFFSET(IP_ADDR_STRING, IpMask), 24},
    {WF_SIZE(IP_ADAPTER_INFO), 704},
    {WF_OFFSET(IP_ADAPTER_INFO, IpAddressList), 440},
    {WF_SIZE(IP_PER_ADAPTER_INFO), 64},
    {WF_OFFSET(IP_PER_ADAPTER_INFO, DnsServerList), 16},
    {WF_SIZE(IP_ADAPTER_INDEX_MAP), 260},
    {WF_SIZE(IP_INTERFACE_INFO), 264},
    {WF_SIZE(SHELLEXECUTEINFOW), 112},
    {WF_SIZE(PROCESSENTRY32W), 568},
    {WF_SIZE(USE_INFO_0), 16},
    {WF_SIZE(NETRESOURCEW), 48},
};

} // namespace

void CheckLayouts(Report& report)
{
    for (const Layout& layout : kLayouts)
        report.Add(layout.name, 0, layout.actual, 0, layout.actual == layout.expected);
}

} // namespace winfidelity
