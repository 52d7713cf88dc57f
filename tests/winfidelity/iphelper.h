// The IP Helper tables, read with the application's two-call sizing.
#pragma once

#include "report.h"

#include <cstdlib>
#include <memory>

namespace winfidelity {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};

struct AdapterList
{
    DWORD sizingRc = 0;                                     // the first call, with no buffer
    ULONG sizedAt = 0;                                      // the size it reported
    DWORD fillRc = 0;                                       // the second call, with a buffer of that size
    std::unique_ptr<IP_ADAPTER_INFO, FreeDeleter> adapters; // null when nothing was filled
};
AdapterList ReadAdapters();

struct InterfaceTable
{
    DWORD sizingRc = 0;
    ULONG sizedAt = 0;
    DWORD fillRc = 0;
    std::unique_ptr<BYTE[]> buffer;
    IP_INTERFACE_INFO* table = nullptr; // inside buffer, when filled
};
InterfaceTable ReadInterfaces();

// The interface table's entry for an adapter: the same index and a name
// that holds the adapter name, as the application matches them.
IP_ADAPTER_INDEX_MAP* FindInterface(const InterfaceTable& interfaces, const IP_ADAPTER_INFO& adapter);

} // namespace winfidelity
