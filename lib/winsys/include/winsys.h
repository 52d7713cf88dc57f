// The Windows calls netconfig makes. On Windows this is the SDK; elsewhere it
// declares the emulation in lib/winsys with the SDK's names, types and
// 64-bit structure layouts, so application code reads the same on both.
#pragma once

#ifdef _WIN32

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <lm.h>
#include <winnetwk.h>
#include <tlhelp32.h>
#include <shellapi.h>

#else  // the emulated host

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <ctime>

// ---- basic types ---------------------------------------------------------
#define WINAPI
#define APIENTRY
#define NET_API_FUNCTION
#define WINSYS_API extern "C" __attribute__((visibility("default")))

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef uintptr_t ULONG_PTR;
typedef intptr_t LONG_PTR;
typedef size_t SIZE_T;
typedef LONG LSTATUS;
typedef DWORD NET_API_STATUS;
typedef DWORD REGSAM;
typedef void VOID;

typedef BOOL* PBOOL;
typedef BYTE* PBYTE;
typedef BYTE* LPBYTE;
typedef DWORD* PDWORD;
typedef DWORD* LPDWORD;
typedef ULONG* PULONG;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef WCHAR* PWSTR;
typedef const WCHAR* LPCWSTR;
typedef const WCHAR* PCWSTR;
typedef WCHAR* LMSTR;

typedef void* HANDLE;
typedef HANDLE* PHANDLE;
typedef HANDLE* LPHANDLE;
typedef void* HLOCAL;
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define MAX_PATH 260
#define INFINITE 0xFFFFFFFFu
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01

// ---- error codes ------------------------------------------------------------
#define NO_ERROR 0L
#define ERROR_SUCCESS 0L
#define ERROR_INVALID_FUNCTION 1L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_BAD_FORMAT 11L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_BAD_LENGTH 24L
#define ERROR_NOT_DOS_DISK 26L
#define ERROR_SECTOR_NOT_FOUND 27L
#define ERROR_OUT_OF_PAPER 28L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_GEN_FAILURE 31L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_NOT_SUPPORTED 50L
#define ERROR_BAD_NETPATH 53L
#define ERROR_UNEXP_NET_ERR 59L
#define ERROR_BAD_DEV_TYPE 66L
#define ERROR_BAD_NET_NAME 67L
#define ERROR_ALREADY_ASSIGNED 85L
#define ERROR_INVALID_PASSWORD 86L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BUFFER_OVERFLOW 111L
#define ERROR_SEM_TIMEOUT 121L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_LEVEL 124L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_BUSY 170L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_NO_DATA 232L
#define ERROR_MORE_DATA 234L
#define WAIT_TIMEOUT 258L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_ADDRESS 487L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_BADDB 1009L
#define ERROR_BADKEY 1010L
#define ERROR_CANTWRITE 1013L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_NO_ASSOCIATION 1155L
#define ERROR_NOT_FOUND 1168L
#define ERROR_BAD_DEVICE 1200L
#define ERROR_CONNECTION_UNAVAIL 1201L
#define ERROR_DEVICE_ALREADY_REMEMBERED 1202L
#define ERROR_NO_NET_OR_BAD_PATH 1203L
#define ERROR_BAD_PROVIDER 1204L
#define ERROR_CANNOT_OPEN_PROFILE 1205L
#define ERROR_BAD_PROFILE 1206L
#define ERROR_EXTENDED_ERROR 1208L
#define ERROR_INVALID_COMPUTERNAME 1210L
#define ERROR_INVALID_DOMAINNAME 1212L
#define ERROR_NO_NETWORK 1222L
#define ERROR_CANCELLED 1223L
#define ERROR_NETWORK_UNREACHABLE 1231L
#define ERROR_LOGON_FAILURE 1326L
#define ERROR_NO_SUCH_DOMAIN 1355L
#define RPC_S_SERVER_UNAVAILABLE 1722L
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815L
#define ERROR_BAD_USERNAME 2202L
#define ERROR_NOT_CONNECTED 2250L
#define ERROR_OPEN_FILES 2401L
#define ERROR_DEVICE_IN_USE 2404L
#define NERR_Success 0
#define NERR_BASE 2100
#define NERR_BufTooSmall 2123
#define NERR_SetupAlreadyJoined 2691
#define NERR_SetupNotJoined 2692
#define NERR_SetupDomainController 2693
#define NERR_InvalidWorkgroupName 2695
#define STILL_ACTIVE 259L
#define WAIT_OBJECT_0 0L
#define WAIT_FAILED 0xFFFFFFFFu

// ---- kernel -------------------------------------------------------------------
#define SYNCHRONIZE 0x00100000L
#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define PROCESS_ALL_ACCESS 0x001FFFFF

#define TH32CS_SNAPHEAPLIST 0x00000001
#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPTHREAD 0x00000004
#define TH32CS_SNAPMODULE 0x00000008
#define TH32CS_SNAPALL 0x0000000F

typedef struct tagPROCESSENTRY32W {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    WCHAR szExeFile[MAX_PATH];
} PROCESSENTRY32W, *PPROCESSENTRY32W, *LPPROCESSENTRY32W;

typedef enum _COMPUTER_NAME_FORMAT {
    ComputerNameNetBIOS,
    ComputerNameDnsHostname,
    ComputerNameDnsDomain,
    ComputerNameDnsFullyQualified,
    ComputerNamePhysicalNetBIOS,
    ComputerNamePhysicalDnsHostname,
    ComputerNamePhysicalDnsDomain,
    ComputerNamePhysicalDnsFullyQualified,
    ComputerNameMax
} COMPUTER_NAME_FORMAT;
#define MAX_COMPUTERNAME_LENGTH 15

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

WINSYS_API DWORD WINAPI GetLastError(void);
WINSYS_API void WINAPI SetLastError(DWORD dwErrCode);
WINSYS_API DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                                       LPSTR lpBuffer, DWORD nSize, va_list* Arguments);
WINSYS_API HLOCAL WINAPI LocalFree(HLOCAL hMem);
WINSYS_API HANDLE WINAPI GetProcessHeap(void);
WINSYS_API SIZE_T WINAPI HeapCompact(HANDLE hHeap, DWORD dwFlags);
WINSYS_API UINT WINAPI GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize);
WINSYS_API UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);
WINSYS_API DWORD WINAPI GetLogicalDrives(void);
WINSYS_API DWORD WINAPI GetLogicalDriveStringsW(DWORD nBufferLength, LPWSTR lpBuffer);

WINSYS_API HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID);
WINSYS_API BOOL WINAPI Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);
WINSYS_API BOOL WINAPI Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);
WINSYS_API HANDLE WINAPI OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);
WINSYS_API BOOL WINAPI TerminateProcess(HANDLE hProcess, UINT uExitCode);
WINSYS_API BOOL WINAPI CloseHandle(HANDLE hObject);
WINSYS_API DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
WINSYS_API BOOL WINAPI GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
WINSYS_API DWORD WINAPI GetCurrentProcessId(void);

WINSYS_API BOOL WINAPI SetComputerNameExW(COMPUTER_NAME_FORMAT NameType, LPCWSTR lpBuffer);
WINSYS_API BOOL WINAPI SetComputerNameExA(COMPUTER_NAME_FORMAT NameType, LPCSTR lpBuffer);
WINSYS_API BOOL WINAPI GetComputerNameExW(COMPUTER_NAME_FORMAT NameType, LPWSTR lpBuffer, LPDWORD nSize);
WINSYS_API BOOL WINAPI GetComputerNameExA(COMPUTER_NAME_FORMAT NameType, LPSTR lpBuffer, LPDWORD nSize);

// ---- code pages ---------------------------------------------------------------
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

WINSYS_API int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar);

// ---- registry -----------------------------------------------------------------
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0x00000000
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002

WINSYS_API LSTATUS WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
WINSYS_API LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                        PHKEY phkResult);
WINSYS_API LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass,
                                          DWORD dwOptions, REGSAM samDesired,
                                          const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                          LPDWORD lpdwDisposition);
WINSYS_API LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                           LPBYTE lpData, LPDWORD lpcbData);
WINSYS_API LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                                         const BYTE* lpData, DWORD cbData);
WINSYS_API LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
WINSYS_API LSTATUS WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName,
                                        LPDWORD lpReserved, LPSTR lpClass, LPDWORD lpcchClass,
                                        PFILETIME lpftLastWriteTime);
WINSYS_API LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
WINSYS_API LSTATUS WINAPI RegCloseKey(HKEY hKey);

// ---- IP Helper ---------------------------------------------------------------
#define MAX_ADAPTER_DESCRIPTION_LENGTH 128
#define MAX_ADAPTER_NAME_LENGTH 256
#define MAX_ADAPTER_ADDRESS_LENGTH 8
#define MAX_ADAPTER_NAME 128
#define MAX_HOSTNAME_LEN 128
#define MAX_DOMAIN_NAME_LEN 128
#define MAX_SCOPE_ID_LEN 256
#define MIB_IF_TYPE_OTHER 1
#define MIB_IF_TYPE_ETHERNET 6
#define MIB_IF_TYPE_TOKENRING 9
#define MIB_IF_TYPE_PPP 23
#define MIB_IF_TYPE_LOOPBACK 24
#define MIB_IF_TYPE_SLIP 28
#define IF_TYPE_IEEE80211 71

typedef struct {
    char String[4 * 4];
} IP_ADDRESS_STRING, *PIP_ADDRESS_STRING, IP_MASK_STRING, *PIP_MASK_STRING;

typedef struct _IP_ADDR_STRING {
    struct _IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
} IP_ADDR_STRING, *PIP_ADDR_STRING;

typedef struct _IP_ADAPTER_INFO {
    struct _IP_ADAPTER_INFO* Next;
    DWORD ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    UINT AddressLength;
    BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
    DWORD Index;
    UINT Type;
    UINT DhcpEnabled;
    PIP_ADDR_STRING CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    BOOL HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    time_t LeaseObtained;
    time_t LeaseExpires;
} IP_ADAPTER_INFO, *PIP_ADAPTER_INFO;

typedef struct _IP_PER_ADAPTER_INFO_W2KSP1 {
    UINT AutoconfigEnabled;
    UINT AutoconfigActive;
    PIP_ADDR_STRING CurrentDnsServer;
    IP_ADDR_STRING DnsServerList;
} IP_PER_ADAPTER_INFO, *PIP_PER_ADAPTER_INFO;

typedef struct _IP_ADAPTER_INDEX_MAP {
    ULONG Index;
    WCHAR Name[MAX_ADAPTER_NAME];
} IP_ADAPTER_INDEX_MAP, *PIP_ADAPTER_INDEX_MAP;

typedef struct _IP_INTERFACE_INFO {
    LONG NumAdapters;
    IP_ADAPTER_INDEX_MAP Adapter[1];
} IP_INTERFACE_INFO, *PIP_INTERFACE_INFO;

WINSYS_API DWORD WINAPI GetAdaptersInfo(PIP_ADAPTER_INFO AdapterInfo, PULONG SizePointer);
WINSYS_API DWORD WINAPI GetPerAdapterInfo(ULONG IfIndex, PIP_PER_ADAPTER_INFO pPerAdapterInfo, PULONG pOutBufLen);
WINSYS_API DWORD WINAPI GetInterfaceInfo(PIP_INTERFACE_INFO pIfTable, PULONG dwOutBufLen);
WINSYS_API DWORD WINAPI IpReleaseAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo);
WINSYS_API DWORD WINAPI IpRenewAddress(PIP_ADAPTER_INDEX_MAP AdapterInfo);

// ---- network management (lm.h) ---------------------------------------------------
#define MAX_PREFERRED_LENGTH ((DWORD)-1)
#define NETSETUP_JOIN_DOMAIN 0x00000001
#define NETSETUP_ACCT_CREATE 0x00000002
#define NETSETUP_ACCT_DELETE 0x00000004
#define NETSETUP_WIN9X_UPGRADE 0x00000010
#define NETSETUP_DOMAIN_JOIN_IF_JOINED 0x00000020
#define NETSETUP_JOIN_UNSECURE 0x00000040

typedef struct _USE_INFO_0 {
    LMSTR ui0_local;
    LMSTR ui0_remote;
} USE_INFO_0, *PUSE_INFO_0, *LPUSE_INFO_0;

typedef enum _NETSETUP_JOIN_STATUS {
    NetSetupUnknownStatus = 0,
    NetSetupUnjoined,
    NetSetupWorkgroupName,
    NetSetupDomainName
} NETSETUP_JOIN_STATUS, *PNETSETUP_JOIN_STATUS;

WINSYS_API NET_API_STATUS NET_API_FUNCTION NetUseEnum(LMSTR UncServerName, DWORD LevelFlags, LPBYTE* BufPtr,
                                                      DWORD PreferedMaximumSize, LPDWORD EntriesRead,
                                                      LPDWORD TotalEntries, LPDWORD ResumeHandle);
WINSYS_API NET_API_STATUS NET_API_FUNCTION NetApiBufferFree(LPVOID Buffer);
WINSYS_API NET_API_STATUS NET_API_FUNCTION NetRenameMachineInDomain(LPCWSTR lpServer, LPCWSTR lpNewMachineName,
                                                                    LPCWSTR lpAccount, LPCWSTR lpPassword,
                                                                    DWORD fRenameOptions);
WINSYS_API NET_API_STATUS NET_API_FUNCTION NetGetJoinInformation(LPCWSTR lpServer, LPWSTR* lpNameBuffer,
                                                                 PNETSETUP_JOIN_STATUS BufferType);
WINSYS_API NET_API_STATUS NET_API_FUNCTION NetJoinDomain(LPCWSTR lpServer, LPCWSTR lpDomain,
                                                         LPCWSTR lpMachineAccountOU, LPCWSTR lpAccount,
                                                         LPCWSTR lpPassword, DWORD fJoinOptions);
WINSYS_API NET_API_STATUS NET_API_FUNCTION NetUnjoinDomain(LPCWSTR lpServer, LPCWSTR lpAccount,
                                                           LPCWSTR lpPassword, DWORD fUnjoinOptions);

// ---- network provider (winnetwk.h) -----------------------------------------------
#define RESOURCE_CONNECTED 0x00000001
#define RESOURCE_GLOBALNET 0x00000002
#define RESOURCE_REMEMBERED 0x00000003
#define RESOURCETYPE_ANY 0x00000000
#define RESOURCETYPE_DISK 0x00000001
#define RESOURCETYPE_PRINT 0x00000002
#define RESOURCEDISPLAYTYPE_GENERIC 0x00000000
#define RESOURCEDISPLAYTYPE_SHARE 0x00000003
#define RESOURCEUSAGE_CONNECTABLE 0x00000001
#define CONNECT_UPDATE_PROFILE 0x00000001
#define CONNECT_UPDATE_RECENT 0x00000002
#define CONNECT_TEMPORARY 0x00000004
#define CONNECT_INTERACTIVE 0x00000008

typedef struct _NETRESOURCEW {
    DWORD dwScope;
    DWORD dwType;
    DWORD dwDisplayType;
    DWORD dwUsage;
    LPWSTR lpLocalName;
    LPWSTR lpRemoteName;
    LPWSTR lpComment;
    LPWSTR lpProvider;
} NETRESOURCEW, *LPNETRESOURCEW;

WINSYS_API DWORD APIENTRY WNetAddConnection2W(LPNETRESOURCEW lpNetResource, LPCWSTR lpPassword,
                                              LPCWSTR lpUserName, DWORD dwFlags);
WINSYS_API DWORD APIENTRY WNetCancelConnection2W(LPCWSTR lpName, DWORD dwFlags, BOOL fForce);
WINSYS_API DWORD APIENTRY WNetCancelConnection2A(LPCSTR lpName, DWORD dwFlags, BOOL fForce);
WINSYS_API DWORD APIENTRY WNetGetLastErrorW(LPDWORD lpError, LPWSTR lpErrorBuf, DWORD nErrorBufSize,
                                            LPWSTR lpNameBuf, DWORD nNameBufSize);

// ---- shell (shellapi.h) -------------------------------------------------------------
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOW 5
#define SEE_MASK_DEFAULT 0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_NOASYNC 0x00000100
#define SEE_MASK_FLAG_NO_UI 0x00000400
#define SEE_MASK_UNICODE 0x00004000
#define SEE_MASK_NO_CONSOLE 0x00008000
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

typedef struct _SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    union {
        HANDLE hIcon;
        HANDLE hMonitor;
    };
    HANDLE hProcess;
} SHELLEXECUTEINFOW, *LPSHELLEXECUTEINFOW;

WINSYS_API BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo);

// The layouts must match the SDK's on 64-bit targets.
static_assert(sizeof(WCHAR) == 2, "WCHAR is one UTF-16 unit");
static_assert(sizeof(void*) != 8 || sizeof(SHELLEXECUTEINFOW) == 112, "SHELLEXECUTEINFOW layout");
static_assert(sizeof(void*) != 8 || sizeof(IP_ADAPTER_INFO) == 704, "IP_ADAPTER_INFO layout");
static_assert(sizeof(void*) != 8 || sizeof(IP_PER_ADAPTER_INFO) == 64, "IP_PER_ADAPTER_INFO layout");
static_assert(sizeof(IP_INTERFACE_INFO) == 264, "IP_INTERFACE_INFO layout");
static_assert(sizeof(void*) != 8 || sizeof(PROCESSENTRY32W) == 568, "PROCESSENTRY32W layout");

#endif  // _WIN32
