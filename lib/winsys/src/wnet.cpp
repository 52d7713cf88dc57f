// The network provider: connecting and disconnecting network resources.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "connections.h"
#include "emul.h"
#include "text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

using namespace winsys;

namespace {

const char kProvider[] = "Microsoft Windows Network";

struct ProviderError {
    DWORD code = 0;
    std::string text;
};
thread_local ProviderError t_ProviderError;

bool IsDevice(const std::string& name)
{
    return name.size() == 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

std::string TrimSlash(std::string s)
{
    while (s.size() > 2 && s.back() == '\\')
        s.pop_back();
    return s;
}

// "\\server\share" -> "server" (empty when the name is not a UNC share name).
std::string ServerOf(const std::string& unc)
{
    if (unc.compare(0, 2, "\\\\") != 0)
        return std::string();
    const size_t slash = unc.find('\\', 2);
    if (slash == std::string::npos || slash == 2 || slash + 1 >= unc.size())
        return std::string();
    return unc.substr(2, slash - 2);
}

bool Contains(const std::vector<std::string>& list, const std::string& s)
{
    for (const std::string& x : list)
        if (EqualNoCase(x, s))
            return true;
    return false;
}

std::string RememberedKey(const std::string& device)
{
    return std::string(keys::kUserNetwork) + "\\" + Upper(device.substr(0, 1));
}

DWORD CheckRemote(const Hive& h, const std::string& remote)
{
    const std::string server = ServerOf(remote);
    if (server.empty())
        return ERROR_BAD_NET_NAME;
    const auto shares = h.GetMultiString(keys::kEmulatedHost, "Shares");
    if (Contains(h.GetMultiString(keys::kEmulatedHost, "OfflineServers"), server)) {
        SetProviderError(ERROR_NETWORK_UNREACHABLE, "The network location cannot be reached.");
        return ERROR_EXTENDED_ERROR;
    }
    bool serverKnown = false;
    for (const std::string& share : shares)
        serverKnown = serverKnown || EqualNoCase(ServerOf(share), server);
    if (!serverKnown)
        return ERROR_BAD_NETPATH;
    // A folder below a share is reachable when the share is.
    for (const std::string& share : shares)
        if (EqualNoCase(share, remote) || Lower(remote).compare(0, share.size() + 1, Lower(share) + "\\") == 0)
            return NO_ERROR;
    return ERROR_BAD_NET_NAME;
}

DWORD AddConnection(Hive& h, const std::string& local, const std::string& remote, const std::string& user,
                    DWORD flags)
{
    if (const DWORD code = CheckRemote(h, remote))
        return code;
    const auto list = ReadConnections(h);
    if (local.empty()) {
        for (const Connection& c : list)
            if (c.local.empty() && EqualNoCase(c.remote, remote))
                return NO_ERROR;   // already connected
        AddConnectionEntry(h, "", remote);
        return NO_ERROR;
    }
    if (IsHostDrive(h, local))
        return ERROR_ALREADY_ASSIGNED;
    for (const Connection& c : list)
        if (EqualNoCase(c.local, local))
            return ERROR_ALREADY_ASSIGNED;
    const std::string remembered = h.GetString(RememberedKey(local), "RemotePath");
    if (!remembered.empty() && !EqualNoCase(remembered, remote))
        return ERROR_DEVICE_ALREADY_REMEMBERED;
    AddConnectionEntry(h, local, remote);
    if (flags & CONNECT_UPDATE_PROFILE) {
        const std::string k = RememberedKey(local);
        h.SetString(k, "RemotePath", remote);
        h.SetString(k, "UserName", user);
        h.SetString(k, "ProviderName", kProvider);
        h.SetDword(k, "ProviderType", 0x20000);
        h.SetDword(k, "ConnectionType", 1);
        h.SetDword(k, "DeferFlags", 4);
    }
    return NO_ERROR;
}

DWORD CancelConnection(Hive& h, const std::string& name, DWORD flags, bool force)
{
    const bool device = IsDevice(name);
    std::vector<Connection> matches;
    for (const Connection& c : ReadConnections(h))
        if (device ? EqualNoCase(c.local, name) : (c.local.empty() && EqualNoCase(c.remote, name)))
            matches.push_back(c);
    const bool remembered = device && h.HasKey(RememberedKey(name));
    if (matches.empty() && !(remembered && (flags & CONNECT_UPDATE_PROFILE)))
        return ERROR_NOT_CONNECTED;
    for (const Connection& c : matches)
        if (c.openFiles && !force)
            return ERROR_OPEN_FILES;
    for (const Connection& c : matches)
        h.DeleteKey(std::string(keys::kConnections) + "\\" + c.key);
    if (remembered && (flags & CONNECT_UPDATE_PROFILE))
        h.DeleteKey(RememberedKey(name));
    return NO_ERROR;
}

DWORD Finish(DWORD code)
{
    SetLastError(code);
    return code;
}

}  // namespace

namespace winsys {
void SetProviderError(DWORD code, const std::string& text)
{
    t_ProviderError = {code, text};
}
}  // namespace winsys

DWORD APIENTRY WNetAddConnection2W(LPNETRESOURCEW lpNetResource, LPCWSTR lpPassword, LPCWSTR lpUserName,
                                   DWORD dwFlags)
{
    (void)lpPassword;
    if (!lpNetResource || !lpNetResource->lpRemoteName || !*lpNetResource->lpRemoteName)
        return Finish(ERROR_INVALID_PARAMETER);
    if (lpNetResource->dwType > RESOURCETYPE_PRINT)
        return Finish(ERROR_INVALID_PARAMETER);
    const std::string local = Upper(Utf16ToUtf8(lpNetResource->lpLocalName));
    if (!local.empty() && !IsDevice(local))
        return Finish(ERROR_BAD_DEVICE);
    const std::string remote = TrimSlash(Utf16ToUtf8(lpNetResource->lpRemoteName));
    const std::string user = Utf16ToUtf8(lpUserName);
    return Finish(ModifyHive([&](Hive& h) -> uint32_t { return AddConnection(h, local, remote, user, dwFlags); }));
}

DWORD APIENTRY WNetCancelConnection2W(LPCWSTR lpName, DWORD dwFlags, BOOL fForce)
{
    if (!lpName || !*lpName)
        return Finish(ERROR_INVALID_PARAMETER);
    const std::string name = TrimSlash(Utf16ToUtf8(lpName));
    return Finish(ModifyHive([&](Hive& h) -> uint32_t { return CancelConnection(h, name, dwFlags, fForce != FALSE); }));
}

DWORD APIENTRY WNetCancelConnection2A(LPCSTR lpName, DWORD dwFlags, BOOL fForce)
{
    if (!lpName)
        return Finish(ERROR_INVALID_PARAMETER);
    const std::u16string wide = Utf8ToUtf16(lpName);
    return WNetCancelConnection2W(wide.c_str(), dwFlags, fForce);
}

DWORD APIENTRY WNetGetLastErrorW(LPDWORD lpError, LPWSTR lpErrorBuf, DWORD nErrorBufSize, LPWSTR lpNameBuf,
                                 DWORD nNameBufSize)
{
    if (!lpError || !lpErrorBuf || !lpNameBuf)
        return ERROR_INVALID_ADDRESS;
    auto copy = [](LPWSTR dst, DWORD size, const std::u16string& s) {
        if (size == 0)
            return;
        const size_t n = std::min<size_t>(s.size(), size - 1);
        std::memcpy(dst, s.data(), n * sizeof(WCHAR));
        dst[n] = 0;
    };
    *lpError = t_ProviderError.code;
    copy(lpErrorBuf, nErrorBufSize, Utf8ToUtf16(t_ProviderError.text));
    copy(lpNameBuf, nNameBufSize, t_ProviderError.code ? Utf8ToUtf16(kProvider) : std::u16string());
    return NO_ERROR;
}
