// NetUseEnum: the workstation's connections, level 0.
#include <winsys/hive.h>
#include <winsys/host.h>

#include "connections.h"
#include "emul.h"
#include "text.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>

using namespace winsys;

namespace {

size_t WideBytes(const std::u16string& s)
{
    return (s.size() + 1) * sizeof(WCHAR);
}

// One block: the USE_INFO_0 array, then the strings it points to.
LPBYTE BuildBuffer(const std::vector<Connection>& list)
{
    size_t size = list.size() * sizeof(USE_INFO_0);
    std::vector<std::pair<std::u16string, std::u16string>> texts;
    for (const Connection& c : list) {
        texts.emplace_back(Utf8ToUtf16(c.local), Utf8ToUtf16(c.remote));
        size += WideBytes(texts.back().first) + WideBytes(texts.back().second);
    }
    auto* block = static_cast<LPBYTE>(std::malloc(std::max<size_t>(size, 1)));
    if (!block)
        return nullptr;
    auto* entries = reinterpret_cast<USE_INFO_0*>(block);
    auto* text = reinterpret_cast<WCHAR*>(block + list.size() * sizeof(USE_INFO_0));
    auto put = [&text](const std::u16string& s) {
        WCHAR* start = text;
        std::memcpy(text, s.c_str(), WideBytes(s));
        text += s.size() + 1;
        return start;
    };
    for (size_t i = 0; i < texts.size(); ++i) {
        entries[i].ui0_local = put(texts[i].first);
        entries[i].ui0_remote = put(texts[i].second);
    }
    return block;
}

}  // namespace

NET_API_STATUS NET_API_FUNCTION NetUseEnum(LMSTR UncServerName, DWORD LevelFlags, LPBYTE* BufPtr,
                                           DWORD PreferedMaximumSize, LPDWORD EntriesRead, LPDWORD TotalEntries,
                                           LPDWORD ResumeHandle)
{
    if (!BufPtr || !EntriesRead || !TotalEntries)
        return ERROR_INVALID_PARAMETER;
    *BufPtr = nullptr;
    *EntriesRead = *TotalEntries = 0;
    if (LevelFlags != 0)
        return ERROR_INVALID_LEVEL;
    if (UncServerName && *UncServerName)
        return ERROR_BAD_NETPATH;   // only the local workstation is known
    std::vector<Connection> list;
    const DWORD code = ReadHive([&](const Hive& h) -> uint32_t {
        list = ReadConnections(h);
        // A connection without its remote name is broken data: the service cannot list it.
        if (list.size() != h.SubKeys(keys::kConnections).size())
            return ERROR_INVALID_DATA;
        return 0;
    });
    if (code)
        return code;
    const DWORD start = ResumeHandle ? *ResumeHandle : 0;
    if (start > list.size())
        return ERROR_INVALID_PARAMETER;
    std::vector<Connection> part(list.begin() + start, list.end());
    *TotalEntries = DWORD(list.size() - start);
    NET_API_STATUS status = NERR_Success;
    if (PreferedMaximumSize != MAX_PREFERRED_LENGTH) {
        // The caller asked for at most about this many bytes: hand out whole entries that fit.
        const size_t fit = std::max<size_t>(1, PreferedMaximumSize / (sizeof(USE_INFO_0) + 64));
        if (fit < part.size()) {
            part.resize(fit);
            status = ERROR_MORE_DATA;
        }
    }
    *BufPtr = BuildBuffer(part);
    if (!*BufPtr)
        return ERROR_NOT_ENOUGH_MEMORY;
    *EntriesRead = DWORD(part.size());
    if (ResumeHandle)
        *ResumeHandle = status == ERROR_MORE_DATA ? start + DWORD(part.size()) : 0;
    return status;
}

NET_API_STATUS NET_API_FUNCTION NetApiBufferFree(LPVOID Buffer)
{
    std::free(Buffer);
    return NERR_Success;
}
