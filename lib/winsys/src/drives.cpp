// The logical drives: the host's own drives and the mapped network drives.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "connections.h"
#include "emul.h"

#include <cctype>

using namespace winsys;

namespace {

// Bit of a "D", "D:" or "D:\" name; 0 for anything else.
uint32_t DriveBit(const std::string& name)
{
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0])) || name.size() > 3)
        return 0;
    if (name.size() >= 2 && (name[1] != ':' || (name.size() == 3 && name[2] != '\\')))
        return 0;
    return 1u << (std::toupper(static_cast<unsigned char>(name[0])) - 'A');
}

}  // namespace

namespace winsys {

uint32_t HostDriveMask(const Hive& h)
{
    uint32_t mask = DriveBit("C:");   // the system drive is always there
    for (const std::string& drive : h.GetMultiString(keys::kEmulatedHost, "LocalDrives"))
        mask |= DriveBit(drive);
    return mask;
}

bool IsHostDrive(const Hive& h, const std::string& device)
{
    return (HostDriveMask(h) & DriveBit(device)) != 0;
}

}  // namespace winsys

DWORD WINAPI GetLogicalDrives(void)
{
    DWORD mask = 0;
    const DWORD code = ReadHive([&](const Hive& h) -> uint32_t {
        mask = HostDriveMask(h);
        for (const Connection& c : ReadConnections(h))
            mask |= DriveBit(c.local);
        return 0;
    });
    if (code)
        return Fail(code, DWORD(0));
    SetLastError(NO_ERROR);
    return mask;
}

DWORD WINAPI GetLogicalDriveStringsW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    const DWORD mask = GetLogicalDrives();
    if (mask == 0)
        return 0;
    std::u16string strings;
    for (int letter = 0; letter < 26; ++letter)
        if (mask & (1u << letter))
            strings += std::u16string{char16_t(u'A' + letter), u':', u'\\', u'\0'};
    // Too small a buffer gets the size it needs, terminating null included.
    if (!lpBuffer || nBufferLength < strings.size() + 1)
        return DWORD(strings.size() + 1);
    strings.copy(lpBuffer, strings.size());
    lpBuffer[strings.size()] = u'\0';
    return DWORD(strings.size());
}
