// The export type file format, read and written in one place: "FileInfo" (stamp and, in files this
// version writes, the mark Encoding=Escaped), "General" (the keys of kExportTypeKeys) and one
// section per column holding its rules as "replace=with" entries. The same reader takes the rules
// of a new type from the hand-made replaces file, whose texts are always literal.
#pragma once

#include <string>
#include <vector>

#include "exporttype/ExportType.h"
#include "ini/FileSystem.h"
#include "ini/cINIFile.h"

namespace zav {

class ExportTypeReader {
public:
    // A type file. A missing file reads as one without sections or values. What the storage refers
    // to must outlive the reader.
    static ExportTypeReader typeFile(const Storage& storage, const std::wstring& path);
    // The replaces file: rules only, read literally. An empty path or a missing file has no rules.
    static ExportTypeReader replacesFile(const Storage& storage, const std::wstring& path);

    // Whether [FileInfo] Type says this is an export type file.
    bool isExportType();
    // Whether its texts are escaped (the file carries the mark).
    bool escaped() const { return escaped_; }
    // One value of "General", decoded when the file is escaped.
    std::wstring value(const wchar_t* key);
    // Every value of "General".
    ExportType readType();
    // The rules of the column with that unique name, in the order of the entries; of two rules
    // for the same text (in any letter case) the first stands.
    std::vector<ReplaceRule> rulesFor(const std::wstring& columnName);

private:
    ExportTypeReader(const Storage& storage, const std::wstring& path, bool isTypeFile);
    bool hasSection(const std::wstring& name);

    const Storage storage_;
    cINIFile ini_;
    bool typeFile_ = false;
    bool escaped_ = false;
    bool sectionsRead_ = false;
    std::vector<std::wstring> sections_;
};

// What the catalog needs of one type file: whether it is one ([FileInfo] Type), and the signature
// it was made for and its name, decoded.
struct ExportTypeListing {
    bool exportType = false;
    std::wstring columns;
    std::wstring name;
};

// The listing of a type file, read once: a file that keeps to the part of the INI grammar on which
// every profile implementation agrees (plainIniDocument; every file the program writes does) is
// read whole and answered from its text; any other file, and one that cannot be read, through
// ExportTypeReader, entry by entry. Either way the answer is ExportTypeReader's.
ExportTypeListing listExportType(const Storage& storage, const std::wstring& path);

// Why the type could not be read back whole from its file (empty when it can): a text that no INI
// value can carry, or a rule too long for the one entry it is stored in. The message names the
// field and the limit.
std::wstring exportTypeLimitProblem(const ExportType& type, const std::vector<ColumnRules>& rules);

// Saves a type into the folder as "<name>.ini": the new file is written completely beside the old
// one first; then the old one becomes "<name>.old" (replacing an earlier backup) and the new one
// takes its name. Raises zav::Error on failure (also for a name that cannot be a file name and for
// a type with a limit problem), leaving the previous type file as it was.
void saveExportTypeFile(const Storage& storage, const std::wstring& folder, const ExportType& type,
                        const std::vector<ColumnRules>& rules);

}  // namespace zav
