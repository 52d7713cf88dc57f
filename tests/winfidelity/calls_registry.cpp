// The registry calls as the application makes them (RegOpenKeyA, a 1024-byte
// read without the type, a string written with its NUL) on a scratch key.
#include "calls.h"

namespace winfidelity {

namespace {

const char kKey[] = "Software\\winfidelity";
const char kSub[] = "Software\\winfidelity\\Sub";

// A string written, then read back into `capacity` bytes: `rc` with the
// string and its NUL, or the size it needs.
struct RoundTrip
{
    const char* check;
    std::string text;
    DWORD capacity;
    LSTATUS rc;
};

const RoundTrip kRoundTrips[] = {
    {"query", "192.168.1.1", 1024, ERROR_SUCCESS},
    {"query.exact", "192.168.1.1", 12, ERROR_SUCCESS},
    // The application reads a value longer than its buffer as empty.
    {"query.long", std::string(1500, 'x'), 1024, ERROR_MORE_DATA},
    {"query.empty", std::string(), 1024, ERROR_SUCCESS},
};

LSTATUS Query(HKEY key, const char* name, char* buffer, DWORD* size)
{
    return RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), size);
}

} // namespace

void CheckRegistry(Report& report, HKEY root, const std::string& prefix)
{
    const auto add = [&](const std::string& check, LSTATUS rc, ull size, bool expected) {
        report.Add(prefix + check, ull(rc), size, 0, expected);
    };
    // A call whose code is the only fact.
    const auto expect = [&](const std::string& check, LSTATUS rc, LSTATUS wanted) {
        add(check, rc, 0, rc == wanted);
        return rc == wanted;
    };
    // The scratch key, created and then opened through the same call.
    HKEY key = nullptr;
    for (const DWORD expected : {DWORD(REG_CREATED_NEW_KEY), DWORD(REG_OPENED_EXISTING_KEY)}) {
        DWORD disposition = 0;
        const LSTATUS rc = RegCreateKeyExA(root, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                           &key, &disposition);
        add(expected == REG_CREATED_NEW_KEY ? "create" : "create.existing", rc, disposition,
            rc == ERROR_SUCCESS && disposition == expected);
        if (rc == ERROR_SUCCESS)
            RegCloseKey(key);
    }
    if (!expect("open", RegOpenKeyA(root, kKey, &key), ERROR_SUCCESS))
        return;
    for (const RoundTrip& t : kRoundTrips) {
        char buffer[1024] = {};
        const LSTATUS setRc = RegSetValueExA(key, "NameServer", 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(t.text.c_str()), DWORD(t.text.size() + 1));
        DWORD size = t.capacity;
        const LSTATUS rc = Query(key, "NameServer", buffer, &size);
        const bool same = rc != ERROR_SUCCESS || t.text == buffer;
        add(t.check, rc, size, setRc == ERROR_SUCCESS && rc == t.rc && size == t.text.size() + 1 && same);
    }
    char buffer[16];
    DWORD size = sizeof(buffer);
    expect("query.missing", Query(key, "NoSuchValue", buffer, &size), ERROR_FILE_NOT_FOUND);
    expect("close", RegCloseKey(key), ERROR_SUCCESS);
    expect("open.missing", RegOpenKeyA(root, "Software\\winfidelity\\NoSuchKey", &key), ERROR_FILE_NOT_FOUND);
    // RegDeleteKey removes a key without subkeys only.
    if (RegCreateKeyExA(root, kSub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    expect("delete.parent", RegDeleteKeyA(root, kKey), ERROR_ACCESS_DENIED);
    RegDeleteKeyA(root, kSub);
    expect("delete", RegDeleteKeyA(root, kKey), ERROR_SUCCESS);
}

} // namespace winfidelity
