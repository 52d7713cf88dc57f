// In-memory registry hive, its regedit text format and locked access to the
// host's registry file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace winsys {

// REG_SZ / REG_EXPAND_SZ data is UTF-8 plus a terminating NUL, REG_MULTI_SZ
// is NUL-separated UTF-8 with a final double NUL.
struct RegValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class Hive {
public:
    Hive();
    Hive(const Hive& other);
    Hive& operator=(const Hive& other);
    Hive(Hive&&) noexcept;
    Hive& operator=(Hive&&) noexcept;
    ~Hive();

    // Key paths like "HKEY_LOCAL_MACHINE\\SYSTEM\\..."; lookups ignore case,
    // stored names keep the case they were created with.
    bool HasKey(const std::string& path) const;
    void CreateKey(const std::string& path);
    bool DeleteKey(const std::string& path);   // with its subkeys
    std::vector<std::string> SubKeys(const std::string& path) const;   // file order
    // Value names of a key in file order ("" is the default value).
    std::vector<std::string> ValueNames(const std::string& key) const;

    const RegValue* GetValue(const std::string& key, const std::string& name) const;
    void SetValue(const std::string& key, const std::string& name, RegValue v);   // creates the key
    bool DeleteValue(const std::string& key, const std::string& name);

    std::string GetString(const std::string& key, const std::string& name, bool* found = nullptr) const;
    void SetString(const std::string& key, const std::string& name, const std::string& utf8);
    uint32_t GetDword(const std::string& key, const std::string& name, uint32_t def = 0) const;
    void SetDword(const std::string& key, const std::string& name, uint32_t v);
    std::vector<std::string> GetMultiString(const std::string& key, const std::string& name) const;
    void SetMultiString(const std::string& key, const std::string& name, const std::vector<std::string>& v);

    // Every key path in file order (parents before children).
    std::vector<std::string> AllKeys() const;
    bool operator==(const Hive& other) const;
    bool operator!=(const Hive& other) const { return !(*this == other); }

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

// Parses regedit 4/5 text (UTF-8, or UTF-16LE with BOM as regedit exports).
// On failure fills *error and *badLine (1-based) and leaves out unchanged.
bool ParseHive(const std::string& text, Hive& out, std::string* error, int* badLine);
std::string FormatHive(const Hive& h);   // "Windows Registry Editor Version 5.00" text, UTF-8

// Loads / saves a hive file directly (no locking); used by tools.
bool LoadHiveFile(const std::string& path, Hive& out, std::string* error, int* badLine = nullptr);
bool SaveHiveFile(const std::string& path, const Hive& h, std::string* error);   // atomic

// Locked read-modify-write on the current host (WINSYS_ROOT): loads, calls fn,
// writes atomically when fn returns 0 and changed something; returns fn's
// code, or an error code when the hive cannot be read or written.
uint32_t ModifyHive(const std::function<uint32_t(Hive&)>& fn);
// Read-only access through a per-process cache reparsed only when the file changed.
uint32_t ReadHive(const std::function<uint32_t(const Hive&)>& fn);

}  // namespace winsys
