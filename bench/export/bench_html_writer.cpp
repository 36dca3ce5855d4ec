// bench_html_writer ROWS OUTPUT_FILE [html|csv|tsv]
// Writes a grid of ROWS x 10 cells in the format asked for (HTML by default; CSV and TSV in UTF-8
// with formula safety on), made up on the fly (the grid itself takes no memory), with
// three rules per column, and reports cells per second. Run it for 10000 and 100000 rows under
// /usr/bin/time -v to compare the peak memory: the writer keeps no copy of the grid.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "capture/GridSource.h"
#include "core/Platform.h"
#include "format/DelimitedWriter.h"
#include "format/HtmlWriter.h"
#include "ini/FileSystem.h"
#include "text/Ansi.h"

using namespace zav;

namespace {

class GeneratedGrid : public IGridSource {
public:
    explicit GeneratedGrid(std::int32_t rows) : rows_(rows) {}
    VBool readListViewInfo(ListViewInfo& info) override {
        info.lColumnCount = 10;
        info.lItemCount = rows_;
        info.szColumnText.assign(1, L"");
        for (int c = 1; c <= 10; ++c) info.szColumnText.push_back(L"Column " + std::to_wstring(c));
        return vbTrue;
    }
    std::wstring getColumnText(std::int32_t c) override { return L"Column " + std::to_wstring(c); }
    std::wstring getCellText(std::int32_t r, std::int32_t c) override {
        switch (c % 3) {
            case 0: return std::to_wstring(r * 7 + c);                      // numeric
            case 1: return L"item " + std::to_wstring(r) + L" <a&b>";        // text with markup
            default: return L"1,0" + std::to_wstring(r % 100) + L" kB";      // text with a comma
        }
    }
    CaptureFailure failure() const override { return CaptureFailure::None; }

private:
    std::int32_t rows_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_html_writer ROWS OUTPUT_FILE [html|csv|tsv]\n");
        return 2;
    }
    const std::int32_t rows = std::atoi(argv[1]);
    const std::wstring output = fromAnsi(argv[2]);
    const std::string format = argc > 3 ? argv[3] : "html";
    if (format != "html" && format != "csv" && format != "tsv") {
        std::fprintf(stderr, "unknown format %s\n", format.c_str());
        return 2;
    }

    GeneratedGrid grid(rows);
    ListViewInfo info;
    grid.readListViewInfo(info);

    std::vector<cColumn> columns(11);
    std::vector<const cReplaceList*> rules(11, nullptr);
    for (int c = 1; c <= 10; ++c) {
        columns[c].addReplace(L"7", L"seven");
        columns[c].addReplace(L",", L"");
        columns[c].addReplace(L"item", L"<b>item</b>");
        rules[c] = &columns[c].replaces;
    }
    const HtmlFragments fragments{L"<HTML>", L"border=1", L"class=h", L"class=d", L"</HTML>"};

    auto fs = makeSystemFileSystem();
    const NumberFormat numbers = makeSystemHost()->numberFormat();
    const auto start = std::chrono::steady_clock::now();
    auto writer = fs->openTextWriter(output);
    if (format == "html") {
        writeHtmlTable(*writer, fragments, info, grid, rules, numbers);
    } else {
        DelimitedOptions options;
        options.delimiter = format == "csv" ? L',' : L'\t';
        DelimitedTableWriter table(*writer, options, info, grid, rules, numbers);
        table.begin();
        while (table.nextBlock()) {
        }
        table.end();
    }
    writer->close();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cells = static_cast<double>(rows) * 10.0;
    std::printf("%s: rows %d, cells %.0f, %.3f s, %.0f cells/s\n", format.c_str(), rows, cells, seconds, cells / seconds);
    return 0;
}
