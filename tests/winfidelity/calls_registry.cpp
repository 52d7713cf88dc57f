// The registry calls as the application makes them: open with RegOpenKeyA,
// read into a 1024-byte buffer without asking for the type, write a string
// with its NUL, close. The key is made first and removed at the end.
#include "calls.h"

#include <cstring>

namespace winfidelity {

namespace {

const char kKey[] = "Software\\winfidelity";
const char kValue[] = "NameServer";

LSTATUS SetString(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
}

class RegistryChecks
{
public:
    RegistryChecks(Report& report, HKEY root, const std::string& prefix)
        : m_Report(report), m_Root(root), m_Prefix(prefix)
    {
    }

    void Run();

private:
    void Add(const char* name, LSTATUS rc, unsigned long long size, bool expected, const char* why)
    {
        m_Report.Add(m_Prefix + name, rc, size, 0, expected, why);
    }
    void CheckCreate();
    void CheckStrings(HKEY key);
    void CheckOtherValues(HKEY key);

    Report& m_Report;
    HKEY m_Root;
    std::string m_Prefix;
};

void RegistryChecks::CheckCreate()
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    LSTATUS rc =
        RegCreateKeyExA(m_Root, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    Add("create", rc, disposition, rc == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY, "a new key");
    rc = RegCloseKey(key);
    Add("close", rc, 0, rc == ERROR_SUCCESS, "closing an open key");
    rc =
        RegCreateKeyExA(m_Root, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    Add("create.again", rc, disposition, rc == ERROR_SUCCESS && disposition == REG_OPENED_EXISTING_KEY,
        "the key exists");
    RegCloseKey(key);
}

void RegistryChecks::CheckStrings(HKEY key)
{
    const std::string server = "192.168.1.1";
    LSTATUS rc = SetString(key, kValue, server);
    Add("set", rc, 0, rc == ERROR_SUCCESS, "writing a string");

    char buffer[1024] = {};
    DWORD bufferSize = sizeof(buffer);
    rc = RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    Add("query", rc, bufferSize, rc == ERROR_SUCCESS && bufferSize == server.size() + 1 && server == buffer,
        "the string with its NUL");

    DWORD type = REG_NONE;
    DWORD needed = 0;
    rc = RegQueryValueExA(key, kValue, nullptr, &type, nullptr, &needed);
    Add("query.size", rc, needed, rc == ERROR_SUCCESS && needed == server.size() + 1 && type == REG_SZ,
        "size and type without data");

    char shortBuffer[4] = {};
    DWORD shortSize = sizeof(shortBuffer);
    rc = RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(shortBuffer), &shortSize);
    Add("query.small", rc, shortSize, rc == ERROR_MORE_DATA && shortSize == server.size() + 1,
        "a short buffer is told the size");

    // The application reads a value longer than its buffer as empty.
    rc = SetString(key, kValue, std::string(1500, 'x'));
    bufferSize = sizeof(buffer);
    const LSTATUS longRc =
        RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    Add("query.long", longRc, bufferSize, rc == ERROR_SUCCESS && longRc == ERROR_MORE_DATA && bufferSize == 1501,
        "a value longer than the buffer");

    rc = SetString(key, kValue, std::string());
    bufferSize = sizeof(buffer);
    const LSTATUS emptyRc =
        RegQueryValueExA(key, kValue, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    Add("query.empty", emptyRc, bufferSize, rc == ERROR_SUCCESS && emptyRc == ERROR_SUCCESS && bufferSize == 1,
        "an empty string is its NUL");
}

void RegistryChecks::CheckOtherValues(HKEY key)
{
    char buffer[1024] = {};
    DWORD bufferSize = sizeof(buffer);
    LSTATUS rc = RegQueryValueExA(key, "NoSuchValue", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    Add("query.missing", rc, 0, rc == ERROR_FILE_NOT_FOUND, "a missing value");

    // A multi-string, as NetBT keeps the WINS servers.
    const char servers[] = "10.0.0.2\0"
                           "10.0.0.3\0";
    rc = RegSetValueExA(key, "NameServerList", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(servers),
                        DWORD(sizeof(servers)));
    bufferSize = sizeof(buffer);
    const LSTATUS queryRc =
        RegQueryValueExA(key, "NameServerList", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &bufferSize);
    Add("multisz", queryRc, bufferSize,
        rc == ERROR_SUCCESS && queryRc == ERROR_SUCCESS && bufferSize == sizeof(servers) &&
            std::memcmp(buffer, servers, sizeof(servers)) == 0,
        "the strings and the final NUL");

    char name[64] = {};
    DWORD nameSize = sizeof(name);
    rc = RegEnumKeyExA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
    Add("enum.none", rc, 0, rc == ERROR_NO_MORE_ITEMS, "the key has no subkeys");
}

void RegistryChecks::Run()
{
    CheckCreate();
    HKEY key = nullptr;
    LSTATUS rc = RegOpenKeyA(m_Root, kKey, &key);
    Add("open", rc, 0, rc == ERROR_SUCCESS, "opening the key");
    if (rc != ERROR_SUCCESS)
        return;
    CheckStrings(key);
    CheckOtherValues(key);
    rc = RegCloseKey(key);
    Add("close.open", rc, 0, rc == ERROR_SUCCESS, "closing the key");

    HKEY missing = nullptr;
    rc = RegOpenKeyA(m_Root, "Software\\winfidelity\\NoSuchKey", &missing);
    Add("open.missing", rc, 0, rc == ERROR_FILE_NOT_FOUND, "a missing key");
    rc = RegDeleteKeyA(m_Root, kKey);
    Add("delete", rc, 0, rc == ERROR_SUCCESS, "deleting the key");
    rc = RegOpenKeyA(m_Root, kKey, &key);
    Add("open.deleted", rc, 0, rc == ERROR_FILE_NOT_FOUND, "the key is gone");
}

} // namespace

void CheckRegistry(Report& report, HKEY root, const std::string& prefix)
{
    RegistryChecks(report, root, prefix).Run();
}

} // namespace winfidelity
