// An export type as a value: its name, output file, column signature, the five HTML fragments and
// the format with its settings, with the one table of the keys under which a type file's "General" section keeps them; and the
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
    // Kept as the texts of the file. A key missing from a file of an earlier version reads empty,
    // and empty means what that version did: an HTML file, columns in index order.
    std::wstring format;         // "HTML", "CSV", "TSV" (tab-separated text), "JSON" or "XML"
    std::wstring delimiter;      // CSV: one character
    std::wstring textEncoding;   // CSV and TSV: "UTF-8" (with a byte-order mark) or "ANSI"
    std::wstring formulaSafety;  // CSV and TSV: "1" or "0"
    std::wstring columnOrder;    // "Display" (as the list shows them, no hidden ones) or "Index"
    std::wstring openAfterExport;  // "1": the written file is opened with its program
    std::wstring selectedRowsOnly;  // "1": only the rows selected in the list
    std::wstring checkedColumn;     // "1": a first column "Checked" (Yes, No) for lists with check boxes
};

inline constexpr const wchar_t* kFormatHtml = L"HTML";
inline constexpr const wchar_t* kFormatCsv = L"CSV";
inline constexpr const wchar_t* kFormatTsv = L"TSV";
inline constexpr const wchar_t* kFormatJson = L"JSON";
inline constexpr const wchar_t* kFormatXml = L"XML";
inline constexpr const wchar_t* kEncodingUtf8 = L"UTF-8";
inline constexpr const wchar_t* kEncodingAnsi = L"ANSI";
inline constexpr const wchar_t* kColumnOrderDisplay = L"Display";
inline constexpr const wchar_t* kColumnOrderIndex = L"Index";

enum class ExportFormat { Html, Csv, Tsv, Json, Xml };

// The format a type's text names; an empty or unknown text is HTML, the only format there was.
inline ExportFormat exportFormatOf(const std::wstring& text) {
    if (text == kFormatCsv) return ExportFormat::Csv;
    if (text == kFormatTsv) return ExportFormat::Tsv;
    if (text == kFormatJson) return ExportFormat::Json;
    if (text == kFormatXml) return ExportFormat::Xml;
    return ExportFormat::Html;
}

inline const wchar_t* exportFormatText(ExportFormat format) {
    switch (format) {
        case ExportFormat::Csv: return kFormatCsv;
        case ExportFormat::Tsv: return kFormatTsv;
        case ExportFormat::Json: return kFormatJson;
        case ExportFormat::Xml: return kFormatXml;
        default: return kFormatHtml;
    }
}

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
    {L"Format", &ExportType::format},
    {L"Delimiter", &ExportType::delimiter},
    {L"TextEncoding", &ExportType::textEncoding},
    {L"FormulaSafety", &ExportType::formulaSafety},
    {L"ColumnOrder", &ExportType::columnOrder},
    {L"OpenAfterExport", &ExportType::openAfterExport},
    {L"SelectedRowsOnly", &ExportType::selectedRowsOnly},
    {L"CheckedColumn", &ExportType::checkedColumn},
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
