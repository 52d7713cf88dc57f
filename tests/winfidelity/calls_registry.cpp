// The registry calls as the application makes them (RegOpenKeyA, a 1024-byte
// read without the type, a string written with its NUL) on a scratch key.
#include "calls.h"

namespace winfidelity {

namespace {

const char kKey[] = "Software\\winfidelity";
const char kValue[] = "NameServer";

LSTATUS SetString(HKEY key, const std::string& text)
{
    return RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
}

LSTATUS Query(HKEY key, const char* name, char* buffer, DWORD* size)
{
    return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), size);
}

// Writes `text`, reads it back into a buffer of `capacity` bytes and
// expects `expectedRc` with the size told back.
void CheckRoundTrip(Report& report, const std::string& check, HKEY key, const std::string& text, DWORD capacity,
                    LSTATUS expectedRc)
{
    const LSTATUS setRc = SetString(key, text);
    char buffer[1024] = {};
    DWORD size = capacity;
    const LSTATUS rc = Query(key, kValue, buffer, &size);
    const bool same = rc != ERROR_SUCCESS || text == buffer;
    report.Add(check, rc, size, 0, setRc == ERROR_SUCCESS && rc == expectedRc && size == text.size() + 1 && same,
               "the string with its NUL, or the size it needs");
}

} // namespace

void CheckRegistry(Report& report, HKEY root, const std::string& prefix)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    for (const char* check : {"create", "create.existing"}) {
        const LSTATUS rc = RegCreateKeyExA(root, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                           &key, &disposition);
        const DWORD expected = std::string(check) == "create" ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        report.Add(prefix + check, rc, disposition, 0, rc == ERROR_SUCCESS && disposition == expected,
                   "a new key, then the same key opened");
        const LSTATUS closed = RegCloseKey(key);
        report.Add(prefix + check + ".close", closed, 0, 0, closed == ERROR_SUCCESS, "closing an open key");
    }

    LSTATUS rc = RegOpenKeyA(root, kKey, &key);
    report.Add(prefix + "open", rc, 0, 0, rc == ERROR_SUCCESS, "opening the key");
    if (rc != ERROR_SUCCESS)
        return;
    CheckRoundTrip(report, prefix + "query", key, "192.168.1.1", 1024, ERROR_SUCCESS);
    CheckRoundTrip(report, prefix + "query.exact", key, "192.168.1.1", 12, ERROR_SUCCESS);
    CheckRoundTrip(report, prefix + "query.small", key, "192.168.1.1", 4, ERROR_MORE_DATA);
    // The application reads a value longer than its buffer as empty.
    CheckRoundTrip(report, prefix + "query.long", key, std::string(1500, 'x'), 1024, ERROR_MORE_DATA);
    CheckRoundTrip(report, prefix + "query.empty", key, std::string(), 1024, ERROR_SUCCESS);
    char buffer[16];
    DWORD size = sizeof(buffer);
    rc = Query(key, "NoSuchValue", buffer, &size);
    report.Add(prefix + "query.missing", rc, 0, 0, rc == ERROR_FILE_NOT_FOUND, "a missing value");
    RegCloseKey(key);

    rc = RegOpenKeyA(root, "Software\\winfidelity\\NoSuchKey", &key);
    report.Add(prefix + "open.missing", rc, 0, 0, rc == ERROR_FILE_NOT_FOUND, "a missing key");
    // RegDeleteKey removes a key without subkeys only.
    if (RegCreateKeyExA(root, "Software\\winfidelity\\Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
    rc = RegDeleteKeyA(root, kKey);
    report.Add(prefix + "delete.parent", rc, 0, 0, rc == ERROR_ACCESS_DENIED, "a key with subkeys stays");
    RegDeleteKeyA(root, "Software\\winfidelity\\Sub");
    rc = RegDeleteKeyA(root, kKey);
    report.Add(prefix + "delete", rc, 0, 0, rc == ERROR_SUCCESS, "deleting the key");
    rc = RegOpenKeyA(root, kKey, &key);
    report.Add(prefix + "open.deleted", rc, 0, 0, rc == ERROR_FILE_NOT_FOUND, "the key is gone");
}

} // namespace winfidelity
