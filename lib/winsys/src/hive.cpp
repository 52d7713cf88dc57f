// The in-memory hive: keys addressed by full path, case-insensitively.
#include <winsys/hive.h>
#include <winsys.h>

#include "text.h"

#include <algorithm>
#include <unordered_map>

namespace winsys {

struct Hive::Impl {
    struct Key {
        std::string path;   // original case
        std::vector<std::pair<std::string, RegValue>> values;
        std::vector<std::string> children;   // folded paths, in creation order
    };
    std::unordered_map<std::string, Key> keys;   // by folded path
    std::vector<std::string> roots;

    static std::string Canonical(const std::string& path)
    {
        if (!path.empty() && path.front() != '\\' && path.back() != '\\' && path.find("\\\\") == std::string::npos)
            return path;   // the usual case: nothing to tidy
        std::string out;
        for (const std::string& part : Split(path, '\\')) {
            if (part.empty())
                continue;
            if (!out.empty())
                out += '\\';
            out += part;
        }
        return out;
    }
    const Key* Find(const std::string& path) const
    {
        auto it = keys.find(Lower(Canonical(path)));
        return it == keys.end() ? nullptr : &it->second;
    }
    Key* Find(const std::string& path)
    {
        auto it = keys.find(Lower(Canonical(path)));
        return it == keys.end() ? nullptr : &it->second;
    }
    Key* Create(const std::string& rawPath)
    {
        const std::string path = Canonical(rawPath);
        if (path.empty())
            return nullptr;
        const std::string folded = Lower(path);
        auto it = keys.find(folded);
        if (it != keys.end())
            return &it->second;
        const size_t cut = path.rfind('\\');
        if (cut == std::string::npos) {
            roots.push_back(folded);
        } else {
            Key* parent = Create(path.substr(0, cut));
            parent->children.push_back(folded);
        }
        Key& k = keys[folded];
        k.path = path;
        return &k;
    }
    void Erase(const std::string& folded)
    {
        auto it = keys.find(folded);
        if (it == keys.end())
            return;
        const std::vector<std::string> children = it->second.children;
        for (const std::string& c : children)
            Erase(c);
        keys.erase(folded);
    }
    void Walk(const std::vector<std::string>& level, std::vector<const Key*>& out) const
    {
        for (const std::string& folded : level) {
            const Key& k = keys.at(folded);
            out.push_back(&k);
            Walk(k.children, out);
        }
    }
};

Hive::Hive() : d(std::make_unique<Impl>()) {}
Hive::Hive(const Hive& other) : d(std::make_unique<Impl>(*other.d)) {}
Hive& Hive::operator=(const Hive& other)
{
    if (this != &other)
        d = std::make_unique<Impl>(*other.d);
    return *this;
}
Hive::Hive(Hive&&) noexcept = default;
Hive& Hive::operator=(Hive&&) noexcept = default;
Hive::~Hive() = default;

bool Hive::HasKey(const std::string& path) const
{
    return d->Find(path) != nullptr;
}

void Hive::CreateKey(const std::string& path)
{
    d->Create(path);
}

bool Hive::DeleteKey(const std::string& path)
{
    const std::string canonical = Impl::Canonical(path);
    const std::string folded = Lower(canonical);
    if (!d->keys.count(folded))
        return false;
    const size_t cut = folded.rfind('\\');
    std::vector<std::string>& siblings =
        cut == std::string::npos ? d->roots : d->keys.at(folded.substr(0, cut)).children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), folded), siblings.end());
    d->Erase(folded);
    return true;
}

std::vector<std::string> Hive::SubKeys(const std::string& path) const
{
    std::vector<std::string> names;
    if (const Impl::Key* k = d->Find(path)) {
        for (const std::string& c : k->children) {
            const std::string& full = d->keys.at(c).path;
            names.push_back(full.substr(full.rfind('\\') + 1));
        }
    }
    return names;
}

std::vector<std::string> Hive::ValueNames(const std::string& key) const
{
    std::vector<std::string> names;
    if (const Impl::Key* k = d->Find(key))
        for (const auto& v : k->values)
            names.push_back(v.first);
    return names;
}

const RegValue* Hive::GetValue(const std::string& key, const std::string& name) const
{
    const Impl::Key* k = d->Find(key);
    if (!k)
        return nullptr;
    for (const auto& v : k->values)
        if (EqualNoCase(v.first, name))
            return &v.second;
    return nullptr;
}

void Hive::SetValue(const std::string& key, const std::string& name, RegValue v)
{
    Impl::Key* k = d->Create(key);
    if (!k)
        return;
    for (auto& existing : k->values) {
        if (EqualNoCase(existing.first, name)) {
            existing.second = std::move(v);
            return;
        }
    }
    k->values.emplace_back(name, std::move(v));
}

bool Hive::DeleteValue(const std::string& key, const std::string& name)
{
    Impl::Key* k = d->Find(key);
    if (!k)
        return false;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& v) { return EqualNoCase(v.first, name); });
    if (it == k->values.end())
        return false;
    k->values.erase(it);
    return true;
}

std::string Hive::GetString(const std::string& key, const std::string& name, bool* found) const
{
    const RegValue* v = GetValue(key, name);
    if (found)
        *found = v != nullptr;
    if (!v)
        return std::string();
    const auto& data = v->data;
    const auto end = std::find(data.begin(), data.end(), uint8_t(0));
    return std::string(data.begin(), end);
}

void Hive::SetString(const std::string& key, const std::string& name, const std::string& utf8)
{
    RegValue v{REG_SZ, std::vector<uint8_t>(utf8.begin(), utf8.end())};
    v.data.push_back(0);
    SetValue(key, name, std::move(v));
}

uint32_t Hive::GetDword(const std::string& key, const std::string& name, uint32_t def) const
{
    const RegValue* v = GetValue(key, name);
    if (!v || v->data.size() < 4)
        return def;
    return uint32_t(v->data[0]) | uint32_t(v->data[1]) << 8 | uint32_t(v->data[2]) << 16 |
           uint32_t(v->data[3]) << 24;
}

void Hive::SetDword(const std::string& key, const std::string& name, uint32_t x)
{
    SetValue(key, name, RegValue{REG_DWORD, {uint8_t(x), uint8_t(x >> 8), uint8_t(x >> 16), uint8_t(x >> 24)}});
}

std::vector<std::string> Hive::GetMultiString(const std::string& key, const std::string& name) const
{
    std::vector<std::string> out;
    const RegValue* v = GetValue(key, name);
    if (!v)
        return out;
    std::string cur;
    for (uint8_t b : v->data) {
        if (b != 0) {
            cur += static_cast<char>(b);
            continue;
        }
        if (cur.empty())   // the empty string ends the list
            break;
        out.push_back(cur);
        cur.clear();
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

void Hive::SetMultiString(const std::string& key, const std::string& name, const std::vector<std::string>& list)
{
    RegValue v{REG_MULTI_SZ, {}};
    for (const std::string& s : list) {
        if (s.empty())
            continue;
        v.data.insert(v.data.end(), s.begin(), s.end());
        v.data.push_back(0);
    }
    v.data.push_back(0);
    SetValue(key, name, std::move(v));
}

std::vector<std::string> Hive::AllKeys() const
{
    std::vector<const Impl::Key*> all;
    d->Walk(d->roots, all);
    std::vector<std::string> paths;
    for (const Impl::Key* k : all)
        paths.push_back(k->path);
    return paths;
}

bool Hive::operator==(const Hive& other) const
{
    std::vector<const Impl::Key*> a, b;
    d->Walk(d->roots, a);
    other.d->Walk(other.d->roots, b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i]->path != b[i]->path || a[i]->values.size() != b[i]->values.size())
            return false;
        for (size_t j = 0; j < a[i]->values.size(); ++j) {
            const auto& x = a[i]->values[j];
            const auto& y = b[i]->values[j];
            if (x.first != y.first || x.second.type != y.second.type || x.second.data != y.second.data)
                return false;
        }
    }
    return true;
}

}  // namespace winsys
