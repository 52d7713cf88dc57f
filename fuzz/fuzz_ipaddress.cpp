// Fuzzes the text conversion of addresses: any text converts without
// harm, and the text form of the result converts back to the same value.
#include "ipaddress.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const CIPAddress address(text);
    const QString shown = address.ToString();
    if (CIPAddress(shown).Value() != address.Value())
        std::abort();
    // A number taken as raw bits must show as four octets too.
    quint32 bits = 0;
    for (size_t i = 0; i < size && i < 4; ++i)
        bits = bits << 8 | data[i];
    if (CIPAddress(CIPAddress(bits).ToString()).Value() != bits)
        std::abort();
    return 0;
}
