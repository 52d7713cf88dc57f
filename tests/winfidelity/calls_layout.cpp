// Structure sizes, constants and prototypes as the application relies on
// them. Sizes and offsets are the 64-bit SDK's; the constants are printed so
// that the emulation's can be compared with the SDK's value by value.
#include "calls.h"

#include <cstddef>
#include <type_traits>

namespace winfidelity {

namespace {

// The SDK's documented prototype: both builds compile only when every
// parameter and the result have the same type.
// (WINAPI is left out: a 64-bit target has a single calling convention.)
#define WF_PROTOTYPE(function, ...) static_assert(std::is_same<decltype(function), __VA_ARGS__>::value, #function)

WF_PROTOTYPE(GetAdaptersInfo, DWORD(PIP_ADAPTER_INFO, PULONG));
WF_PROTOTYPE(GetPerAdapterInfo, DWORD(ULONG, PIP_PER_ADAPTER_INFO, PULONG));
WF_PROTOTYPE(GetInterfaceInfo, DWORD(PIP_INTERFACE_INFO, PULONG));
WF_PROTOTYPE(IpReleaseAddress, DWORD(PIP_ADAPTER_INDEX_MAP));
WF_PROTOTYPE(IpRenewAddress, DWORD(PIP_ADAPTER_INDEX_MAP));
WF_PROTOTYPE(RegOpenKeyA, LSTATUS(HKEY, LPCSTR, PHKEY));
WF_PROTOTYPE(RegQueryValueExA, LSTATUS(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD));
WF_PROTOTYPE(RegSetValueExA, LSTATUS(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD));
WF_PROTOTYPE(RegCloseKey, LSTATUS(HKEY));
WF_PROTOTYPE(NetUseEnum, NET_API_STATUS(LMSTR, DWORD, LPBYTE*, DWORD, LPDWORD, LPDWORD, LPDWORD));
WF_PROTOTYPE(NetApiBufferFree, NET_API_STATUS(LPVOID));
WF_PROTOTYPE(NetRenameMachineInDomain, NET_API_STATUS(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, DWORD));
WF_PROTOTYPE(NetGetJoinInformation, NET_API_STATUS(LPCWSTR, LPWSTR*, PNETSETUP_JOIN_STATUS));
WF_PROTOTYPE(NetJoinDomain, NET_API_STATUS(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, DWORD));
WF_PROTOTYPE(NetUnjoinDomain, NET_API_STATUS(LPCWSTR, LPCWSTR, LPCWSTR, DWORD));
WF_PROTOTYPE(WNetAddConnection2W, DWORD(LPNETRESOURCEW, LPCWSTR, LPCWSTR, DWORD));
WF_PROTOTYPE(WNetCancelConnection2W, DWORD(LPCWSTR, DWORD, BOOL));
WF_PROTOTYPE(WNetGetLastErrorW, DWORD(LPDWORD, LPWSTR, DWORD, LPWSTR, DWORD));
WF_PROTOTYPE(CreateToolhelp32Snapshot, HANDLE(DWORD, DWORD));
WF_PROTOTYPE(Process32FirstW, BOOL(HANDLE, LPPROCESSENTRY32W));
WF_PROTOTYPE(Process32NextW, BOOL(HANDLE, LPPROCESSENTRY32W));
WF_PROTOTYPE(OpenProcess, HANDLE(DWORD, BOOL, DWORD));
WF_PROTOTYPE(TerminateProcess, BOOL(HANDLE, UINT));
WF_PROTOTYPE(CloseHandle, BOOL(HANDLE));
WF_PROTOTYPE(SetComputerNameExW, BOOL(COMPUTER_NAME_FORMAT, LPCWSTR));
WF_PROTOTYPE(GetComputerNameExW, BOOL(COMPUTER_NAME_FORMAT, LPWSTR, LPDWORD));
WF_PROTOTYPE(WaitForSingleObject, DWORD(HANDLE, DWORD));
WF_PROTOTYPE(GetExitCodeProcess, BOOL(HANDLE, LPDWORD));
WF_PROTOTYPE(GetLastError, DWORD());
WF_PROTOTYPE(SetLastError, void(DWORD));
WF_PROTOTYPE(GetSystemDirectoryW, UINT(LPWSTR, UINT));
WF_PROTOTYPE(ShellExecuteExW, BOOL(SHELLEXECUTEINFOW*));

// va_list carries an attribute in the SDK build that a template argument
// drops, so this one is checked by assignment, which needs the same type too.
[[maybe_unused]] DWORD (*const kFormatMessageA)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*) = &FormatMessageA;

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
#define X(name) report.Add("const." #name, 0, name, 0)
    // The constants the application uses; the SDK build prints its values.
    // clang-format off
    X(INFINITE); X(LANG_NEUTRAL); X(SUBLANG_DEFAULT); X(NO_ERROR); X(ERROR_SUCCESS); X(ERROR_FILE_NOT_FOUND);
    X(ERROR_NOT_ENOUGH_MEMORY); X(ERROR_UNEXP_NET_ERR); X(ERROR_INVALID_PARAMETER); X(ERROR_SEM_TIMEOUT);
    X(ERROR_EXTENDED_ERROR); X(ERROR_NO_NETWORK); X(ERROR_NO_SUCH_DOMAIN); X(NERR_Success); X(PROCESS_TERMINATE);
    X(TH32CS_SNAPPROCESS); X(FORMAT_MESSAGE_ALLOCATE_BUFFER); X(FORMAT_MESSAGE_IGNORE_INSERTS);
    X(FORMAT_MESSAGE_FROM_SYSTEM); X(REG_SZ); X(MAX_ADAPTER_NAME); X(MAX_PREFERRED_LENGTH); X(NETSETUP_JOIN_DOMAIN);
    X(NETSETUP_ACCT_CREATE); X(NETSETUP_JOIN_UNSECURE); X(RESOURCETYPE_DISK); X(CONNECT_UPDATE_PROFILE); X(SW_HIDE);
    X(SEE_MASK_NOCLOSEPROCESS); X(SEE_MASK_UNICODE); X(ComputerNameNetBIOS); X(ComputerNamePhysicalNetBIOS);
    X(ComputerNamePhysicalDnsDomain); X(NetSetupUnknownStatus); X(NetSetupWorkgroupName); X(NetSetupDomainName);
    X(FALSE);
    report.Add("const.MAKELANGID.NEUTRAL.DEFAULT", 0, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), 0);
    // clang-format on
#undef X
}

} // namespace winfidelity
