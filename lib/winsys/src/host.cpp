// Where the emulated host lives and how one is created.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "hostfs.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>

namespace winsys {

namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// A new host is a machine of its own, as Windows records under Cryptography.
// The hive generators leave the value out so that their text stays the same
// on every call.
std::string WithMachineGuid(const std::string& text)
{
    Hive hive;
    std::string error;
    int line = 0;
    if (!ParseHive(text, hive, &error, &line))
        return text;
    std::random_device random;
    char guid[40];
    std::snprintf(guid, sizeof guid, "%08x-%04x-4%03x-%04x-%04x%08x", random(), random() & 0xFFFFu, random() & 0xFFFu,
                  0x8000u | (random() & 0x3FFFu), random() & 0xFFFFu, random());
    hive.SetString(keys::kCryptography, "MachineGuid", guid);
    return FormatHive(hive);
}

bool WriteHost(const std::string& dir, const std::string& text, std::string* error)
{
    if (!MakeDirs(dir, error))
        return false;
    HostLock lock(dir);
    if (lock.error() == 0 && WriteFileAtomically(HivePath(dir), WithMachineGuid(text)) == 0)
        return true;
    if (error)
        *error = "cannot write " + HivePath(dir);
    return false;
}

} // namespace

std::string HostRoot()
{
    const std::string root = Env("WINSYS_ROOT");
    if (!root.empty())
        return root;
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/')
        data = Env("HOME") + "/.local/share";
    return data + "/netconfig/host";
}

std::string HivePath(const std::string& root)
{
    return root + "/registry.reg";
}

std::string ActiveRoot()
{
    if (Env("WINSYS_ROOT").empty())
        EnsureDefaultHost();
    return HostRoot();
}

bool EnsureDefaultHost()
{
    const std::string root = HostRoot();
    struct stat st;
    if (::stat(HivePath(root).c_str(), &st) == 0)
        return true;
    if (!MakeDirs(root, nullptr))
        return false;
    HostLock lock(root);
    if (lock.error())
        return false;
    if (::stat(HivePath(root).c_str(), &st) == 0) // another process was first
        return true;
    return WriteFileAtomically(HivePath(root), WithMachineGuid(SampleHiveText())) == 0;
}

bool InitSampleHost(const std::string& dir, std::string* error)
{
    return WriteHost(dir, SampleHiveText(), error);
}

bool InitGeneratedHost(const std::string& dir, int adapters, std::string* error)
{
    GeneratedShape shape;
    shape.adapters = adapters;
    return InitGeneratedHost(dir, shape, error);
}

bool InitGeneratedHost(const std::string& dir, const GeneratedShape& shape, std::string* error)
{
    const auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (shape.adapters < 1 || shape.adapters > 100000)
        return fail("the number of adapters must be between 1 and 100000");
    const std::string range = " must be between 1 and " + std::to_string(kMaxGeneratedPerAdapter);
    if (shape.addresses < 1 || shape.addresses > kMaxGeneratedPerAdapter)
        return fail("the number of addresses" + range);
    if (shape.gateways < 1 || shape.gateways > kMaxGeneratedPerAdapter)
        return fail("the number of gateways" + range);
    if (shape.dns < 1 || shape.dns > kMaxGeneratedPerAdapter)
        return fail("the number of DNS servers" + range);
    return WriteHost(dir, GeneratedHiveText(shape), error);
}

} // namespace winsys
