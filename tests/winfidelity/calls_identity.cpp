// Computer name and DNS suffix as the identification page sets them, the
// name as the base library reads it, and the system's error texts and
// folder. A name's length differs between machines, so its size is reported
// relative to the text that came back.
#include "calls.h"

#include <cstring>

namespace winfidelity {

namespace {

// The system's text as the error box gets it.
void CheckText(Report& report, const std::string& check, DWORD code, bool known)
{
    LPSTR buffer = nullptr;
    SetLastError(0);
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const DWORD err = GetLastError();
    const bool whole = buffer && std::strlen(buffer) == length;
    report.Add(check, length > 0 ? 1 : 0, whole ? 1 : 0, err, (length > 0) == known && whole == known);
    if (buffer) {
        const HLOCAL left = LocalFree(buffer);
        report.Add(check + ".free", left ? 1 : 0, 0, 0, !left);
    }
}

} // namespace

void CheckComputerName(Report& report)
{
    WCHAR buffer[256] = {};
    DWORD size = 256;
    SetLastError(0);
    const BOOL rc = GetComputerNameExW(ComputerNameNetBIOS, buffer, &size);
    const size_t length = WideText(buffer, 256).size();
    report.Add("name.get", rc, size - length, GetLastError(), rc && length > 0);
    const auto set = [&report](const char* check, COMPUTER_NAME_FORMAT type, const char* text) {
        // The text carries an extra NUL, as the application hands it over.
        WideString terminated = Wide(text);
        terminated.push_back(0);
        SetLastError(0);
        const BOOL done = SetComputerNameExW(type, terminated.c_str());
        report.Add(check, done, 0, GetLastError(), done != FALSE);
    };
    set("name.set.netbios", ComputerNamePhysicalNetBIOS, "WINFID01");
    set("name.set.suffix", ComputerNamePhysicalDnsDomain, "example.test");
}

void CheckSystemTexts(Report& report)
{
    CheckText(report, "text.known", ERROR_FILE_NOT_FOUND, true);
    CheckText(report, "text.unknown", 0x20001234, false);

    // The base library's search folder for bare program names.
    WCHAR buffer[1024] = {};
    const UINT length = GetSystemDirectoryW(buffer, 1024);
    const size_t text = WideText(buffer, 1024).size();
    report.Add("sysdir", length > 0 && length < 1024 ? 1 : 0, length - text, 0, length > 0 && length == text);
}

} // namespace winfidelity
