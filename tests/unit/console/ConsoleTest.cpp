// The console program against windows and grids of the tests' own: the command line's checks,
// the choice of one control (never a guess), what it writes where, and each exit code with its
// one line on the standard error.
#include <functional>

#include <gtest/gtest.h>

#include "ExportFixture.h"
#include "catalog/Catalog.h"
#include "console/ConsoleRun.h"
#include "console/Utf8StreamWriter.h"
#include "exporttype/ExportTypeFile.h"
#include "text/Utf8.h"

using namespace zav;
using exporttest::Grid;

namespace {

class Windows : public IWindowList {
public:
    std::vector<WindowEntry> topLevelWindows() override { return list; }
    std::vector<WindowEntry> list;
};

class Streams : public IConsoleStreams {
public:
    ITextWriter& output() override { return writer; }
    void error(const std::wstring& line) override { errors += toUtf8(line) + "\n"; }
    bool showsProgress() override { return true; }
    void progress(const std::wstring& text) override { progressLines += !text.empty(); }
    bool stopRequested() override { return stopAfter >= 0 && asked++ >= stopAfter; }
    std::string out, errors;
    Utf8StreamWriter writer{[this](const std::string& block) { out += block; }};
    int progressLines = 0, stopAfter = -1, asked = 0;
};

std::shared_ptr<Grid> grid(std::vector<std::wstring> headers, std::vector<std::vector<std::wstring>> rows,
                           std::int32_t count = -1) {
    auto g = std::make_shared<Grid>();
    g->headers = std::move(headers);
    g->rows = std::move(rows);
    g->rowCount = count;
    return g;
}

ControlEntry control(WindowHandle h, ControlKind kind, std::int32_t id) {
    return {h, kind == ControlKind::TreeView ? L"SysTreeView32" : L"SysListView32", kind, id, 0};
}

struct Console {
    exporttest::Environment env;
    Windows windows;
    exporttest::FakeCaptureFactory grids;
    Streams streams;

    Console() {
        WindowEntry shop{100, L"Orders \u2014 Shop", L"ShopMain", 42, L"shop.exe", 64, {}};
        shop.controls = {control(101, ControlKind::ListView, 1001), control(102, ControlKind::ListView, 1002),
                         control(103, ControlKind::TreeView, 7)};
        WindowEntry tasks{200, L"Task Manager", L"TaskManagerWindow", 77, L"taskmgr.exe", 64,
                          {control(201, ControlKind::ListView, 1)}};
        WindowEntry archive{300, L"Orders archive", L"ShopMain", 43, L"shop.exe", 32,
                            {control(301, ControlKind::TreeView, 1)}};
        windows.list = {shop, tasks, archive, WindowEntry{400, L"No controls", L"X", 5, L"x.exe", 64, {}}};
        for (auto& w : windows.list) numberControls(w);
        grids.grids[101] = grid({L"Name", L"Size"}, {{L"a", L"1 kB"}, {L"=b", L"2 kB"}});
        grids.grids[102] = grid({L"A"}, {});
        grids.grids[102]->refused = CaptureFailure::ProcessNotOpened;
        grids.grids[103] = grid({L"Item"}, {{L"tree"}});
        auto lost = grid({L"Image", L"PID"}, {}, 5000);
        lost->cell = [](std::int32_t r, std::int32_t) { return std::to_wstring(r); };
        lost->failAtRead = 3000;
        grids.grids[201] = lost;
        grids.grids[301] = grid({L"Item"}, {{L"old"}});
    }
    int run(std::vector<std::wstring> args) {
        ConsoleServices services{zavtest::storage(), env.settings, windows, grids, streams, L"ZAVExportCmd64", 64};
        return runConsole(args, services);
    }
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A type "Daily" for the columns `signature`: tab-separated, in index order, " kB" made "000" in Size.
void saveDaily(Console& console, const std::wstring& signature) {
    ExportType type;
    type.name = L"Daily";
    type.columns = signature;
    type.format = kFormatTsv;
    type.columnOrder = kColumnOrderIndex;
    saveExportTypeFile(zavtest::storage(), console.env.optionFolder(), type, {{L"Size", {{L" kB", L"000"}}}});
}

}  // namespace

TEST(ConsoleCommandLine, RefusesWhatItCannotCarryOutAsWritten) {
    const struct {
        std::vector<std::wstring> args;
        const char* problem;  // part of the refusal; "" for none
    } cases[] = {
        {{}, "no command"},
        {{L"print"}, "\"print\" is no command"},
        {{L"export"}, "export needs a window"},
        {{L"export", L"--window"}, "--window needs a value"},
        {{L"export", L"--window", L"a", L"--window=b"}, "--window is given twice"},
        {{L"export", L"--window", L"a", L"--kind", L"grid"}, "is no kind"},
        {{L"export", L"--window", L"a", L"--index", L"0"}, "is no position"},
        {{L"export", L"--handle", L"0xZZ"}, "is no window handle"},
        {{L"export", L"--window", L"a", L"--format", L"pdf"}, "is no format"},
        {{L"export", L"--window", L"a", L"--delimiter", L";;"}, "more than one character"},
        {{L"export", L"--window", L"a", L"--format", L"tsv", L"--delimiter", L";"}, "--delimiter is for --format csv"},
        {{L"export", L"--window", L"a", L"--format", L"json", L"--encoding", L"ansi"}, "--encoding is for"},
        {{L"export", L"--window", L"a", L"--encoding", L"ansi"}, "--encoding ansi needs --out"},
        {{L"export", L"--window", L"a", L"--type", L"T", L"--columns", L"index"}, "--columns cannot go with --type"},
        {{L"export", L"--window", L"a", L"--json"}, "--json is not an option of export"},
        {{L"list", L"--out", L"x"}, "--out is not an option of list"},
        {{L"list", L"window"}, "is no option"},
        {{L"export", L"--handle", L"4660", L"--id", L"-2", L"--format=XML", L"--quiet"}, ""},
        {{L"list", L"--process", L"1234", L"--json", L"--kind", L"ComboBox"}, ""},
        {{L"--help"}, ""},
    };
    for (const auto& c : cases) {
        ConsoleCommand command;
        const std::string problem = toUtf8(parseConsoleCommand(c.args, command));
        EXPECT_TRUE(*c.problem ? has(problem, c.problem) : problem.empty()) << problem << " / " << c.problem;
    }
    ConsoleCommand command;
    ASSERT_EQ(parseConsoleCommand({L"export", L"--handle", L"0x1234", L"--process", L"99", L"--id=-2"}, command), L"");
    EXPECT_EQ(command.window.handle, 0x1234u);
    EXPECT_EQ(command.window.processId, 99u);
    EXPECT_EQ(*command.control.id, -2);
}

TEST(ConsoleExport, PicksOneControlOrSaysWhyNotAndEndsWithItsExitCode) {
    const struct {
        std::vector<std::wstring> args;
        int code;
        const char* out;     // the standard output; nullptr: not checked
        const char* errors;  // part of the standard error
        std::function<void(Console&)> before = nullptr;
    } cases[] = {
        {{L"export", L"--window", L"\u2014 SHOP", L"--id", L"1001"}, 0, "Name,Size\r\na,1 kB\r\n'=b,2 kB\r\n", ""},
        {{L"export", L"--handle", L"103", L"--format", L"json"}, 0, "[\r\n{\"Item\":\"tree\"}\r\n]\r\n", ""},
        {{L"export", L"--class", L"shopmain", L"--kind", L"treeview", L"--process", L"43"}, 0, "Item\r\nold\r\n", ""},
        {{L"export", L"--process", L"shop", L"--kind", L"listview", L"--index", L"1", L"--no-formula-safety",
          L"--format", L"tsv"},
         0, "Name\tSize\r\na\t1 kB\r\n=b\t2 kB\r\n", ""},
        {{L"export", L"--window", L"orders"}, 3, "", "4 controls match --window \"orders\"; choose one"},
        {{L"export", L"--window", L"orders", L"--kind", L"treeview"}, 3, "", "0x0000012D\tSysTreeView32\ttreeview"},
        {{L"export", L"--window", L"nothing"}, 3, "", "no window matches --window \"nothing\""},
        {{L"export", L"--process", L"taskmgr.exe", L"--kind", L"treeview"}, 3, "",
         "no readable control matches --kind treeview in the windows that match --process \"taskmgr.exe\""},
        {{L"export", L"--process", L"shop.exe", L"--id", L"1002"}, 4, "",
         "cannot read the list view 0x00000066 (id 1002) of \"Orders \xE2\x80\x94 Shop\" (shop.exe 42): The program"},
        {{L"export", L"--process", L"77", L"--quiet"}, 5, nullptr, "ended while it was being read"},
        {{L"export", L"--process", L"shop", L"--id", L"1001", L"--selected"}, 3, "", "No rows are selected"},
        {{L"export", L"--process", L"shop", L"--id", L"1001", L"--out", L"Z:\\no\\such\\folder\\x.csv"}, 6, "", "cannot write \"Z:\\no"},
        {{L"export", L"--process", L"shop", L"--id", L"1001", L"--type", L"None"}, 2, "", "there is no export type file"},
        {{L"export", L"--window", L"shop", L"--format", L"xml", L"--delimiter", L";"}, 2, "", "--delimiter is for"},
        // A saved type brings its settings, only where its signature fits.
        {{L"export", L"--process", L"shop", L"--id", L"1001", L"--type", L"Daily"}, 0, "Name\tSize\r\na\t1000\r\n'=b\t2000\r\n", "",
         [](Console& c) { saveDaily(c, L"Name_Size"); }},
        {{L"export", L"--process", L"shop", L"--id", L"1001", L"--type", L"Daily"}, 3, "",
         "signature is \"Name_Size_Date\", the control's is \"Name_Size\"", [](Console& c) { saveDaily(c, L"Name_Size_Date"); }},
    };
    for (const auto& c : cases) {
        Console console;
        if (c.before) c.before(console);
        EXPECT_EQ(console.run(c.args), c.code) << console.streams.errors;
        if (c.out) {
            EXPECT_EQ(console.streams.out, c.out);
        }
        EXPECT_TRUE(has(console.streams.errors, c.errors)) << console.streams.errors << " / " << c.errors;
        EXPECT_EQ(console.streams.errors.empty(), c.code == 0) << console.streams.errors;
    }
}

TEST(ConsoleExport, StopKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    Console console;
    auto& big = *console.grids.grids[201];
    big.failAtRead = 0;
    const std::wstring file = console.env.dir.file(L"tasks.csv");
    zavtest::writeBytes(file, "previous");
    console.streams.stopAfter = 3;
    EXPECT_EQ(console.run({L"export", L"--process", L"taskmgr", L"--out", file}), 7);
    EXPECT_TRUE(has(console.streams.errors, "stopped by Ctrl+C or Ctrl+Break;")) << console.streams.errors;
    EXPECT_EQ(zavtest::readBytes(file), "previous");
    EXPECT_FALSE(zavtest::pathExists(file + L".tmp"));
    EXPECT_GT(console.streams.progressLines, 0);

    Console whole;
    whole.grids.grids[201]->failAtRead = 0;
    EXPECT_EQ(whole.run({L"export", L"--process", L"taskmgr", L"--out", file, L"--format", L"json"}), 0);
    const std::string json = zavtest::readBytes(file);
    EXPECT_EQ(json.substr(0, 30), "[\r\n{\"Image\":\"1\",\"PID\":\"1\"},\r\n{");
    EXPECT_TRUE(has(json, "{\"Image\":\"5000\",\"PID\":\"5000\"}\r\n]\r\n"));
}

TEST(ConsoleList, ShowsEveryReadableControlWithItsHeaderOrWhyItCannotBeRead) {
    Console console;
    EXPECT_EQ(console.run({L"list", L"--process", L"shop"}), 0);
    EXPECT_EQ(console.streams.out,
              toUtf8(L"shop.exe\t42\t64\t0x00000064\tOrders \u2014 Shop\t0x00000065\tSysListView32\tlistview\t1\t1001\t2\t2\tName\tSize\r\n"
                     L"shop.exe\t42\t64\t0x00000064\tOrders \u2014 Shop\t0x00000066\tSysListView32\tlistview\t2\t1002\t-\t-\t"
                     L"The program that owns the list view cannot be read (it may run with higher rights).\r\n"
                     L"shop.exe\t42\t64\t0x00000064\tOrders \u2014 Shop\t0x00000067\tSysTreeView32\ttreeview\t1\t7\t1\t1\tItem\r\n"
                     L"shop.exe\t43\t32\t0x0000012C\tOrders archive\t0x0000012D\tSysTreeView32\ttreeview\t1\t1\t1\t1\tItem\r\n"));
    Console json;
    EXPECT_EQ(json.run({L"list", L"--handle", L"0x12d", L"--json"}), 0);
    EXPECT_EQ(json.streams.out,
              "[\r\n{\"process\":\"shop.exe\",\"pid\":43,\"bits\":32,\"window\":\"0x0000012C\",\"title\":\"Orders archive\","
              "\"control\":\"0x0000012D\",\"class\":\"SysTreeView32\",\"kind\":\"treeview\",\"index\":1,\"id\":1,"
              "\"rows\":1,\"columns\":1,\"headers\":[\"Item\"],\"problem\":null}\r\n]\r\n");
    Console none;
    EXPECT_EQ(none.run({L"list", L"--window", L"no controls"}), 3);
    EXPECT_TRUE(has(none.streams.errors, "no readable control in a window that matches --window \"no controls\""));
}
