// Computer name and DNS suffix as the identification page sets them, the
// name as the base library reads it, and the system's error texts and
// folder. A name's length differs between machines, so sizes are reported
// relative to the text that came back.
#include "calls.h"

#include <cstring>

namespace winfidelity {

namespace {

const DWORD kFormatFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// The text carries an extra NUL, as the application hands it over.
BOOL SetName(COMPUTER_NAME_FORMAT type, const std::string& text)
{
    WideString terminated = Wide(text);
    terminated.push_back(0);
    SetLastError(0);
    return SetComputerNameExW(type, terminated.c_str());
}

struct Name
{
    BOOL rc = FALSE;
    DWORD size = 0;
    DWORD err = 0;
    WideString text;
};

Name ActiveName(DWORD bufferChars)
{
    WCHAR buffer[256] = {};
    Name name;
    name.size = bufferChars;
    SetLastError(0);
    name.rc = GetComputerNameExW(ComputerNameNetBIOS, buffer, &name.size);
    name.err = GetLastError();
    if (name.rc)
        name.text = WideText(buffer, bufferChars);
    return name;
}

void CheckSetName(Report& report, const std::string& check, COMPUTER_NAME_FORMAT type, const std::string& text,
                  bool valid)
{
    const BOOL rc = SetName(type, text);
    report.Add(check, rc, 0, GetLastError(), (rc != FALSE) == valid, valid ? "a valid name" : "an invalid name");
}

// The system's text as the error box gets it.
void CheckText(Report& report, const std::string& check, DWORD code, bool known)
{
    LPSTR buffer = nullptr;
    SetLastError(0);
    const DWORD length = FormatMessageA(kFormatFlags, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const DWORD err = GetLastError();
    const bool whole = buffer && std::strlen(buffer) == length;
    report.Add(check, length > 0 ? 1 : 0, whole ? 1 : 0, err, (length > 0) == known && whole == known,
               known ? "a text of the given length" : "no text");
    if (buffer) {
        const HLOCAL left = LocalFree(buffer);
        report.Add(check + ".free", left ? 1 : 0, 0, 0, !left, "LocalFree answers null when it freed");
    }
}

} // namespace

void CheckComputerName(Report& report)
{
    const Name before = ActiveName(256);
    report.Add("name.get", before.rc, before.size - before.text.size(), before.err, before.rc && !before.text.empty(),
               "the active name");

    CheckSetName(report, "name.set.netbios", ComputerNamePhysicalNetBIOS, "WINFID01", true);
    // The new name takes effect at the next start only.
    const Name after = ActiveName(256);
    report.Add("name.active", after.rc, after.text == before.text ? 0 : 1, after.err, after.text == before.text,
               "the active name must not change before a restart");
    CheckSetName(report, "name.set.suffix", ComputerNamePhysicalDnsDomain, "example.test", true);
    CheckSetName(report, "name.set.suffix.empty", ComputerNamePhysicalDnsDomain, "", true);
}

void CheckSystemTexts(Report& report)
{
    CheckText(report, "text.known", ERROR_FILE_NOT_FOUND, true);
    CheckText(report, "text.unknown", 0x20001234, false);

    // The base library's search folder for bare program names.
    WCHAR buffer[1024] = {};
    const UINT length = GetSystemDirectoryW(buffer, 1024);
    const size_t text = WideText(buffer, 1024).size();
    report.Add("sysdir", length > 0 && length < 1024 ? 1 : 0, length - text, 0, length > 0 && length == text,
               "the folder's length without the NUL");
}

} // namespace winfidelity
