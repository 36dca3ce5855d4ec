#include "ini/IniDocument.h"

namespace zav {
namespace {

// Text up to the first NUL: what the system's string functions see of a parsed name or value.
std::wstring upToNul(const std::wstring& s) { return s.substr(0, s.find(L'\0')); }

// Names are matched with only the ASCII letters folded: "\xE9" and "\xC9" are different names to the
// system's profile functions (measured with Wine 8.0's kernel32 in code page 1252), unlike the
// Latin-1 folding of upperChar.
wchar_t foldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

}  // namespace

bool isIniBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::wstring stripLeadingBlanks(const std::wstring& s) {
    std::size_t i = 0;
    while (i < s.size() && isIniBlank(s[i])) ++i;
    return s.substr(i);
}

std::wstring stripBlanks(const std::wstring& s) {
    std::wstring t = stripLeadingBlanks(s);
    std::size_t n = t.size();
    while (n > 1 && isIniBlank(t[n - 1])) --n;
    return t.substr(0, n);
}

bool sameIniName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

IniDocument::IniDocument(const std::wstring& text) {
    if (text.empty()) return;
    sections_.resize(1);  // the lines before the first header
    const std::size_t end = text.size();
    std::size_t next = 0;
    const IniEntry* previous = nullptr;
    while (next < end) {
        std::size_t start = next;
        while (next < end && text[next] != L'\n' && text[next] != L'\r') ++next;
        while (next < end && (text[next] == L'\n' || text[next] == L'\r')) ++next;
        std::size_t stop = next;
        while (start < stop && isIniBlank(text[start])) ++start;
        while (stop > start && isIniBlank(text[stop - 1])) --stop;
        if (start >= stop) continue;

        if (text[start] == L'[') {
            std::size_t len = stop - start;
            while (len > 0 && text[start + len - 1] != L']') --len;
            if (len > 0) {
                IniSection s;
                s.name = upToNul(stripBlanks(text.substr(start + 1, len - 2)));
                sections_.push_back(std::move(s));
                previous = nullptr;
                continue;
            }
            // without "]" the line is an entry
        }

        std::size_t nameLen = stop - start;
        std::size_t valueStart = std::wstring::npos;
        std::size_t eq = text.find(L'=', start);
        if (eq < stop) {
            std::size_t nameEnd = eq;
            while (nameEnd > start && isIniBlank(text[nameEnd - 1])) --nameEnd;
            nameLen = nameEnd - start;
            valueStart = eq + 1;
            while (valueStart < stop && isIniBlank(text[valueStart])) ++valueStart;
        }
        // An entry without a name is dropped when the entry before it had none either.
        if (nameLen == 0 && previous && previous->name.empty()) continue;
        IniEntry e;
        e.name = upToNul(text.substr(start, nameLen));
        if (valueStart != std::wstring::npos) {
            e.hasValue = true;
            e.value = upToNul(text.substr(valueStart, stop - valueStart));
        }
        sections_.back().entries.push_back(std::move(e));
        previous = &sections_.back().entries.back();
    }
}

std::wstring IniDocument::text() const {
    std::wstring out;
    for (const auto& s : sections_) {
        if (!s.name.empty()) out += L"[" + s.name + L"]\r\n";
        for (const auto& e : s.entries) {
            out += e.name;
            if (e.hasValue) out += L"=" + e.value;
            out += L"\r\n";
        }
    }
    return out;
}

const IniEntry* IniDocument::find(const std::wstring& section, const std::wstring& key) const {
    const std::wstring sectionTrimmed = stripBlanks(section);
    const std::wstring keyTrimmed = stripBlanks(key);
    for (const auto& s : sections_) {
        if (!sameIniName(s.name, sectionTrimmed)) continue;
        for (const auto& e : s.entries)
            if (sameIniName(e.name, keyTrimmed)) return &e;
        return nullptr;
    }
    return nullptr;
}

IniEntry& IniDocument::entryFor(const std::wstring& section, const std::wstring& key, bool append) {
    const std::wstring sectionTrimmed = stripBlanks(section);
    const std::wstring keyTrimmed = stripBlanks(key);
    for (auto& s : sections_) {
        if (!sameIniName(s.name, sectionTrimmed)) continue;
        if (!append)
            for (auto& e : s.entries)
                if (sameIniName(e.name, keyTrimmed)) return e;
        s.entries.push_back(IniEntry{stripLeadingBlanks(key), false, {}});
        return s.entries.back();
    }
    sections_.push_back(IniSection{stripLeadingBlanks(section), {IniEntry{stripLeadingBlanks(key), false, {}}}});
    return sections_.back().entries.back();
}

void IniDocument::set(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                      bool append) {
    IniEntry& e = entryFor(section, key, append);
    std::wstring v = stripLeadingBlanks(value);
    if (e.hasValue && e.value == v) return;
    e.value = v;
    e.hasValue = true;
    changed_ = true;
}

void IniDocument::removeEntry(const std::wstring& section, const std::wstring& key) {
    for (auto& s : sections_) {
        if (!sameIniName(s.name, section)) continue;
        for (auto it = s.entries.begin(); it != s.entries.end(); ++it) {
            if (sameIniName(it->name, key)) {
                s.entries.erase(it);
                changed_ = true;
                return;
            }
        }
    }
}

void IniDocument::removeSection(const std::wstring& section) {
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (sameIniName(it->name, section)) {
            sections_.erase(it);
            changed_ = true;
            return;
        }
    }
}

void IniDocument::clearSections(const std::wstring& section) {
    for (auto& s : sections_) {
        if (sameIniName(s.name, section) && !s.entries.empty()) {
            s.entries.clear();
            changed_ = true;
        }
    }
}

}  // namespace zav
