// The JSON and XML writers: every text comes back whole through a standard reader (escapes, the
// characters XML cannot hold, line breaks in attributes), keys made unique as the column list
// makes them, and a stream export in UTF-8 without a byte-order mark whatever the plan says.
#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "console/Utf8StreamWriter.h"
#include "format/JsonWriter.h"
#include "format/XmlWriter.h"
#include "job/StreamExport.h"
#include "text/Utf8.h"

using namespace zav;

namespace {

// The grid streamed in `format`, every column in index order (the check boxes' first when asked).
std::string streamed(const exporttest::Grid& g, ExportFormat format, bool checked = false, bool ansi = false) {
    exporttest::FakeCaptureFactory factory;
    factory.grids[1] = std::make_shared<exporttest::Grid>(g);
    auto grid = openGrid(factory, GridTarget{1, ControlKind::ListView, L"SysListView32"});
    ExportPlan plan;
    plan.format = format;
    plan.delimited.utf8 = !ansi;
    plan.delimited.delimiter = format == ExportFormat::Tsv ? L'\t' : L',';
    plan.columns = exportedColumns(grid->info, false, checked);
    std::string bytes;
    Utf8StreamWriter out([&](const std::string& block) { bytes += block; });
    runToEnd(*startStreamExport(out, grid, plan));
    return bytes;
}

const std::wstring kLone(1, static_cast<wchar_t>(0xD800));

}  // namespace

TEST(JsonXmlText, EscapesExactlyWhatTheFormatCannotCarry) {
    const struct {
        std::wstring text;
        std::wstring json, content, attribute;
    } cases[] = {
        {L"plain \u00e9\u0416", L"\"plain \u00e9\u0416\"", L"plain \u00e9\u0416", L"plain \u00e9\u0416"},
        {L"q\"b\\", L"\"q\\\"b\\\\\"", L"q\"b\\", L"q&quot;b\\"},
        {L"<a&b>", L"\"<a&b>\"", L"&lt;a&amp;b&gt;", L"&lt;a&amp;b&gt;"},
        {L"t\tr\rn\n", L"\"t\\tr\\rn\\n\"", L"t\tr&#13;n\n", L"t&#9;r&#13;n&#10;"},
        {L"\b\f\x01\x1f", L"\"\\b\\f\\u0001\\u001F\"", L"\b\f\x01\x1f", L"\b\f\x01\x1f"},
        {L"\U0001F600", L"\"\U0001F600\"", L"\U0001F600", L"\U0001F600"},
    };
    for (const auto& c : cases) {
        std::wstring json, content, attribute;
        appendJsonString(json, c.text);
        appendXmlText(content, c.text, false, false);
        appendXmlText(attribute, c.text, true, false);
        EXPECT_EQ(json, c.json) << toUtf8(c.json);
        EXPECT_EQ(content, c.content) << toUtf8(c.content);
        EXPECT_EQ(attribute, c.attribute) << toUtf8(c.attribute);
    }
    std::wstring lone;
    appendJsonString(lone, L"a" + kLone);
    EXPECT_EQ(lone, L"\"a\\uD800\"");
    // What XML 1.0 cannot hold: control characters but tab, CR and LF, lone surrogates, FFFE, FFFF.
    for (const std::wstring& bad : {std::wstring(L"\x01"), std::wstring(L"\x1f"), kLone, std::wstring(L"\xfffe")})
        EXPECT_TRUE(needsXmlEscape(L"x" + bad)) << toUtf8(bad);
    for (const std::wstring& good : {std::wstring(L"\t\r\n"), std::wstring(L"\U0001F600\xfffd\x7f")})
        EXPECT_FALSE(needsXmlEscape(good));
    std::wstring escaped;
    appendXmlText(escaped, L"a\\b\x01" + kLone, false, true);
    EXPECT_EQ(escaped, L"a\\\\b\\u0001\\uD800");
}

TEST(JsonXmlWriters, WriteEveryRowWithUniqueKeysAndTheHeaderAsAnAttribute) {
    exporttest::Grid g;
    g.headers = {L"Name", L"name", L"Checked"};
    g.rows = {{L"a\"\\", L"\u0416 \U0001F600", L"x"}, {L"b\x01", L"line\r\nbreak", L""}};
    g.checkBoxes = true;
    g.checked = {2};
    EXPECT_EQ(streamed(g, ExportFormat::Json, true),
              toUtf8(L"[\r\n{\"Checked1\":\"No\",\"Name\":\"a\\\"\\\\\",\"name1\":\"\u0416 \U0001F600\",\"Checked\":\"x\"},"
                     L"\r\n{\"Checked1\":\"Yes\",\"Name\":\"b\\u0001\",\"name1\":\"line\\r\\nbreak\",\"Checked\":\"\"}\r\n]\r\n"));
    EXPECT_EQ(streamed(g, ExportFormat::Xml),
              toUtf8(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<grid>\r\n"
                     L"<row><cell name=\"Name\">a\"\\</cell><cell name=\"name\">\u0416 \U0001F600</cell>"
                     L"<cell name=\"Checked\">x</cell></row>\r\n"
                     L"<row><cell name=\"Name\" escaped=\"true\">b\\u0001</cell><cell name=\"name\">line&#13;\nbreak</cell>"
                     L"<cell name=\"Checked\"></cell></row>\r\n</grid>\r\n"));
    g.rows.clear();
    EXPECT_EQ(streamed(g, ExportFormat::Json), "[\r\n]\r\n");
    EXPECT_EQ(streamed(g, ExportFormat::Xml), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<grid>\r\n</grid>\r\n");
}

TEST(JsonXmlWriters, AStreamIsUtf8WithoutAByteOrderMarkWhateverThePlanAsks) {
    exporttest::Grid g;
    g.headers = {L"A", L"B"};
    g.rows = {{L"\u20ac", L"x,y"}};
    for (bool ansi : {false, true}) {
        EXPECT_EQ(streamed(g, ExportFormat::Csv, false, ansi), "A,B\r\n\xE2\x82\xAC,\"x,y\"\r\n");
        EXPECT_EQ(streamed(g, ExportFormat::Tsv, false, ansi), "A\tB\r\n\xE2\x82\xAC\tx,y\r\n");
    }
}
