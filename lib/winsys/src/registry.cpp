// The registry functions over the host's hive (8-bit names are UTF-8).
#include <winsys/hive.h>

#include "emul.h"
#include "hostfs.h"
#include "text.h"

#include <cstring>
#include <mutex>
#include <set>

using namespace winsys;

namespace {

// An opened key: a heap object holding the key's full path.
struct OpenKey {
    std::string path;
};

std::mutex g_KeysMutex;
std::set<const OpenKey*> g_Keys;

// The full path of a handle, or false for an unknown handle.
bool KeyPath(HKEY key, std::string& path)
{
    static const struct {
        HKEY key;
        const char* name;
    } predefined[] = {{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"}, {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
                      {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"}};
    for (const auto& p : predefined) {
        if (p.key == key) {
            path = p.name;
            return true;
        }
    }
    std::lock_guard<std::mutex> guard(g_KeysMutex);
    auto* k = reinterpret_cast<const OpenKey*>(key);
    if (!g_Keys.count(k))
        return false;
    path = k->path;
    return true;
}

bool IsRoot(const std::string& path)
{
    return path.find('\\') == std::string::npos;
}

HKEY NewHandle(const std::string& path)
{
    auto* k = new OpenKey{path};
    std::lock_guard<std::mutex> guard(g_KeysMutex);
    g_Keys.insert(k);
    return reinterpret_cast<HKEY>(k);
}

std::string Join(const std::string& base, LPCSTR sub)
{
    return sub && *sub ? base + "\\" + sub : base;
}

LSTATUS OpenExisting(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    std::string base;
    if (!KeyPath(hKey, base))
        return ERROR_INVALID_HANDLE;
    if (!lpSubKey || !*lpSubKey) {
        *phkResult = hKey;   // Windows hands back the same key
        return ERROR_SUCCESS;
    }
    const std::string path = Join(base, lpSubKey);
    const LSTATUS rc = ReadHive([&](const Hive& h) -> uint32_t { return h.HasKey(path) ? 0 : ERROR_FILE_NOT_FOUND; });
    if (rc == ERROR_SUCCESS)
        *phkResult = NewHandle(path);
    return rc;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    return OpenExisting(hKey, lpSubKey, phkResult);
}

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult)
{
    return OpenExisting(hKey, lpSubKey, phkResult);
}

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES,
                               PHKEY phkResult, LPDWORD lpdwDisposition)
{
    std::string base;
    if (!phkResult || !lpSubKey)
        return ERROR_INVALID_PARAMETER;
    if (!KeyPath(hKey, base))
        return ERROR_INVALID_HANDLE;
    const std::string path = Join(base, lpSubKey);
    bool existed = false;
    const LSTATUS rc = ModifyHive([&](Hive& h) -> uint32_t {
        existed = IsRoot(path) || h.HasKey(path);
        h.CreateKey(path);
        return 0;
    });
    if (rc != ERROR_SUCCESS)
        return rc;
    *phkResult = NewHandle(path);
    if (lpdwDisposition)
        *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData)
{
    std::string path;
    if (lpReserved || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    if (!KeyPath(hKey, path))
        return ERROR_INVALID_HANDLE;
    const std::string name = lpValueName ? lpValueName : "";
    return ReadHive([&](const Hive& h) -> uint32_t {
        const RegValue* v = h.GetValue(path, name);
        if (!v)
            return (IsRoot(path) || h.HasKey(path)) ? ERROR_FILE_NOT_FOUND : ERROR_BADKEY;
        if (lpType)
            *lpType = v->type;
        if (!lpcbData)
            return ERROR_SUCCESS;
        const DWORD size = DWORD(v->data.size());
        const DWORD room = *lpcbData;
        *lpcbData = size;
        if (!lpData)
            return ERROR_SUCCESS;
        if (room < size)
            return ERROR_MORE_DATA;
        std::memcpy(lpData, v->data.data(), size);
        return ERROR_SUCCESS;
    });
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                              DWORD cbData)
{
    std::string path;
    if (Reserved || (!lpData && cbData))
        return ERROR_INVALID_PARAMETER;
    if (!KeyPath(hKey, path))
        return ERROR_INVALID_HANDLE;
    RegValue v{dwType, lpData ? std::vector<uint8_t>(lpData, lpData + cbData) : std::vector<uint8_t>()};
    if ((dwType == REG_SZ || dwType == REG_EXPAND_SZ) && lpData) {
        // Stored the way the 8-bit call's caller meant it: the text up to its NUL.
        v.data.assign(lpData, lpData + ::strnlen(reinterpret_cast<const char*>(lpData), cbData));
        v.data.push_back(0);
    }
    const std::string name = lpValueName ? lpValueName : "";
    return ModifyHive([&](Hive& h) -> uint32_t {
        if (!IsRoot(path) && !h.HasKey(path))
            return ERROR_BADKEY;   // the key was deleted while open
        h.SetValue(path, name, v);
        return 0;
    });
}

LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    std::string path;
    if (!KeyPath(hKey, path))
        return ERROR_INVALID_HANDLE;
    const std::string name = lpValueName ? lpValueName : "";
    return ModifyHive([&](Hive& h) -> uint32_t { return h.DeleteValue(path, name) ? 0 : ERROR_FILE_NOT_FOUND; });
}

LSTATUS WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPSTR,
                             LPDWORD lpcchClass, PFILETIME lpftLastWriteTime)
{
    std::string path;
    if (!lpName || !lpcchName || lpReserved)
        return ERROR_INVALID_PARAMETER;
    if (!KeyPath(hKey, path))
        return ERROR_INVALID_HANDLE;
    if (lpcchClass)
        *lpcchClass = 0;
    if (lpftLastWriteTime)
        *lpftLastWriteTime = FILETIME{0, 0};
    return ReadHive([&](const Hive& h) -> uint32_t {
        const std::vector<std::string> subs = h.SubKeys(path);
        if (dwIndex >= subs.size())
            return ERROR_NO_MORE_ITEMS;
        const std::string& name = subs[dwIndex];
        if (name.size() + 1 > *lpcchName)
            return ERROR_MORE_DATA;
        std::memcpy(lpName, name.c_str(), name.size() + 1);
        *lpcchName = DWORD(name.size());
        return ERROR_SUCCESS;
    });
}

LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey)
{
    std::string base;
    if (!lpSubKey || !*lpSubKey)
        return ERROR_INVALID_PARAMETER;
    if (!KeyPath(hKey, base))
        return ERROR_INVALID_HANDLE;
    const std::string path = Join(base, lpSubKey);
    return ModifyHive([&](Hive& h) -> uint32_t {
        if (!h.HasKey(path))
            return ERROR_FILE_NOT_FOUND;
        if (!h.SubKeys(path).empty())
            return ERROR_ACCESS_DENIED;   // RegDeleteKey refuses a key with subkeys
        h.DeleteKey(path);
        return 0;
    });
}

LSTATUS WINAPI RegCloseKey(HKEY hKey)
{
    std::string path;
    if (!KeyPath(hKey, path))
        return ERROR_INVALID_HANDLE;
    auto* k = reinterpret_cast<OpenKey*>(hKey);
    std::lock_guard<std::mutex> guard(g_KeysMutex);
    if (g_Keys.erase(k))
        delete k;
    return ERROR_SUCCESS;
}
