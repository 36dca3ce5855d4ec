// An INI file's text as sections and entries: reading it, finding and changing entries, and
// writing it back. Nothing here touches a file or a caller's buffer.
//
// The grammar is that of the system's ANSI profile functions, quirks included, because the INI
// files are shared with them:
// - A line ends at a CR or LF (any run of them); blanks (tab to CR, ^Z, space) around a line,
//   around a header's name, around the "=" and before a value are dropped; blank lines disappear.
//   A line starting with "[" and holding a "]" is a header (the name runs to the last "]"); any
//   other line is an entry, with or without "="; comment lines are entries whose name starts
//   with ";".
// - Lines before the first header form a section with an empty name, present whenever the text
//   is not empty.
// - The text written back holds "[name]" and "name=value" lines (or "name" for a line without
//   "="), each ended by CR LF, no blank lines.
// - Names are compared without regard to the case of ASCII letters; lookups by value ignore blanks
//   around the names given, deletions do not.
#pragma once

#include <string>
#include <vector>

namespace zav {

struct IniEntry {
    std::wstring name;
    bool hasValue = false;  // false for a line without "="
    std::wstring value;
};

struct IniSection {
    std::wstring name;
    std::vector<IniEntry> entries;
};

// Blanks as the profile functions see them: tab to CR, ^Z and space.
bool isIniBlank(wchar_t c);
std::wstring stripLeadingBlanks(const std::wstring& s);
// Leading blanks, and trailing ones short of the first character.
std::wstring stripBlanks(const std::wstring& s);
// Names match with the ASCII letters folded only.
bool sameIniName(const std::wstring& a, const std::wstring& b);

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(const std::wstring& text);

    const std::vector<IniSection>& sections() const { return sections_; }
    // True once an edit changed what text() gives.
    bool changed() const { return changed_; }
    std::wstring text() const;

    // The first section of that name (blanks around the names given ignored) and in it the first
    // entry of that name; nullptr when there is none.
    const IniEntry* find(const std::wstring& section, const std::wstring& key) const;
    // Sets the value of the entry (created at the end of its section, the section at the end of
    // the text, when missing); with `append` a new entry is added even when one exists.
    void set(const std::wstring& section, const std::wstring& key, const std::wstring& value, bool append);
    // Removes the first entry of that exact name (letter case aside) in any section of that name.
    void removeEntry(const std::wstring& section, const std::wstring& key);
    // Removes the first section of that exact name with its lines.
    void removeSection(const std::wstring& section);
    // Empties every section of that exact name.
    void clearSections(const std::wstring& section);

private:
    IniEntry& entryFor(const std::wstring& section, const std::wstring& key, bool append);

    std::vector<IniSection> sections_;
    bool changed_ = false;
};

}  // namespace zav
