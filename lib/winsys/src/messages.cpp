// FormatMessageA over the English Windows system message table.
#include "emul.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace winsys {

namespace {

struct Message {
    DWORD code;
    const char* text;
};

// Every code the calls here, ShellExecuteExW's instance values and the
// program can produce. Windows keeps the network management texts
// (NERR_BASE and up) in netmsg.dll; they are here too so that no error box
// of the program is ever empty.
const Message kMessages[] = {
    {0, "The operation completed successfully.\r\n"},
    {1, "Incorrect function.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {8, "Not enough memory resources are available to process this command.\r\n"},
    {11, "An attempt was made to load a program with an incorrect format.\r\n"},
    {13, "The data is invalid.\r\n"},
    {14, "Not enough memory resources are available to complete this operation.\r\n"},
    {18, "There are no more files.\r\n"},
    {24, "The program issued a command but the command length is incorrect.\r\n"},
    {26, "The specified disk or diskette cannot be accessed.\r\n"},
    {27, "The drive cannot find the sector requested.\r\n"},
    {28, "The printer is out of paper.\r\n"},
    {29, "The system cannot write to the specified device.\r\n"},
    {30, "The system cannot read from the specified device.\r\n"},
    {31, "A device attached to the system is not functioning.\r\n"},
    {32, "The process cannot access the file because it is being used by another process.\r\n"},
    {50, "The request is not supported.\r\n"},
    {53, "The network path was not found.\r\n"},
    {59, "An unexpected network error occurred.\r\n"},
    {66, "The network resource type is not correct.\r\n"},
    {67, "The network name cannot be found.\r\n"},
    {85, "The local device name is already in use.\r\n"},
    {86, "The specified network password is not correct.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {111, "The file name is too long.\r\n"},
    {121, "The semaphore timeout period has expired.\r\n"},
    {122, "The data area passed to a system call is too small.\r\n"},
    {124, "The system call level is not correct.\r\n"},
    {161, "The specified path is invalid.\r\n"},
    {170, "The requested resource is in use.\r\n"},
    {183, "Cannot create a file when that file already exists.\r\n"},
    {232, "The pipe is being closed.\r\n"},
    {234, "More data is available.\r\n"},
    {258, "The wait operation timed out.\r\n"},
    {259, "No more data is available.\r\n"},
    {317, "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {487, "Attempt to access invalid address.\r\n"},
    {1004, "Invalid flags.\r\n"},
    {1009, "The configuration registry database is corrupt.\r\n"},
    {1010, "The configuration registry key is invalid.\r\n"},
    {1013, "The configuration registry key could not be written.\r\n"},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1155, "No application is associated with the specified file for this operation.\r\n"},
    {1168, "Element not found.\r\n"},
    {1200, "The specified device name is invalid.\r\n"},
    {1201, "The device is not currently connected but it is a remembered connection.\r\n"},
    {1202, "The local device name has a remembered connection to another network resource.\r\n"},
    {1203, "The network path was either typed incorrectly, does not exist, or the network provider is not "
           "currently available. Please try retyping the path or contact your network administrator.\r\n"},
    {1204, "The specified network provider name is invalid.\r\n"},
    {1205, "Unable to open the network connection profile.\r\n"},
    {1206, "The network connection profile is corrupted.\r\n"},
    {1208, "An extended error has occurred.\r\n"},
    {1210, "The format of the specified computer name is invalid.\r\n"},
    {1212, "The format of the specified domain name is invalid.\r\n"},
    {1222, "The network is not present or not started.\r\n"},
    {1223, "The operation was canceled by the user.\r\n"},
    {1231, "The network location cannot be reached. For information about network troubleshooting, see Windows "
           "Help.\r\n"},
    {1326, "The user name or password is incorrect.\r\n"},
    {1355, "The specified domain either does not exist or could not be contacted.\r\n"},
    {1722, "The RPC server is unavailable.\r\n"},
    {1815, "The specified resource language ID cannot be found in the image file.\r\n"},
    {2123, "The API return buffer is too small.\r\n"},
    {2202, "The specified username is invalid.\r\n"},
    {2250, "This network connection does not exist.\r\n"},
    {2401, "This network connection has files open or requests pending.\r\n"},
    {2404, "The device is in use by an active process and cannot be disconnected.\r\n"},
    {2691, "This machine is already joined to a domain.\r\n"},
    {2692, "This machine is not currently joined to a domain.\r\n"},
    {2693, "This machine is a domain controller and cannot be unjoined from a domain.\r\n"},
    {2695, "The specified workgroup name is invalid.\r\n"},
};

bool LanguageAvailable(DWORD lang)
{
    const DWORD primary = lang & 0x3FF;
    return lang == 0 || primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

}  // namespace

const char* SystemMessageText(DWORD code)
{
    for (const Message& m : kMessages)
        if (m.code == code)
            return m.text;
    return nullptr;
}

}  // namespace winsys

using namespace winsys;

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                            DWORD nSize, va_list* Arguments)
{
    (void)Arguments;
    if (!lpBuffer)
        return Fail(ERROR_INVALID_PARAMETER, DWORD(0));
    const char* text = nullptr;
    if (dwFlags & FORMAT_MESSAGE_FROM_STRING) {
        text = static_cast<const char*>(lpSource);   // inserts are not expanded
    } else if (dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) {
        if (!LanguageAvailable(dwLanguageId))
            return Fail(ERROR_RESOURCE_LANG_NOT_FOUND, DWORD(0));
        text = SystemMessageText(dwMessageId);
    } else {
        return Fail(ERROR_INVALID_PARAMETER, DWORD(0));
    }
    if (!text)
        return Fail(ERROR_MR_MID_NOT_FOUND, DWORD(0));
    const size_t len = std::strlen(text);
    if (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        // lpBuffer really is an LPSTR* that receives a LocalAlloc'ed copy.
        char* copy = static_cast<char*>(std::malloc(std::max<size_t>(len + 1, nSize)));
        if (!copy)
            return Fail(ERROR_NOT_ENOUGH_MEMORY, DWORD(0));
        std::memcpy(copy, text, len + 1);
        *reinterpret_cast<LPSTR*>(lpBuffer) = copy;
        return DWORD(len);
    }
    if (len + 1 > nSize)
        return Fail(ERROR_INSUFFICIENT_BUFFER, DWORD(0));
    std::memcpy(lpBuffer, text, len + 1);
    return DWORD(len);
}

HLOCAL WINAPI LocalFree(HLOCAL hMem)
{
    std::free(hMem);
    return nullptr;
}
