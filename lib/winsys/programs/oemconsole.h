// Console output of the emulated Windows programs: written in the host's
// console (OEM) code page with CR LF line ends, as a Windows console program
// writes to a pipe.
#pragma once

#include <string>

namespace winping {

// "OEMCP" of HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage on the
// emulated host; 850 when the value is absent, unreadable or not a code page.
unsigned HostOemCodePage();

// UTF-8 text in code page cp, as WideCharToMultiByte with the default
// character gives it: "?" for a character the code page lacks and for each
// byte that is not UTF-8. An unknown code page is taken as 850.
std::string ToCodePage(const std::string& utf8, unsigned cp);

// Writes whole lines to standard output at once, so a reader sees each line
// as soon as it is complete.
class ConsoleWriter {
public:
    explicit ConsoleWriter(unsigned cp) : m_CodePage(cp) {}
    void Line(const std::string& utf8 = std::string()) const;
    // Text that may hold several lines ("\n"-separated), each written as a line.
    void Text(const std::string& utf8) const;

private:
    unsigned m_CodePage;
};

}  // namespace winping
