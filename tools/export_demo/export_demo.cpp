// A scripted export, end to end, for the run command: the program's start-up in this folder, a
// real list view in a second process (the test tree's list-view host), the export options model
// over the real capture, a rule added as the user would, OK (save the type, write the HTML), and
// a second dialog that is offered the saved type for the same column layout.
//
// It stands in for the right-click and the dialog until those have windows of their own; every
// step below it is the program's own code.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "HostProcess.h"
#include "capture/win32/SystemCapture.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "export/ExportOptions.h"
#include "ini/FileSystem.h"
#include "ini/Profile.h"
#include "startup/mMain.h"
#include "text/Ansi.h"

namespace {

// Messages go to the console: the demo runs unattended.
class ConsoleReporter final : public zav::IReporter {
public:
    void show(const std::wstring& text, const std::wstring& title, zav::MessageIcon) override {
        std::printf("[message box \"%s\"] %s\n", zav::toAnsi(title).c_str(), zav::toAnsi(text).c_str());
    }
    bool ask(const std::wstring& text, const std::wstring& title) override {
        show(text, title, zav::MessageIcon::None);
        return true;
    }
};

const char* kGrid =
    "title\tWarehouse 7 - Stock\n"
    "column\t160\tItem\n"
    "column\t60\tQty\n"
    "column\t90\tPrice\n"
    "column\t80\tIn stock\n"
    "row\tCaf\xE9 cr\xE8me beans\t1,200\t$4.50\tYes\n"
    "row\tBolts <M8> & nuts\t35\t$0.10\tNo\n"
    "row\t\"Deluxe\" hammer\t7\t$19.99\tYes\n"
    "row\tGlue, 50 ml\t0\t$2.25\tNo\n"
    "row\tSpare parts (misc.)\t-\t\tYes\n";

std::string narrow(const std::wstring& s) { return zav::toAnsi(s); }

void show(const zav::frmExportOptionsModel& dialog) {
    std::printf("  list view: %ld rows, %ld columns, signature \"%s\"\n",
                static_cast<long>(dialog.lvInfo.lItemCount), static_cast<long>(dialog.lvInfo.lColumnCount),
                narrow(dialog.szColumns).c_str());
    std::printf("  compatible export types:");
    if (dialog.exportTypeItems().empty()) std::printf(" (none: a new type is prepared)");
    for (const auto& t : dialog.exportTypeItems()) std::printf(" \"%s\"", narrow(t).c_str());
    std::printf("\n  export type \"%s\" -> \"%s\"\n", narrow(dialog.txtExportType()).c_str(),
                narrow(dialog.txtOutput).c_str());
}

int run() {
    zav::Main();  // settings.ini, folders and catalog beside this program

    zavtest::HostProcess host(kGrid);
    zav::hTargetListView = reinterpret_cast<zav::WindowHandle>(host.list());
    std::printf("list view host running: process %lu, list view %p\n",
                static_cast<unsigned long>(host.processId()), static_cast<void*>(host.list()));

    auto captures = zav::makeSystemCaptureFactory();
    auto windows = zav::makeSystemWindowInfo();

    std::printf("first \"Print Grid\":\n");
    {
        zav::frmExportOptionsModel dialog(*captures, *windows);
        dialog.populateExportOptions();
        show(dialog);

        // The user gives the "In stock" column a rule and the table a border, then presses OK.
        dialog.selectColumn(3);
        zav::AddReplaceModel add;
        dialog.addReplaceClicked(add);
        add.txtReplace = L"Yes";
        add.txtWith = L"<b>yes</b>";
        add.okClicked();
        dialog.activated();
        dialog.txtTableFormat = L"border=\"1\"";
        dialog.txtHTMLHeader = L"<HTML>\r\n<h1>Stock</h1>";
        if (!dialog.okClicked()) return 1;
        std::printf("  OK: type saved, \"%s\" written\n", narrow(dialog.txtOutput).c_str());
    }

    std::printf("second \"Print Grid\" on the same list view:\n");
    {
        zav::frmExportOptionsModel dialog(*captures, *windows);
        dialog.populateExportOptions();
        show(dialog);
        auto column = dialog.columns.find(L"In stock");
        std::printf("  rules of \"In stock\": %zu\n", column ? column->replaces.count() : std::size_t{0});
    }
    host.close();
    return 0;
}

}  // namespace

int main() {
    auto hostServices = zav::makeSystemHost();
    auto profile = zav::makeSystemProfile();
    auto fs = zav::makeSystemFileSystem();
    ConsoleReporter reporter;
    zav::services() = zav::Services{hostServices.get(), profile.get(), fs.get(), &reporter};
    try {
        return run();
    } catch (const zav::Error& e) {
        std::printf("Error %ld: %s\n", e.number(), narrow(e.description()).c_str());
    } catch (const std::exception& e) {
        std::printf("Error: %s\n", e.what());
    }
    return 1;
}
