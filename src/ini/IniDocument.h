// An INI file's text as lines: reading sections and entries from it, and editing it in place, so
// that a change touches only the lines it must and every other byte (blank lines, comments, line
// ends, text before the first header) stays as it was. Nothing here touches a file or a caller's
// buffer.
//
// The grammar, as the system's profile functions read a file:
// - A line ends at CR LF, CR or LF. Blanks (tab to CR, ^Z, space) around a line are not part of
//   it; a line that is empty then is a blank line.
// - A line whose first character is ";" is a comment: it is no entry, is never found, listed,
//   replaced or removed by a name, and stays when its section is deleted.
// - A line whose first character is "[" is a header. The section's name runs to the first "]",
//   or to the end of the line when there is none, blanks around it dropped; "[]" names the
//   section "". Lines before the first header belong to no section that can be read.
// - Any other line is an entry: the name before the first "=" (the whole line without one, an
//   entry without a value), the value after it, blanks around both dropped. A nameless entry
//   right after another nameless one is ignored.
// - Names are compared without regard to the case of ASCII letters.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace zav {

struct IniEntry {
    std::wstring name;
    bool hasValue = false;  // false for a line without "="
    std::wstring value;
};

struct IniSection {
    std::wstring name;
    std::vector<IniEntry> entries;  // in file order, comments and blank lines left out
};

// Blanks as the profile functions see them: tab to CR, ^Z and space.
bool isIniBlank(wchar_t c);
// Blanks at both ends removed.
std::wstring stripBlanks(const std::wstring& s);
// Names match with the ASCII letters folded only.
bool sameIniName(const std::wstring& a, const std::wstring& b);

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(const std::wstring& text);

    // The readable sections in file order (a name may come twice).
    std::vector<IniSection> sections() const;
    // Whether the text keeps to the part of the grammar on which every implementation of the
    // profile functions agrees, so that its sections() answer exactly what they would. It does
    // when:
    // - every line ends with CR LF (the last may end without);
    // - blanks around a line and around an entry's name and value are spaces, and what they
    //   surround neither begins nor ends with a character that one implementation or another
    //   counts as a blank (any control character, a no-break or other Unicode space);
    // - every header is "[" name "]", its name not empty, holding no "]" and with no blank at
    //   either end, and no two headers name the same section;
    // - there are no entries before the first header, every entry has a name and an "=", and no
    //   value is longer than `longestValue` characters;
    // - no name holds a letter that full Unicode case folding turns into an ASCII one (dotted and
    //   dotless i, long s, the Kelvin sign), as some implementations fold names that way;
    // - the text holds no NUL.
    // Comment lines may stand anywhere: an implementation that takes one for an entry gives it a
    // name beginning with ";", which no name the program asks for does.
    bool plain(std::size_t longestValue) const;
    // True once an edit changed what text() gives.
    bool changed() const { return changed_; }
    std::wstring text() const;

    // The first section of that name and in it the first entry of that name, blanks around the
    // names given ignored; false when there is none.
    bool find(const std::wstring& section, const std::wstring& key, IniEntry& found) const;
    // Gives the first entry of that name in the first section of that name the value (the line
    // rewritten as name=value). A missing entry is added after the section's last entry (or its
    // header), a missing section at the end of the text. Names are written without the blanks
    // around them, the value as given. With `append` a new entry is added even when one exists.
    void set(const std::wstring& section, const std::wstring& key, const std::wstring& value, bool append);
    // Removes the line of the first entry of that name, looking in every section of that name.
    void removeEntry(const std::wstring& section, const std::wstring& key);
    // Removes the first section of that name: its header, entries and blank lines; its comment
    // lines stay.
    void removeSection(const std::wstring& section);
    // Removes the entries (not the comments) of every section of that name.
    void clearSections(const std::wstring& section);

private:
    enum class Kind { Blank, Comment, Header, Entry, Ignored };
    struct Line {
        Line(std::wstring t, std::wstring e) : text(std::move(t)), end(std::move(e)) {}
        std::wstring text;  // as in the file, without its line end
        std::wstring end;   // CR LF, CR, LF, or nothing for a last line without one
        Kind kind = Kind::Blank;
        std::wstring name;  // header: the section's name; entry: its name
        bool hasValue = false;
        std::wstring value;
    };

    // Sets the line's kind, name and value from its text.
    static void classify(Line& line, const Line* previousEntry);
    void reclassify();
    // Index of the header of the first section of that name (exact, blanks already dropped), or npos.
    std::size_t headerOf(const std::wstring& name, std::size_t from = 0) const;
    // One past the last line of the section whose header is at `header`.
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t entryOf(std::size_t header, const std::wstring& key) const;
    void insertLine(std::size_t at, const std::wstring& text);
    void eraseLine(std::size_t at);

    std::vector<Line> lines_;
    bool changed_ = false;
};

}  // namespace zav
