#include "report.h"

namespace winfidelity {

WideString Wide(const std::string& ascii)
{
    WideString text;
    for (char c : ascii)
        text.push_back(WCHAR(c));
    return text;
}

WideString WideText(const WCHAR* text)
{
    return text ? WideString(text) : WideString();
}

WideString WideText(const WCHAR* text, size_t capacity)
{
    size_t length = 0;
    while (length < capacity && text[length] != 0)
        ++length;
    return WideString(text, length);
}

WideString Upper(WideString text)
{
    for (WCHAR& c : text) {
        if (c >= 'a' && c <= 'z')
            c = WCHAR(c - 'a' + 'A');
    }
    return text;
}

void Report::Add(const std::string& name, unsigned long long rc, unsigned long long size, unsigned long long err,
                 bool expected, const std::string& why)
{
    Check check;
    check.name = name;
    check.rc = rc;
    check.size = size;
    check.err = err;
    if (!expected)
        check.failure = why.empty() ? std::string("unexpected result") : why;
    m_Checks.push_back(check);
}

void Report::Fail(const std::string& name, const std::string& why)
{
    Add(name, 0, 0, 0, false, why);
}

int Report::Failures() const
{
    int count = 0;
    for (const Check& check : m_Checks)
        count += check.failure.empty() ? 0 : 1;
    return count;
}

void Report::Print(std::ostream& out) const
{
    for (const Check& check : m_Checks)
        out << "check " << check.name << " rc=" << check.rc << " size=" << check.size << " err=" << check.err << "\n";
}

void Report::PrintFailures(std::ostream& out) const
{
    for (const Check& check : m_Checks) {
        if (!check.failure.empty())
            out << "FAIL " << check.name << " rc=" << check.rc << " size=" << check.size << " err=" << check.err << ": "
                << check.failure << "\n";
    }
}

} // namespace winfidelity
