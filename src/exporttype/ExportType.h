// An export type as a value: its name, output file, column signature and the five HTML fragments,
// with the one table of the keys under which a type file's "General" section keeps them; and the
// replace rules of one column as plain data.
#pragma once

#include <string>
#include <vector>

namespace zav {

inline constexpr const wchar_t* kGeneralSection = L"General";
inline constexpr const wchar_t* kExportOptionType = L"ExportOption";  // [FileInfo] Type of a type file

struct ExportType {
    std::wstring name;          // also the base name of its file
    std::wstring file;          // the HTML output file
    std::wstring columns;       // the column signature it was made for
    std::wstring htmlHeader;
    std::wstring tableFormat;
    std::wstring headerFormat;
    std::wstring dataFormat;
    std::wstring htmlFooter;
};

struct ExportTypeKey {
    const wchar_t* key;
    std::wstring ExportType::*field;
};

// The keys of "General", in the order they are saved.
inline const ExportTypeKey kExportTypeKeys[] = {
    {L"Name", &ExportType::name},
    {L"File", &ExportType::file},
    {L"Columns", &ExportType::columns},
    {L"HTMLHeader", &ExportType::htmlHeader},
    {L"HTMLTableFormat", &ExportType::tableFormat},
    {L"HTMLHeaderFormat", &ExportType::headerFormat},
    {L"HTMLDataFormat", &ExportType::dataFormat},
    {L"HTMLFooter", &ExportType::htmlFooter},
};

struct ReplaceRule {
    std::wstring replace;
    std::wstring with;
};

// The rules of one column, under the column's unique name (its section in a type file).
struct ColumnRules {
    std::wstring column;
    std::vector<ReplaceRule> rules;
};

}  // namespace zav
