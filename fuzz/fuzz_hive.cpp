// Fuzzes the registry file parser. Whatever it accepts must survive the
// writer: formatting the hive and parsing that text again gives the same
// hive, or a host written by netsh.exe could not be read back.
#include <winsys/hive.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    winsys::Hive hive;
    std::string error;
    int badLine = 0;
    if (!winsys::ParseHive(text, hive, &error, &badLine)) {
        if (error.empty() || badLine < 0)
            std::abort();   // a refusal must say why
        return 0;
    }
    const std::string written = winsys::FormatHive(hive);
    winsys::Hive again;
    if (!winsys::ParseHive(written, again, &error, &badLine) || again != hive)
        std::abort();
    return 0;
}
