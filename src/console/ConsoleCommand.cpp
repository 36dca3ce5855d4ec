#include "console/ConsoleCommand.h"

#include <cwctype>

#include "core/Types.h"
#include "format/DelimitedWriter.h"
#include "text/Ansi.h"

namespace zav {
namespace {

constexpr ControlKind kKinds[] = {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox,
                                  ControlKind::ComboBox};

bool isFlag(const std::wstring& name) {
    for (const wchar_t* flag : {L"--json", L"--quiet", L"--selected", L"--checked", L"--no-formula-safety"})
        if (name == flag) return true;
    return false;
}

bool allDigits(const std::wstring& text) {
    if (text.empty() || text.size() > 9) return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return false;
    return true;
}

// A whole number in decimal, or in hexadecimal after 0x; false for anything else or one too large.
bool readNumber(const std::wstring& text, std::uint64_t limit, std::uint64_t& value) {
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    const std::size_t start = hex ? 2 : 0;
    if (text.size() == start) return false;
    value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        const wchar_t c = std::towlower(text[i]);
        unsigned digit = 0;
        if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f') digit = static_cast<unsigned>(c - L'a' + 10);
        else return false;
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit) return false;
    }
    return true;
}

struct Parser {
    ConsoleCommand& c;
    std::vector<std::wstring> seen;
    // The settings only an export without a type takes, as given.
    std::wstring formatSetting;

    std::wstring option(const std::wstring& name, const std::wstring& value, bool hasValue) {
        for (const auto& s : seen)
            if (s == name) return name + L" is given twice";
        seen.push_back(name);
        const bool list = c.verb == ConsoleVerb::List;
        const auto needs = [&]() { return name + L" needs a value"; };
        const auto bad = [&](const std::wstring& what) { return name + L" \"" + value + L"\": " + what; };
        // Options that take no value: --json is list's, the others export's.
        const struct {
            const wchar_t* name;
            bool* flag;
            bool exportSetting;
        } flags[] = {{L"--json", &c.json, false},
                     {L"--quiet", &c.quiet, false},
                     {L"--selected", &c.selectedRows, true},
                     {L"--checked", &c.checkedColumn, true}};
        for (const auto& f : flags) {
            if (name != f.name) continue;
            if (hasValue) return name + L" takes no value";
            if (list != (name == L"--json")) return name + L" is not an option of " + (list ? L"list" : L"export");
            if (f.exportSetting && formatSetting.empty()) formatSetting = name;
            *f.flag = true;
            return {};
        }
        if (name == L"--no-formula-safety") {
            if (list) return name + L" is not an option of list";
            if (hasValue) return name + L" takes no value";
            if (formatSetting.empty()) formatSetting = name;
            c.formulaSafety = false;
            return {};
        }
        if (!hasValue) return needs();
        std::uint64_t number = 0;
        if (name == L"--window") {
            if (value.empty()) return bad(L"the text is empty");
            c.window.title = value;
        } else if (name == L"--process") {
            if (value.empty()) return bad(L"the name is empty");
            if (allDigits(value)) {
                readNumber(value, 0xFFFFFFFFu, number);
                c.window.processId = static_cast<std::uint32_t>(number);
            } else {
                c.window.processName = value;
            }
        } else if (name == L"--class") {
            if (value.empty()) return bad(L"the name is empty");
            c.window.className = value;
        } else if (name == L"--handle") {
            if (!readNumber(value, sizeof(WindowHandle) == 8 ? 0xFFFFFFFFFFFFFFFFull : 0xFFFFFFFFull, number) ||
                number == 0)
                return bad(L"is no window handle (0x... or a decimal number)");
            c.window.handle = static_cast<WindowHandle>(number);
        } else if (name == L"--kind") {
            for (ControlKind kind : kKinds)
                if (equalsNoCase(value, kindArgument(kind))) c.control.kind = kind;
            if (c.control.kind == ControlKind::None) return bad(L"is no kind (listview, treeview, listbox or combobox)");
        } else if (list) {
            return name + L" is not an option of list";
        } else if (name == L"--id") {
            const bool negative = !value.empty() && value[0] == L'-';
            if (!readNumber(negative ? value.substr(1) : value, 0x7FFFFFFF, number)) return bad(L"is no control ID");
            c.control.id = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(number) : number);
        } else if (name == L"--index") {
            if (!allDigits(value) || !readNumber(value, 0x7FFFFFFF, number) || number == 0)
                return bad(L"is no position (1 for the first control)");
            c.control.index = static_cast<std::int32_t>(number);
        } else if (name == L"--type") {
            if (value.empty()) return bad(L"the name is empty");
            c.typeName = value;
        } else if (name == L"--out") {
            if (value.empty()) return bad(L"the file name is empty");
            c.output = value;
        } else if (name == L"--format") {
            const ExportFormat formats[] = {ExportFormat::Html, ExportFormat::Csv, ExportFormat::Tsv,
                                            ExportFormat::Json, ExportFormat::Xml};
            bool known = false;
            for (ExportFormat f : formats)
                if (equalsNoCase(value, exportFormatText(f))) c.format = f, known = true;
            if (!known) return bad(L"is no format (html, csv, tsv, json or xml)");
            if (formatSetting.empty()) formatSetting = name;
        } else if (name == L"--columns") {
            if (equalsNoCase(value, L"index")) c.indexOrder = true;
            else if (!equalsNoCase(value, L"display")) return bad(L"is no column order (display or index)");
            if (formatSetting.empty()) formatSetting = name;
        } else if (name == L"--delimiter") {
            const std::wstring problem = delimiterProblem(value);
            if (!problem.empty()) return name + L": " + problem;
            c.delimiter = value[0];
            if (formatSetting.empty()) formatSetting = name;
        } else if (name == L"--encoding") {
            if (equalsNoCase(value, L"ansi")) c.ansi = true;
            else if (!equalsNoCase(value, L"utf-8") && !equalsNoCase(value, L"utf8"))
                return bad(L"is no encoding (utf-8 or ansi)");
            if (formatSetting.empty()) formatSetting = name;
        } else {
            return name + L" is no option (--help lists them)";
        }
        return {};
    }

    // What only holds of the options together.
    std::wstring whole() {
        if (c.verb != ConsoleVerb::Export) return {};
        if (!c.window.any()) return L"export needs a window: --window, --process, --class or --handle";
        if (!c.typeName.empty() && !formatSetting.empty())
            return formatSetting + L" cannot go with --type, which brings its own settings";
        const auto given = [&](const wchar_t* name) {
            for (const auto& s : seen)
                if (s == name) return true;
            return false;
        };
        if (given(L"--delimiter") && c.format != ExportFormat::Csv) return L"--delimiter is for --format csv only";
        const bool delimited = c.format == ExportFormat::Csv || c.format == ExportFormat::Tsv;
        if ((given(L"--encoding") || given(L"--no-formula-safety")) && !delimited)
            return std::wstring(given(L"--encoding") ? L"--encoding" : L"--no-formula-safety") +
                   L" is for --format csv or tsv only";
        if (c.ansi && c.output.empty())
            return L"--encoding ansi needs --out: the standard output is always UTF-8";
        return {};
    }
};

}  // namespace

std::wstring kindArgument(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListView: return L"listview";
        case ControlKind::TreeView: return L"treeview";
        case ControlKind::ListBox: return L"listbox";
        case ControlKind::ComboBox: return L"combobox";
        case ControlKind::None: break;
    }
    return L"";
}

std::wstring parseConsoleCommand(const std::vector<std::wstring>& args, ConsoleCommand& command) {
    command = ConsoleCommand{};
    if (args.empty()) return L"no command: list or export (--help tells more)";
    const std::wstring& verb = args[0];
    if (verb == L"--help" || verb == L"-h" || verb == L"/?" || verb == L"help") {
        command.verb = ConsoleVerb::Help;
        return args.size() == 1 ? std::wstring() : L"--help takes nothing after it";
    }
    if (verb == L"--version") {
        command.verb = ConsoleVerb::Version;
        return args.size() == 1 ? std::wstring() : L"--version takes nothing after it";
    }
    if (verb == L"list") command.verb = ConsoleVerb::List;
    else if (verb == L"export") command.verb = ConsoleVerb::Export;
    else return L"\"" + verb + L"\" is no command: list or export (--help tells more)";

    Parser parser{command, {}, {}};
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::wstring name = args[i], value;
        bool hasValue = false;
        if (name.size() < 3 || name.compare(0, 2, L"--") != 0)
            return L"\"" + name + L"\" is no option (options begin with --)";
        const std::size_t eq = name.find(L'=');
        if (eq != std::wstring::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            hasValue = true;
        } else if (i + 1 < args.size() && !isFlag(name)) {
            value = args[++i];
            hasValue = true;
        }
        const std::wstring problem = parser.option(name, value, hasValue);
        if (!problem.empty()) return problem;
    }
    return parser.whole();
}

std::wstring consoleHelp(const std::wstring& p) {
    return p + L" " + std::to_wstring(kVersionMajor) + L"." + std::to_wstring(kVersionMinor) + L"." +
           std::to_wstring(kVersionRevision) +
           L": reads a list view, tree view, list box or combo box of another running program and writes its\n"
           L"contents to a file or to the standard output.\n"
           L"\n"
           L"  " + p + L" list [--window TEXT] [--process NAME|PID] [--class NAME] [--handle 0x...]\n"
           L"         [--kind KIND] [--json]\n"
           L"      Every control that can be read in the matching top-level windows (all windows when none is\n"
           L"      given), one a line, fields separated by tabs: process, process ID, word size, window handle,\n"
           L"      title, control handle, class, kind, its position among the window's controls of that kind,\n"
           L"      control ID, rows, columns, then the header texts (or why it cannot be read). --json: one\n"
           L"      JSON array of the same.\n"
           L"\n"
           L"  " + p + L" export WINDOW [CONTROL] [WHAT] [--out FILE] [--quiet]\n"
           L"    WINDOW (at least one; every one given must hold):\n"
           L"      --window TEXT        the title contains TEXT, in any letter case\n"
           L"      --process NAME|PID   the program's file name (\".exe\" optional) or its process ID\n"
           L"      --class NAME         the window's class name\n"
           L"      --handle 0x...       the window's handle, or the handle of a control in it\n"
           L"    CONTROL (needed when the window has more than one readable control):\n"
           L"      --kind listview|treeview|listbox|combobox\n"
           L"      --id N               the control's ID\n"
           L"      --index N            the Nth of the controls the others leave, as list shows them\n"
           L"    WHAT:\n"
           L"      --type NAME          a saved export type (its format, columns, rules, encoding, options);\n"
           L"                           refused when its column signature is not the control's\n"
           L"      or, without --type:\n"
           L"      --format html|csv|tsv|json|xml   (csv when not given)\n"
           L"      --columns display|index          as the list shows them (no hidden ones), or all\n"
           L"      --selected           only the selected rows\n"
           L"      --checked            a first column \"Checked\" (Yes or No) for lists with check boxes\n"
           L"      --delimiter C        CSV's delimiter (\",\" when not given)\n"
           L"      --encoding utf-8|ansi             CSV and TSV files (UTF-8 with a byte-order mark)\n"
           L"      --no-formula-safety  CSV and TSV: no ' before a cell that starts with = + - @\n"
           L"    --out FILE             write FILE (under a temporary name first; on any failure the previous\n"
           L"                           file stays); without it the grid goes to the standard output in UTF-8\n"
           L"                           without a byte-order mark\n"
           L"    --quiet                no progress line on the console\n"
           L"\n"
           L"Exit codes: 0 exported (or listed); 2 wrong arguments; 3 no window or control matched, or more\n"
           L"than one (the candidates are listed), or the export type does not fit the control; 4 the control\n"
           L"cannot be read (a 64-bit program from the 32-bit program, another user's or an elevated program, a\n"
           L"list that keeps no texts); 5 the program stopped answering or ended during the read; 6 the file or\n"
           L"the standard output could not be written; 7 stopped by Ctrl+C or Ctrl+Break (the previous file\n"
           L"stays, no temporary file is left); 1 anything else. Every failure writes one line to the\n"
           L"standard error.\n"
           L"\n"
           L"Examples:\n"
           L"  " + p + L" list --process taskmgr.exe\n"
           L"  " + p + L" export --process taskmgr.exe --kind listview --out C:\\Reports\\processes.csv\n"
           L"  " + p + L" export --window \"Orders\" --id 1001 --format json\n"
           L"  " + p + L" export --window \"Orders\" --type \"Daily orders\" --out orders.html\n";
}

}  // namespace zav
