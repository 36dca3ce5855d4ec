// The export dialog's model on a scene, for the model and job tests: its storage fails on demand
// (`faults`), its host's list separator and number format are the test's (`host`), and open()
// opens the dialog again on the same list, as the user would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ExportFixture.h"
#include "FakeHost.h"
#include "model/ExportOptions.h"

namespace exporttest {

using Table = std::vector<std::vector<std::wstring>>;

struct Dialog {
    explicit Dialog(const std::wstring& caption = L"Files") : scene(caption) {}
    // A list of these headers and rows.
    Dialog(std::vector<std::wstring> headers, Table rows) {
        scene.grid->headers = std::move(headers);
        scene.grid->rows = std::move(rows);
    }
    zav::Storage storage() { return zav::Storage{host, faults.profile, faults.fs}; }
    zav::frmExportOptionsModel& open() {
        model = std::make_unique<zav::frmExportOptionsModel>(storage(), env.settings, scene.captures, scene.windows,
                                                              zavtest::reporter());
        model->populateExportOptions(scene.target);
        return *model;
    }
    // The output file as it is now, and after an export.
    std::string output() const { return zavtest::readBytes(model->txtOutput); }
    std::string exported() {
        model->writeExport();
        return output();
    }

    FaultyStorage faults;
    zavtest::FakeHost host;
    Environment env;
    Scene scene;
    std::unique_ptr<zav::frmExportOptionsModel> model;
};

}  // namespace exporttest
