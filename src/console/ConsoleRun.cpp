#include "console/ConsoleRun.h"

#include <memory>

#include "catalog/Catalog.h"
#include "core/Error.h"
#include "exporttype/ExportTypeFile.h"
#include "format/JsonWriter.h"
#include "job/ExportPlan.h"
#include "job/FileExport.h"
#include "job/OpenedGrid.h"
#include "job/StreamExport.h"
#include "text/Ansi.h"
#include "text/Utf8.h"

namespace zav {
namespace {

// A failure that ends the command: its exit code and its one line.
struct Failure {
    int code;
    std::wstring line;
};

std::wstring quoted(const std::wstring& text) { return L"\"" + oneLine(text) + L"\""; }

std::wstring criteriaText(const WindowCriteria& w) {
    std::wstring text;
    const auto add = [&](const wchar_t* name, const std::wstring& value) { text += L" " + std::wstring(name) + L" " + value; };
    if (!w.title.empty()) add(L"--window", quoted(w.title));
    if (!w.processName.empty()) add(L"--process", quoted(w.processName));
    if (w.processId) add(L"--process", std::to_wstring(w.processId));
    if (!w.className.empty()) add(L"--class", quoted(w.className));
    if (w.handle) add(L"--handle", handleText(w.handle));
    return text;
}

std::wstring criteriaText(const ControlCriteria& c) {
    std::wstring text;
    if (c.kind != ControlKind::None) text += L" --kind " + kindArgument(c.kind);
    if (c.id) text += L" --id " + std::to_wstring(*c.id);
    if (c.index) text += L" --index " + std::to_wstring(c.index);
    return text;
}

class Console {
public:
    Console(const ConsoleCommand& command, ConsoleServices& s) : c_(command), s_(s) {}

    int list();
    int exportGrid();

private:
    int listControls();
    // Why the grid cannot be read, for this program (the 32-bit one names the 64-bit one).
    std::wstring problemOf(const OpenedGrid& grid) const;
    Failure unreadable(const OpenedGrid& grid, const ControlChoice& choice) const;
    ControlChoice choose();
    ExportPlan planFor(const OpenedGrid& grid, const ControlChoice& choice);
    int run(const std::shared_ptr<OpenedGrid>& grid, const ControlChoice& choice, ExportPlan plan);
    void candidates(const std::vector<ControlChoice>& choices);
    void write(const std::wstring& text) { s_.streams.output().writeRaw(toUtf8(text)); }

    const ConsoleCommand& c_;
    ConsoleServices& s_;
    std::vector<WindowEntry> windows_;
};

std::wstring Console::problemOf(const OpenedGrid& grid) const {
    const CaptureFailure failure = grid.source ? grid.source->failure() : CaptureFailure::NoWindow;
    if (failure == CaptureFailure::TargetTooWide)
        return L"It belongs to a 64-bit program, which the 32-bit " + s_.program +
               L".exe cannot read. Use ZAVExportCmd64.exe for it.";
    return grid.problem();
}

Failure Console::unreadable(const OpenedGrid& grid, const ControlChoice& choice) const {
    const CaptureFailure failure = grid.source ? grid.source->failure() : CaptureFailure::NoWindow;
    const bool lost = failure == CaptureFailure::TargetHung || failure == CaptureFailure::TargetGone ||
                      failure == CaptureFailure::NoWindow;
    return {lost ? kExitTargetLost : kExitUnreadable,
            L"cannot read " + nameControl(*choice.window, *choice.control) + L": " + problemOf(grid)};
}

void Console::candidates(const std::vector<ControlChoice>& choices) {
    for (const ControlChoice& choice : choices) s_.streams.error(L"  " + controlFields(*choice.window, *choice.control));
}

int Console::list() {
    try {
        return listControls();
    } catch (const Error& e) {
        throw Failure{kExitFile, L"cannot write the standard output: " + oneLine(e.description())};
    }
}

int Console::listControls() {
    windows_ = s_.windows.topLevelWindows();
    ControlCriteria kindOnly;
    kindOnly.kind = c_.control.kind;
    const std::vector<ControlChoice> choices = matchingControls(windows_, c_.window, kindOnly);
    if (c_.json) write(L"[");
    bool first = true;
    for (const ControlChoice& choice : choices) {
        const ControlEntry& e = *choice.control;
        const WindowEntry& w = *choice.window;
        const auto grid = openGrid(s_.grids, GridTarget{e.handle, e.kind, e.className});
        const std::wstring problem = problemOf(*grid);
        const ListViewInfo& info = grid->info;
        std::vector<std::wstring> headers;
        for (std::int32_t i = 1; problem.empty() && i <= info.lColumnCount; ++i)
            headers.push_back(static_cast<std::size_t>(i) < info.szColumnText.size() ? info.szColumnText[i] : L"");
        if (!c_.json) {
            std::wstring line = controlFields(w, e);
            if (problem.empty()) {
                line += L"\t" + std::to_wstring(info.lItemCount) + L"\t" + std::to_wstring(info.lColumnCount);
                for (const auto& h : headers) line += L"\t" + oneLine(h);
            } else {
                line += L"\t-\t-\t" + oneLine(problem);
            }
            write(line + L"\r\n");
            continue;
        }
        std::wstring o = first ? L"\r\n{" : L",\r\n{";
        first = false;
        const auto key = [&](const wchar_t* name) { o += std::wstring(o.back() == L'{' ? L"\"" : L",\"") + name + L"\":"; };
        const auto text = [&](const wchar_t* name, const std::wstring& value) {
            key(name);
            appendJsonString(o, value);
        };
        const auto number = [&](const wchar_t* name, long long value) {
            key(name);
            o += std::to_wstring(value);
        };
        text(L"process", w.processName);
        number(L"pid", w.processId);
        key(L"bits");
        o += w.wordSize ? std::to_wstring(w.wordSize) : L"null";
        text(L"window", handleText(w.handle));
        text(L"title", w.title);
        text(L"control", handleText(e.handle));
        text(L"class", e.className);
        text(L"kind", kindArgument(e.kind));
        number(L"index", e.index);
        number(L"id", e.id);
        number(L"rows", problem.empty() ? info.lItemCount : 0);
        number(L"columns", problem.empty() ? info.lColumnCount : 0);
        key(L"headers");
        o += L"[";
        for (std::size_t i = 0; i < headers.size(); ++i) {
            if (i) o += L",";
            appendJsonString(o, headers[i]);
        }
        o += L"]";
        key(L"problem");
        if (problem.empty()) o += L"null";
        else appendJsonString(o, problem);
        write(o + L"}");
    }
    if (c_.json) write(L"\r\n]\r\n");
    s_.streams.output().close();
    if (choices.empty() && (c_.window.any() || c_.control.kind != ControlKind::None)) {
        s_.streams.error(s_.program + L": no readable control in a window that matches" + criteriaText(c_.window) +
                         criteriaText(kindOnly));
        return kExitNoMatch;
    }
    return kExitExported;
}

ControlChoice Console::choose() {
    windows_ = s_.windows.topLevelWindows();
    const std::vector<ControlChoice> choices = matchingControls(windows_, c_.window, c_.control);
    if (choices.size() == 1) return choices[0];
    if (choices.size() > 1) {
        s_.streams.error(s_.program + L": " + std::to_wstring(choices.size()) + L" controls match" +
                         criteriaText(c_.window) + criteriaText(c_.control) +
                         L"; choose one with --kind, --id, --index or --handle:");
        candidates(choices);
        throw Failure{kExitNoMatch, L""};
    }
    // None: say whether the window or the control was not found, and show what there is.
    bool windowFound = false;
    for (const WindowEntry& w : windows_) windowFound = windowFound || windowMatches(w, c_.window);
    s_.streams.error(s_.program + (windowFound ? L": no readable control matches" + criteriaText(c_.control) +
                                                     L" in the windows that match" + criteriaText(c_.window)
                                               : L": no window matches" + criteriaText(c_.window)) +
                     L"; the readable controls there are:");
    WindowCriteria everyWindow;
    candidates(matchingControls(windows_, windowFound ? c_.window : everyWindow, ControlCriteria{}));
    throw Failure{kExitNoMatch, L""};
}

ExportPlan Console::planFor(const OpenedGrid& grid, const ControlChoice& choice) {
    const ListViewInfo& info = grid.info;
    const NumberFormat numbers = s_.storage.host.numberFormat();
    if (c_.typeName.empty()) {
        ExportPlan plan;
        plan.format = c_.format;
        plan.fragments = HtmlFragments{L"<HTML>", L"", L"", L"", L"</HTML>"};  // a new type's
        plan.delimited.delimiter = c_.format == ExportFormat::Tsv ? L'\t' : c_.delimiter;
        plan.delimited.utf8 = !c_.ansi;
        plan.delimited.formulaSafety = c_.formulaSafety;
        plan.columns = exportedColumns(info, !c_.indexOrder, c_.checkedColumn);
        plan.selectedRowsOnly = c_.selectedRows;
        plan.numberFormat = numbers;
        plan.output = c_.output;
        return plan;
    }
    const std::wstring path = s_.settings.optionFolder + c_.typeName + L".ini";
    if (s_.settings.optionFolder.empty() || !s_.storage.fs.fileExists(path) ||
        !ExportTypeReader::typeFile(s_.storage, path).isExportType())
        throw Failure{kExitArguments, L"--type " + quoted(c_.typeName) + L": there is no export type file " + path};
    const SavedExportType saved = readSavedExportType(s_.storage, s_.settings, c_.typeName, info);
    const std::wstring signature = buildColumnSignature(info);
    if (!equalsNoCase(signature, saved.type.columns))
        throw Failure{kExitNoMatch, L"the export type " + quoted(c_.typeName) + L" does not fit " +
                                        nameControl(*choice.window, *choice.control) + L": the type's column signature is " +
                                        quoted(saved.type.columns) + L", the control's is " + quoted(signature)};
    if (exportFormatOf(saved.type.format) == ExportFormat::Csv) {
        const std::wstring problem = delimiterProblem(saved.type.delimiter);
        if (!problem.empty()) throw Failure{kExitArguments, L"the export type " + quoted(c_.typeName) + L": " + problem};
    }
    ExportPlan plan = exportPlanOf(saved.type, saved.rules, info, numbers);
    plan.output = c_.output;
    return plan;
}

int Console::run(const std::shared_ptr<OpenedGrid>& grid, const ControlChoice& choice, ExportPlan plan) {
    const std::wstring target = c_.output.empty() ? std::wstring(L"the standard output") : quoted(c_.output);
    const bool progress = !c_.quiet && s_.streams.showsProgress();
    std::unique_ptr<GridJob> job;
    const auto stopped = [&] {
        job.reset();  // a file export drops its temporary file; the previous file stays
        if (progress) s_.streams.progress(L"");
        return Failure{kExitStopped, c_.output.empty()
                                         ? std::wstring(L"stopped by Ctrl+C or Ctrl+Break; the standard output is short")
                                         : L"stopped by Ctrl+C or Ctrl+Break; " + target + L" was left as it was"};
    };
    try {
        if (s_.streams.stopRequested()) throw stopped();
        if (c_.output.empty())
            job = startStreamExport(s_.streams.output(), grid, std::move(plan));
        else
            job = startFileExport(s_.storage.fs, grid, std::move(plan));
        for (;;) {
            if (s_.streams.stopRequested()) throw stopped();
            if (!job->step()) break;
            if (progress)
                s_.streams.progress(L"row " + std::to_wstring(job->rowsDone()) + L" of " +
                                    std::to_wstring(job->rowCount()));
        }
        if (s_.streams.stopRequested()) throw stopped();
        job->finish();
    } catch (const Error& e) {
        job.reset();
        if (progress) s_.streams.progress(L"");
        if (!grid->problem().empty()) throw unreadable(*grid, choice);
        if (e.number() == kErrCaptureFailed)  // no row selected
            throw Failure{kExitNoMatch, oneLine(e.detail()) + L" (" + nameControl(*choice.window, *choice.control) + L")"};
        throw Failure{kExitFile, L"cannot write " + target + L": " + oneLine(e.description())};
    }
    if (progress) s_.streams.progress(L"");
    return kExitExported;
}

int Console::exportGrid() {
    const ControlChoice choice = choose();
    const ControlEntry& e = *choice.control;
    const auto grid = openGrid(s_.grids, GridTarget{e.handle, e.kind, e.className});
    if (!grid->problem().empty()) throw unreadable(*grid, choice);
    return run(grid, choice, planFor(*grid, choice));
}

}  // namespace

Settings consoleSettings(const Storage& storage) {
    const std::wstring folder = storage.host.programFolder();
    const std::wstring path = folder + L"\\" + kSettingsFileName;
    if (storage.fs.fileExists(path)) return readSettings(storage, path);
    Settings s;
    s.settingsFile = path;
    s.outputFolder = folder + kSettingDefaults[0].suffix;
    s.catalogFile = folder + kSettingDefaults[1].suffix;
    s.replacesFile = folder + kSettingDefaults[2].suffix;
    s.optionFolder = folder + kSettingDefaults[3].suffix;
    return s;
}

int runConsole(const std::vector<std::wstring>& args, ConsoleServices& s) {
    ConsoleCommand command;
    const std::wstring problem = parseConsoleCommand(args, command);
    if (!problem.empty()) {
        s.streams.error(s.program + L": " + problem);
        return kExitArguments;
    }
    try {
        Console console(command, s);
        switch (command.verb) {
            case ConsoleVerb::Help:
                s.streams.output().writeRaw(toUtf8(consoleHelp(s.program + L".exe")));
                s.streams.output().close();
                return kExitExported;
            case ConsoleVerb::Version:
                s.streams.output().writeRaw(toUtf8(s.program + L" " + std::to_wstring(kVersionMajor) + L"." +
                                                   std::to_wstring(kVersionMinor) + L"." +
                                                   std::to_wstring(kVersionRevision) + L"\r\n"));
                s.streams.output().close();
                return kExitExported;
            case ConsoleVerb::List: return console.list();
            case ConsoleVerb::Export: return console.exportGrid();
        }
    } catch (const Failure& f) {
        if (!f.line.empty()) s.streams.error(s.program + L": " + f.line);
        return f.code;
    } catch (const Error& e) {
        s.streams.error(s.program + L": " + oneLine(e.description()));
        return kExitFailed;
    }
    return kExitFailed;
}

}  // namespace zav
