// Internals shared by the emulated Windows calls.
#pragma once

#include <winsys.h>

#include "adapters.h"

#include <memory>
#include <string>
#include <vector>

namespace winsys {

// Sets the thread's last error and returns the value given, so that a call
// can end with "return Fail(ERROR_X, FALSE);".
template <class T>
T Fail(DWORD code, T result)
{
    SetLastError(code);
    return result;
}

// The adapters of the current hive with their state, in report order; built
// once per version of the hive file, and again when a tentative address settles.
struct AdapterTable {
    std::vector<AdapterState> adapters;
    int64_t settlesAt = 0;   // the earliest settlesAt of its adapters; 0: none
    const AdapterState* ByIndex(DWORD ifIndex) const;
};
DWORD CurrentAdapters(std::shared_ptr<const AdapterTable>& out);

// The English system text of a code with its trailing "\r\n", or null.
const char* SystemMessageText(DWORD code);

// Remembers the network provider's own error for WNetGetLastErrorW.
void SetProviderError(DWORD code, const std::string& text);

}  // namespace winsys
