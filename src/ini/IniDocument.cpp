#include "ini/IniDocument.h"

#include <algorithm>

namespace zav {
namespace {

const std::wstring kCrLf = L"\r\n";

// Text up to the first NUL: what the system's string functions see of a parsed name or value.
std::wstring upToNul(const std::wstring& s) { return s.substr(0, s.find(L'\0')); }

// Names are matched with only the ASCII letters folded: "\xE9" and "\xC9" are different names to the
// system's profile functions (measured with Wine 8.0's kernel32 in code page 1252), unlike the
// Latin-1 folding of upperChar.
wchar_t foldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

// Counted as a blank by one implementation of the profile functions or another: the control
// characters, and the spaces of Unicode (which full-Unicode implementations trim).
bool mayBeBlank(wchar_t c) {
    if (c <= 0x20 || c == 0x7F || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x2028 || c == 0x2029 ||
        c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF)
        return true;
    return c >= 0x2000 && c <= 0x200B;
}

// The text between `from` and `to` is trimmed alike everywhere: whatever is dropped around it is
// spaces, and what is kept begins and ends with no possible blank.
bool trimsAlike(const std::wstring& s, std::size_t from, std::size_t to) {
    std::size_t first = from, last = to;
    while (first < last && s[first] == L' ') ++first;
    while (last > first && s[last - 1] == L' ') --last;
    if (first == last) return true;
    return !mayBeBlank(s[first]) && !mayBeBlank(s[last - 1]);
}

// Letters that full Unicode case folding matches with ASCII letters: U+0130 and U+0131 (i), U+017F
// (s), U+212A (k).
bool foldsToAscii(const std::wstring& name) {
    for (wchar_t c : name)
        if (c == 0x130 || c == 0x131 || c == 0x17F || c == 0x212A) return true;
    return false;
}

}  // namespace

bool isIniBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::wstring stripBlanks(const std::wstring& s) {
    std::size_t first = 0, last = s.size();
    while (first < last && isIniBlank(s[first])) ++first;
    while (last > first && isIniBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

bool sameIniName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

IniDocument::IniDocument(const std::wstring& text) {
    std::size_t start = 0;
    lines_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\n')) + 1);
    while (start < text.size()) {
        std::size_t stop = start;
        while (stop < text.size() && text[stop] != L'\r' && text[stop] != L'\n') ++stop;
        std::wstring end;
        if (stop < text.size()) end = text.compare(stop, 2, kCrLf) == 0 ? kCrLf : text.substr(stop, 1);
        lines_.push_back(Line{text.substr(start, stop - start), end});
        start = stop + end.size();
    }
    reclassify();
}

void IniDocument::classify(Line& line, const Line* previousEntry) {
    const std::wstring& t = line.text;
    // The line's body: the text without the blanks around it.
    std::size_t first = 0, last = t.size();
    while (first < last && isIniBlank(t[first])) ++first;
    while (last > first && isIniBlank(t[last - 1])) --last;
    // A part of the body, blanks around it dropped, up to its first NUL.
    auto part = [&t](std::size_t from, std::size_t to) {
        while (from < to && isIniBlank(t[from])) ++from;
        while (to > from && isIniBlank(t[to - 1])) --to;
        return upToNul(t.substr(from, to - from));
    };
    line.name.clear();
    line.value.clear();
    line.hasValue = false;
    if (first == last) {
        line.kind = Kind::Blank;
    } else if (t[first] == L';') {
        line.kind = Kind::Comment;
    } else if (t[first] == L'[') {
        line.kind = Kind::Header;
        const std::size_t close = t.find(L']', first + 1);
        line.name = part(first + 1, close < last ? close : last);
    } else {
        line.kind = Kind::Entry;
        std::size_t eq = t.find(L'=', first);
        if (eq >= last) eq = std::wstring::npos;
        line.name = part(first, eq == std::wstring::npos ? last : eq);
        if (eq != std::wstring::npos) {
            line.hasValue = true;
            line.value = part(eq + 1, last);
        }
        if (line.name.empty() && previousEntry && previousEntry->name.empty()) line.kind = Kind::Ignored;
    }
}

void IniDocument::reclassify() {
    const Line* previousEntry = nullptr;
    for (auto& line : lines_) {
        classify(line, previousEntry);
        if (line.kind == Kind::Entry) previousEntry = &line;
        else if (line.kind == Kind::Header) previousEntry = nullptr;
    }
}

bool IniDocument::plain(std::size_t longestValue) const {
    std::size_t headers = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        const std::wstring& t = line.text;
        if (line.end != kCrLf && !(line.end.empty() && i + 1 == lines_.size())) return false;
        if (t.find(L'\0') != std::wstring::npos) return false;
        if (!trimsAlike(t, 0, t.size())) return false;
        if (line.kind == Kind::Blank || line.kind == Kind::Comment) continue;
        if (line.kind != Kind::Header && line.kind != Kind::Entry) return false;
        if (foldsToAscii(line.name)) return false;
        // The body, now known to be trimmed of spaces alone.
        std::size_t first = 0, last = t.size();
        while (first < last && t[first] == L' ') ++first;
        while (last > first && t[last - 1] == L' ') --last;
        if (line.kind == Kind::Header) {
            // Implementations differ on blanks inside the brackets: there may be none.
            if (t[last - 1] != L']' || t.find(L']', first) != last - 1) return false;
            if (line.name.empty() || mayBeBlank(t[first + 1]) || mayBeBlank(t[last - 2])) return false;
            if (headerOf(line.name) != i) return false;  // the section is named twice
            ++headers;
            continue;
        }
        if (headers == 0 || !line.hasValue || line.name.empty()) return false;
        if (line.value.size() > longestValue) return false;
        const std::size_t eq = t.find(L'=', first);
        if (!trimsAlike(t, first, eq) || !trimsAlike(t, eq + 1, last)) return false;
    }
    return true;
}

std::vector<IniSection> IniDocument::sections() const {
    std::vector<IniSection> out;
    for (const auto& line : lines_) {
        if (line.kind == Kind::Header) out.push_back(IniSection{line.name, {}});
        else if (line.kind == Kind::Entry && !out.empty())
            out.back().entries.push_back(IniEntry{line.name, line.hasValue, line.value});
    }
    return out;
}

std::wstring IniDocument::text() const {
    std::wstring out;
    for (const auto& line : lines_) out += line.text + line.end;
    return out;
}

std::size_t IniDocument::headerOf(const std::wstring& name, std::size_t from) const {
    for (std::size_t i = from; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Header && sameIniName(lines_[i].name, name)) return i;
    return std::wstring::npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Header) ++i;
    return i;
}

std::size_t IniDocument::entryOf(std::size_t header, const std::wstring& key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Entry && sameIniName(lines_[i].name, key)) return i;
    return std::wstring::npos;
}

bool IniDocument::find(const std::wstring& section, const std::wstring& key, IniEntry& found) const {
    const std::size_t header = headerOf(stripBlanks(section));
    if (header == std::wstring::npos) return false;
    const std::size_t entry = entryOf(header, stripBlanks(key));
    if (entry == std::wstring::npos) return false;
    found = IniEntry{lines_[entry].name, lines_[entry].hasValue, lines_[entry].value};
    return true;
}

void IniDocument::insertLine(std::size_t at, const std::wstring& text) {
    // The line before a new one must end; a new line ends as most lines of the file do: CR LF.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = kCrLf;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, kCrLf});
    reclassify();
    changed_ = true;
}

void IniDocument::eraseLine(std::size_t at) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    reclassify();
    changed_ = true;
}

void IniDocument::set(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                      bool append) {
    const std::wstring sectionName = stripBlanks(section);
    const std::wstring keyName = stripBlanks(key);
    const std::wstring line = keyName + L"=" + value;
    const std::size_t header = headerOf(sectionName);
    if (header == std::wstring::npos) {
        insertLine(lines_.size(), L"[" + sectionName + L"]");
        insertLine(lines_.size(), line);
        return;
    }
    if (!append) {
        const std::size_t entry = entryOf(header, keyName);
        if (entry != std::wstring::npos) {
            const Line& old = lines_[entry];
            if (old.hasValue && old.value == value) return;  // reads back the same: the file stays
            // The line keeps the name as the file spells it.
            lines_[entry].text = old.name + L"=" + value;
            reclassify();
            changed_ = true;
            return;
        }
    }
    // After the section's last entry, or its header: blank lines and comments that end the
    // section stay in front of the next header.
    std::size_t after = header;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Entry || lines_[i].kind == Kind::Ignored) after = i;
    insertLine(after + 1, line);
}

void IniDocument::removeEntry(const std::wstring& section, const std::wstring& key) {
    const std::wstring sectionName = stripBlanks(section);
    for (std::size_t header = headerOf(sectionName); header != std::wstring::npos;
         header = headerOf(sectionName, header + 1)) {
        const std::size_t entry = entryOf(header, stripBlanks(key));
        if (entry != std::wstring::npos) return eraseLine(entry);
    }
}

void IniDocument::removeSection(const std::wstring& section) {
    const std::size_t header = headerOf(stripBlanks(section));
    if (header == std::wstring::npos) return;
    const std::size_t end = sectionEnd(header);
    std::vector<Line> kept(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(header));
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Comment) kept.push_back(lines_[i]);
    kept.insert(kept.end(), lines_.begin() + static_cast<std::ptrdiff_t>(end), lines_.end());
    lines_ = std::move(kept);
    reclassify();
    changed_ = true;
}

void IniDocument::clearSections(const std::wstring& section) {
    const std::wstring name = stripBlanks(section);
    std::vector<Line> kept;
    bool inSection = false;
    for (auto& line : lines_) {
        if (line.kind == Kind::Header) inSection = sameIniName(line.name, name);
        if (inSection && (line.kind == Kind::Entry || line.kind == Kind::Ignored)) {
            changed_ = true;
            continue;
        }
        kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    reclassify();
}

}  // namespace zav
