// The checks' results: one machine-readable line per check, so that a run
// against the emulation and a run against real Windows calls can be compared
// line by line ("check <name> rc=<n> size=<n> err=<n>").
#pragma once

#include <winsys.h>

#include <ostream>
#include <string>
#include <vector>

namespace winfidelity {

// Wide text in the platform's own WCHAR, built without casts so that the
// same source serves both WCHAR types.
using WideString = std::basic_string<WCHAR>;
WideString Wide(const std::string& ascii);
WideString WideText(const WCHAR* text);                  // up to the NUL; empty for null
WideString WideText(const WCHAR* text, size_t capacity); // a fixed field, NUL or not
WideString Upper(WideString text);

struct Check
{
    std::string name;
    unsigned long long rc = 0;
    unsigned long long size = 0;
    unsigned long long err = 0;
    std::string failure; // empty when what came back is what Windows answers
};

class Report
{
public:
    // Records a check; `expected` false marks it failed with `why`.
    void Add(const std::string& name, unsigned long long rc, unsigned long long size, unsigned long long err,
             bool expected = true, const std::string& why = std::string());
    void Fail(const std::string& name, const std::string& why);
    int Failures() const;
    void Print(std::ostream& out) const; // the check lines
    void PrintFailures(std::ostream& out) const;

private:
    std::vector<Check> m_Checks;
};

} // namespace winfidelity
