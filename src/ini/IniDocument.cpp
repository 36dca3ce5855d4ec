#include "ini/IniDocument.h"

namespace zav {
namespace {

const std::wstring kCrLf = L"\r\n";

// Text up to the first NUL: what the system's string functions see of a parsed name or value.
std::wstring upToNul(const std::wstring& s) { return s.substr(0, s.find(L'\0')); }

// Names are matched with only the ASCII letters folded: "\xE9" and "\xC9" are different names to the
// system's profile functions (measured with Wine 8.0's kernel32 in code page 1252), unlike the
// Latin-1 folding of upperChar.
wchar_t foldAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

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
    while (start < text.size()) {
        std::size_t stop = text.find_first_of(L"\r\n", start);
        std::wstring end;
        if (stop == std::wstring::npos) {
            stop = text.size();
        } else {
            end = text.compare(stop, 2, kCrLf) == 0 ? kCrLf : text.substr(stop, 1);
        }
        lines_.push_back(Line{text.substr(start, stop - start), end});
        start = stop + end.size();
    }
    reclassify();
}

IniDocument::Line IniDocument::classify(std::wstring text, std::wstring end, const Line* previousEntry) {
    Line line{std::move(text), std::move(end)};
    const std::wstring body = stripBlanks(line.text);
    if (body.empty()) {
        line.kind = Kind::Blank;
    } else if (body[0] == L';') {
        line.kind = Kind::Comment;
    } else if (body[0] == L'[') {
        line.kind = Kind::Header;
        std::size_t close = body.find(L']');
        line.name = upToNul(stripBlanks(body.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1)));
    } else {
        line.kind = Kind::Entry;
        std::size_t eq = body.find(L'=');
        line.name = upToNul(stripBlanks(body.substr(0, eq)));
        if (eq != std::wstring::npos) {
            line.hasValue = true;
            line.value = upToNul(stripBlanks(body.substr(eq + 1)));
        }
        if (line.name.empty() && previousEntry && previousEntry->name.empty()) line.kind = Kind::Ignored;
    }
    return line;
}

void IniDocument::reclassify() {
    const Line* previousEntry = nullptr;
    for (auto& line : lines_) {
        line = classify(std::move(line.text), std::move(line.end), previousEntry);
        if (line.kind == Kind::Entry) previousEntry = &line;
        else if (line.kind == Kind::Header) previousEntry = nullptr;
    }
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
