#include <algorithm>
#include <random>
#include <utility>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "catalog/Catalog.h"
#include "exporttype/ExportTypeName.h"
#include "ini/ValueLimits.h"
#include "text/Ansi.h"

using namespace zav;
using namespace exporttest;

namespace {

std::vector<std::wstring> columnNames(const frmExportOptionsModel& m) { return m.columnItems(); }

std::vector<std::pair<std::wstring, std::wstring>> rulesOf(const frmExportOptionsModel& m, const std::wstring& column) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (const auto& r : m.columns.item(column)->replaces) out.emplace_back(r->szReplace, r->szWith);
    return out;
}

using Rules = std::vector<std::pair<std::wstring, std::wstring>>;

}  // namespace

TEST(ExportOptions, NewTypeFromDefaultsNamedAfterTheNearestTitledParent) {
    Dialog d;
    d.scene.grid->headers = {L"Name", L"Size"};
    auto& m = d.open();
    EXPECT_TRUE(m.exportTypeItems().empty());
    EXPECT_EQ(m.selectedExportType(), -1);
    EXPECT_EQ(m.szColumns, L"Name_Size");
    EXPECT_EQ(m.txtExportType(), L"Files");
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.html");
    EXPECT_EQ(m.txtHTMLHeader, L"<HTML>");
    EXPECT_EQ(m.txtHTMLFooter, L"</HTML>");
    EXPECT_EQ(m.txtTableFormat + m.txtHeaderFormat + m.txtDataFormat, L"");
    EXPECT_EQ(columnNames(m), (std::vector<std::wstring>{L"Name", L"Size"}));
    EXPECT_EQ(m.columns.item(L"Size")->lColNum, 2);

    m.setExportTypeText(L"Report2");  // the name box's change handler
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Report2.html");
}

TEST(ExportOptions, NamesFromSignatureOrSanitisedCaptionAndOutputFolderDefault) {
    Dialog d(L"");
    d.scene.grid->headers = {L"A/B", L"C"};
    zavtest::storage().profile.writeString("General", "OutputFolder", nullptr, d.env.settings.settingsFile.c_str());
    d.env.settings = readSettings(zavtest::storage(), d.env.settings.settingsFile);
    auto& m = d.open();
    EXPECT_EQ(m.txtExportType(), L"A_B_C");  // the signature, made a usable file name
    EXPECT_EQ(m.txtOutput, L"c:A_B_C.html");

    d.scene.windows.caption[3] = L"C:\\Data\\*.txt - Viewer. ";
    m.newExportType();
    EXPECT_EQ(m.txtExportType(), L"C__Data__.txt - Viewer");
    d.scene.windows.caption[3] = L"lpt1";
    m.newExportType();
    EXPECT_EQ(m.txtExportType(), L"lpt1_");
    EXPECT_EQ(exportTypeNameProblem(m.txtExportType()), L"");
}

TEST(ExportOptions, NameCheckRefusesWhatCannotBeAFileName) {
    for (const wchar_t* bad : {L"", L"a/b", L"a\\b", L"a:b", L"a*", L"a?", L"a\"b", L"<a>", L"a|b", L"a.", L"a ",
                               L"CON", L"con.txt", L"Lpt1", L"COM9", L"NUL ", L"a\tb"})
        EXPECT_NE(exportTypeNameProblem(bad), L"") << "accepted";
    for (const wchar_t* good : {L"Report", L".hidden", L" lead", L"CONSOLE", L"LPT0", L"a.b", L"R&D [1]; x=y %"})
        EXPECT_EQ(exportTypeNameProblem(good), L"");

    Dialog d;
    d.scene.grid->headers = {L"A"};
    auto& m = d.open();
    m.setExportTypeText(L"a/b");
    EXPECT_FALSE(m.validateExportTypeText());
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"Export Type cannot contain a slash!");
    EXPECT_EQ(zavtest::reporter().messages.back().icon, MessageIcon::Stop);
    m.setExportTypeText(L"AUX");
    EXPECT_TRUE(m.validateExportTypeText());
    EXPECT_FALSE(m.okClicked());  // refused before anything is written
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"Export Type cannot be the device name AUX!");
    // (A device name "exists" on Windows whatever the folder: look at the folders instead.)
    EXPECT_TRUE(zavtest::storage().fs.listFiles(d.env.optionFolder()).empty());
    EXPECT_TRUE(zavtest::storage().fs.listFiles(d.env.outputFolder()).empty());
    EXPECT_EQ(m.bOK, vbFalse);
    try {
        m.saveExportOptions();
        FAIL() << "saved under a device name";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kErrInvalidName);
    }
}

TEST(ExportOptions, UniqueColumnNames) {
    Dialog d;
    d.scene.grid->headers = {L"A", L"A", L"A", L"B", L"A1", L"B", L"", L"", L"", L"Name", L"name"};
    auto& m = d.open();
    EXPECT_EQ(columnNames(m), (std::vector<std::wstring>{L"A", L"A1", L"A2", L"B", L"A11", L"B1", L"", L"1", L"2",
                                                         L"Name", L"name1"}));
    d.scene.grid->headers = {L"A", L"A1", L"A"};
    m.populateExportOptions(d.scene.target);
    EXPECT_EQ(columnNames(m), (std::vector<std::wstring>{L"A", L"A1", L"A2"}));
}

TEST(ExportOptions, NewTypeTakesItsRulesFromTheReplacesFile) {
    Dialog d;
    d.scene.grid->headers = {L"", L"Size", L"General", L"Size", L"Other"};
    zavtest::writeBytes(d.env.replacesPath(),
                        "[Size]\r\nkB=KB\r\na=b=c\r\nnoequals\r\nKB=dup\r\n\r\n[General]\r\nName=n\r\n"
                        "[]\r\nx=y\r\n[Unused]\r\nq=r\r\n[other]\r\n");
    auto& m = d.open();
    EXPECT_TRUE(zavtest::reporter().messages.empty());
    EXPECT_TRUE(rulesOf(m, L"").empty());
    EXPECT_EQ(rulesOf(m, L"Size"), (Rules{{L"kB", L"KB"}, {L"a=b", L"c"}}));
    EXPECT_EQ(rulesOf(m, L"General"), (Rules{{L"Name", L"n"}}));  // a hand-made file is taken as it is
    EXPECT_TRUE(rulesOf(m, L"Size1").empty());
    EXPECT_TRUE(rulesOf(m, L"Other").empty());

    zavtest::storage().fs.deleteFile(d.env.replacesPath(), true);
    m.newExportType();
    EXPECT_TRUE(rulesOf(m, L"Size").empty());
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

TEST(ExportOptions, ListsSelectionAndRuleEditing) {
    Dialog d;
    d.scene.grid->headers = {L"Name", L"Size"};
    auto& m = d.open();
    EXPECT_EQ(m.selectedColumn(), -1);
    AddReplaceModel add(zavtest::reporter());
    EXPECT_FALSE(m.addReplaceClicked(add));  // nothing selected: nothing happens

    m.selectColumn(1);
    EXPECT_TRUE(m.replaceItems().empty());
    ASSERT_TRUE(m.addReplaceClicked(add));
    add.txtReplace = L"0";
    add.txtWith = L"none";
    ASSERT_TRUE(add.okClicked());
    add.txtReplace = L"1";
    add.txtWith = L"one";
    ASSERT_TRUE(add.okClicked());
    m.activated();
    EXPECT_EQ(m.replaceItems(), (Rules{{L"0", L"none"}, {L"1", L"one"}}));

    m.selectColumn(0);
    EXPECT_TRUE(m.replaceItems().empty());
    m.removeReplaceClicked();  // no rule selected: nothing happens
    m.selectColumn(1);
    m.selectReplace(0);
    m.removeReplaceClicked();
    EXPECT_EQ(m.replaceItems(), (Rules{{L"1", L"one"}}));

    m.helpClicked();
    EXPECT_EQ(zavtest::reporter().messages.back().text, L"See the readme.txt in the program directory for help.");
    zavtest::reporter().answer = false;
    EXPECT_FALSE(m.queryClose());
}

TEST(ExportOptions, SavedTypesAreOfferedLoadedAndPicked) {
    Dialog d;
    d.scene.grid->headers = {L"Name", L"Size"};
    auto& m = d.open();
    m.setExportTypeText(L"Report");
    m.txtDataFormat = L"class=\"d\"";
    m.columns.item(L"Size")->addReplace(L"1", L"one");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, L"Name_Size"), (std::vector<std::wstring>{L"Report"}));

    // A second type for the same layout, saved under another name with its own output file.
    auto& m2 = d.open();
    EXPECT_EQ(m2.exportTypeItems(), (std::vector<std::wstring>{L"Report"}));
    EXPECT_EQ(m2.selectedExportType(), 0);
    EXPECT_EQ(m2.txtDataFormat, L"class=\"d\"");
    EXPECT_EQ(rulesOf(m2, L"Size"), (Rules{{L"1", L"one"}}));
    m2.setExportTypeText(L"Other");
    m2.txtOutput = d.env.outputFolder() + L"elsewhere.html";
    m2.columns.item(L"Size")->removeReplace(L"1");
    ASSERT_TRUE(m2.okClicked());
    EXPECT_TRUE(zavtest::pathExists(d.env.typePath(L"Report")));

    auto& m3 = d.open();
    ASSERT_EQ(m3.exportTypeItems().size(), 2u);
    const int other = m3.exportTypeItems()[0] == L"Other" ? 0 : 1;
    m3.selectExportType(other);
    EXPECT_EQ(m3.exportTypeListText(), L"Other");
    EXPECT_EQ(m3.txtExportType(), L"Other");
    EXPECT_EQ(m3.txtOutput, d.env.outputFolder() + L"elsewhere.html");  // the stored file wins
    EXPECT_TRUE(rulesOf(m3, L"Size").empty());
    m3.selectExportType(1 - other);
    EXPECT_EQ(rulesOf(m3, L"Size"), (Rules{{L"1", L"one"}}));
    m3.newExportType();
    EXPECT_EQ(m3.exportTypeListText(), L"");
    EXPECT_EQ(m3.txtExportType(), L"Files");
    EXPECT_EQ(m3.txtDataFormat, L"");

    // A catalogued type whose file is gone loads empty, without failing.
    zavtest::storage().fs.deleteFile(d.env.typePath(L"Other"), true);
    m3.selectExportType(other);
    EXPECT_EQ(m3.txtExportType(), L"");
    EXPECT_EQ(m3.txtHTMLHeader, L"");
}

TEST(ExportOptions, SavingKeepsOneBackup) {
    Dialog d;
    d.scene.grid->headers = {L"A"};
    auto& m = d.open();
    m.setExportTypeText(L"T");
    const std::wstring type = d.env.typePath(L"T"), backup = d.env.optionFolder() + L"T.old";
    auto version = [&](const std::wstring& path) {
        cINIFile ini(zavtest::storage());
        ini.FullPath(path);
        ini.SectionName(L"General");
        return ini.GetString(L"HTMLTableFormat", L"");
    };
    m.txtTableFormat = L"v1";
    m.saveExportOptions();
    EXPECT_EQ(version(type), L"v1");
    EXPECT_FALSE(zavtest::pathExists(backup));
    m.txtTableFormat = L"v2";
    m.saveExportOptions();
    EXPECT_EQ(version(type), L"v2");
    EXPECT_EQ(version(backup), L"v1");
    m.txtTableFormat = L"v3";
    m.saveExportOptions();
    EXPECT_EQ(version(type), L"v3");
    EXPECT_EQ(version(backup), L"v2");
    EXPECT_FALSE(zavtest::pathExists(d.env.optionFolder() + L"T.tmp"));

    // Without rules the file holds only the stamp and the type's own section.
    cINIFile ini(zavtest::storage());
    ini.FullPath(type);
    ini.SectionName(L"FileInfo");
    std::vector<std::wstring> sections;
    ini.GetSectionsEx(sections);
    EXPECT_EQ(sections, (std::vector<std::wstring>{L"FileInfo", L"General"}));
    EXPECT_EQ(ini.GetString(L"Type", L""), L"ExportOption");
}

TEST(ExportOptions, FailedSavesLeaveThePreviousTypeFile) {
    Dialog d;
    d.scene.grid->headers = {L"A"};
    auto& m = d.open();
    m.setExportTypeText(L"T");
    const std::wstring type = d.env.typePath(L"T"), backup = d.env.optionFolder() + L"T.old";
    m.saveExportOptions();
    m.txtTableFormat = L"second";
    m.saveExportOptions();
    const std::string good = zavtest::readBytes(type), old = zavtest::readBytes(backup);
    m.txtTableFormat = L"lost";

    // A read-only backup cannot be replaced: the save fails before anything moves.
    zavtest::setReadOnly(backup, true);
    EXPECT_THROW(m.saveExportOptions(), Error);
    zavtest::setReadOnly(backup, false);
    EXPECT_EQ(zavtest::readBytes(type), good);
    EXPECT_EQ(zavtest::readBytes(backup), old);
    EXPECT_FALSE(zavtest::pathExists(d.env.optionFolder() + L"T.tmp"));

    // The disk refuses a write halfway through the new file.
    d.faults.profile.refuseWritesAfter(4);
    EXPECT_THROW(m.saveExportOptions(), Error);
    d.faults.profile.allowAllWrites();
    EXPECT_EQ(zavtest::readBytes(type), good);
    EXPECT_FALSE(zavtest::pathExists(d.env.optionFolder() + L"T.tmp"));

    // The new file cannot take the type's name: the previous version is put back.
    bool failed = false;  // the first move onto the type's name fails, the move back works
    d.faults.fs.failMoveTo = [&](const std::wstring& to) { return to == type && !std::exchange(failed, true); };
    EXPECT_THROW(m.saveExportOptions(), Error);
    d.faults.fs.failMoveTo = nullptr;
    EXPECT_EQ(zavtest::readBytes(type), good);
    EXPECT_FALSE(zavtest::pathExists(d.env.optionFolder() + L"T.tmp"));
}

TEST(ExportOptions, RuleSectionsNeverMeetTheTypesOwnKeys) {
    Dialog d;
    d.scene.grid->headers = {L"General", L"FileInfo", L"%47eneral"};
    auto& m = d.open();
    m.setExportTypeText(L"T");
    m.columns.item(L"General")->addReplace(L"Name", L"rule name");
    m.columns.item(L"General")->addReplace(L"Columns", L"");
    m.columns.item(L"FileInfo")->addReplace(L"Type", L"x");
    m.columns.item(L"%47eneral")->addReplace(L"a", L"b");
    m.saveExportOptions();
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, L"General_FileInfo_%47eneral"), (std::vector<std::wstring>{L"T"}));

    auto& r = d.open();
    EXPECT_EQ(r.txtExportType(), L"T");
    EXPECT_EQ(rulesOf(r, L"General"), (Rules{{L"Name", L"rule name"}, {L"Columns", L""}}));
    EXPECT_EQ(rulesOf(r, L"FileInfo"), (Rules{{L"Type", L"x"}}));
    EXPECT_EQ(rulesOf(r, L"%47eneral"), (Rules{{L"a", L"b"}}));
}

TEST(ExportOptions, TypeFilesOfEarlierVersionsLoadAsBefore) {
    Dialog d;
    d.scene.grid->headers = {L"Size", L"General", L""};
    zavtest::writeBytes(d.env.typePath(L"Old"),
                        "[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\n"
                        "[General]\r\nName=Old\r\nFile=c:\\out%20.html\r\nColumns=Size_General_\r\n"
                        "HTMLHeader=<HTML>\r\nHTMLFooter=</HTML>\r\nHTMLDataFormat=width=\"50%\"\r\nzz=top\r\n"
                        "[Size]\r\na=b=c\r\n1,000=1000\r\n");
    rebuildCatalog(zavtest::storage(), d.env.settings);
    auto& m = d.open();
    ASSERT_EQ(m.exportTypeItems(), (std::vector<std::wstring>{L"Old"}));
    EXPECT_EQ(m.txtOutput, L"c:\\out%20.html");  // no escapes in a file without the mark
    EXPECT_EQ(m.txtDataFormat, L"width=\"50%\"");
    EXPECT_EQ(m.txtTableFormat, L"");
    EXPECT_EQ(m.szColumns, L"Size_General_");
    EXPECT_EQ(rulesOf(m, L"Size"), (Rules{{L"a=b", L"c"}, {L"1,000", L"1000"}}));
    // The entries of the type's own keys are not rules of a column called "General".
    EXPECT_EQ(rulesOf(m, L"General"), (Rules{{L"zz", L"top"}}));
    EXPECT_TRUE(rulesOf(m, L"").empty());
    EXPECT_TRUE(zavtest::reporter().messages.empty());
}

namespace {

// Random texts over an alphabet rich in what files and HTML make awkward.
class TextGen {
public:
    explicit TextGen(unsigned seed) : rng_(seed) {}
    std::wstring text(std::size_t maxLength) {
        static const std::wstring alphabet =
            L"abcXYZ019 _-=;[]%\"'<>&/\\\t\r\n.,$()#!:?*|\xA0\xE9\xC9\x20AC";
        std::wstring s;
        const std::size_t n = pick(maxLength + 1);
        for (std::size_t i = 0; i < n; ++i) s += alphabet[pick(alphabet.size())];
        return s;
    }
    std::wstring nonEmpty(std::size_t maxLength) {
        std::wstring s;
        while (s.empty()) s = text(maxLength);
        return s;
    }
    std::wstring name() {
        std::wstring s;
        while (!exportTypeNameProblem(s).empty()) s = proposeExportTypeName(text(12));
        return s;
    }
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

private:
    std::mt19937 rng_;
};

struct TypeImage {
    std::wstring name, output, header, table, headerFormat, dataFormat, footer, signature;
    std::vector<std::pair<std::wstring, Rules>> columns;
    bool operator==(const TypeImage& o) const {
        return name == o.name && output == o.output && header == o.header && table == o.table &&
               headerFormat == o.headerFormat && dataFormat == o.dataFormat && footer == o.footer &&
               signature == o.signature && columns == o.columns;
    }
};

TypeImage imageOf(const frmExportOptionsModel& m) {
    TypeImage t{m.txtExportType(), m.txtOutput,     m.txtHTMLHeader, m.txtTableFormat, m.txtHeaderFormat,
                m.txtDataFormat,   m.txtHTMLFooter, m.szColumns,     {}};
    for (const auto& c : m.columns) t.columns.emplace_back(c->szName, rulesOf(m, c->szName));
    return t;
}

}  // namespace

TEST(ExportOptions, RandomTypesSurviveSaveAndReloadWithTheSameHtml) {
    TextGen gen(20240611u);
    for (int round = 0; round < 25; ++round) {
        Dialog d;
        auto& grid = *d.scene.grid;
        const std::size_t columnCount = 1 + gen.pick(6);
        std::vector<std::wstring> pool = {L"", L"Name", L"name", L"General", L"FileInfo", gen.text(6), gen.nonEmpty(120)};
        for (std::size_t c = 0; c < columnCount; ++c) grid.headers.push_back(pool[gen.pick(pool.size())]);
        if (buildColumnSignature(grid.headers).empty()) grid.headers[0] = L"X";
        for (int r = 0; r < 4; ++r) {
            std::vector<std::wstring> row;
            for (std::size_t c = 0; c < columnCount; ++c) row.push_back(gen.pick(3) == 0 ? L"1,000" : gen.text(8));
            grid.rows.push_back(row);
        }
        auto& m = d.open();
        m.setExportTypeText(gen.name());
        m.txtHTMLHeader = gen.text(30);
        m.txtTableFormat = gen.text(20);
        m.txtHeaderFormat = gen.text(20);
        m.txtDataFormat = gen.text(20);
        m.txtHTMLFooter = gen.text(30);
        m.txtOutput = d.env.outputFolder() + L"out.html";
        for (const auto& column : m.columns) {
            AddReplaceModel add(zavtest::reporter());
            add.addReplace(column);
            for (std::size_t k = gen.pick(4); k > 0; --k) {
                add.txtReplace = gen.nonEmpty(6);
                add.txtWith = gen.text(10);
                add.okClicked();  // refusals (repeated texts) are part of the test
            }
        }
        const TypeImage saved = imageOf(m);
        m.writeExport();
        const std::string html = zavtest::readBytes(m.txtOutput);
        m.saveExportOptions();

        // Reload: pick the type from the catalog in a fresh dialog on the same list view.
        auto& r = d.open();
        const auto& items = r.exportTypeItems();
        const auto it = std::find(items.begin(), items.end(), saved.name);
        ASSERT_NE(it, items.end()) << "round " << round;
        r.selectExportType(static_cast<int>(it - items.begin()));
        EXPECT_TRUE(imageOf(r) == saved) << "round " << round;
        r.writeExport();
        EXPECT_EQ(zavtest::readBytes(r.txtOutput), html) << "round " << round;
    }
}

TEST(ExportOptions, AFailedReadIsToldNamingTheKindOfControlItWasMadeOn) {
    Dialog read;
    read.scene.grid->headers = {L"A"};
    EXPECT_EQ(L"", read.open().captureProblem());
    // Told with the target before any read: the read of these fails at once.
    const struct {
        zav::ControlKind kind;
        const wchar_t* name;
    } kinds[] = {{zav::ControlKind::TreeView, L"tree view"}, {zav::ControlKind::ListBox, L"list box"},
                 {zav::ControlKind::ComboBox, L"combo box"}, {zav::ControlKind::ListView, L"list view"},
                 {zav::ControlKind::None, L"list view"}};
    for (const auto& k : kinds) {
        Dialog d;
        d.scene.captures.grids.clear();  // the window went away before the dialog opened
        d.scene.target.kind = k.kind;
        auto& m = d.open();
        EXPECT_EQ(m.controlName(), k.name) << zavtest::shown(k.name);
        EXPECT_EQ(m.captureProblem(), std::wstring(L"The ") + k.name + L" no longer exists.");
        try {
            m.writeExport();
            ADD_FAILURE() << "an export of nothing was written";
        } catch (const zav::Error& e) {
            EXPECT_NE(e.detail().find(k.name), std::wstring::npos) << zavtest::shown(e.detail());
        }
    }
    // Every failure of a tree's read speaks of the tree.
    for (auto f : {zav::CaptureFailure::ProcessNotOpened, zav::CaptureFailure::NoBuffers,
                   zav::CaptureFailure::TargetGone, zav::CaptureFailure::TargetHung, zav::CaptureFailure::TargetTooWide}) {
        const std::wstring text = zav::describeCaptureFailure(f, zav::ControlKind::TreeView);
        EXPECT_NE(text.find(L"tree view"), std::wstring::npos) << zavtest::shown(text);
        EXPECT_EQ(text.find(L"list view"), std::wstring::npos) << zavtest::shown(text);
    }
}

// The profile functions give a value back only up to a length (Windows: under 64 Ki characters;
// Wine: under 32 Ki). The type's own texts are kept whole in continuation entries; a rule, which is
// one entry, is refused beyond the limit with a message that names it, and nothing is saved.
TEST(ExportOptions, NoFragmentIsLostToTheLengthOfAnIniValue) {
    Dialog d;
    d.scene.grid->headers = {L"Name"};
    auto reopen = [&] {
        auto model = std::make_unique<frmExportOptionsModel>(zavtest::storage(), d.env.settings, d.scene.captures, d.scene.windows,
                                                             zavtest::reporter());
        model->populateExportOptions(d.scene.target);
        return model;
    };
    auto& m = d.open();
    m.setExportTypeText(L"Long");
    std::wstring header = L"<HTML>";
    for (int i = 0; header.size() < 70000; ++i) header += L"<!-- " + std::to_wstring(i) + L" -->\r\n";
    m.txtHTMLHeader = header;
    m.txtHTMLFooter = std::wstring(kLongestIniValue, L'f');
    ASSERT_TRUE(m.okClicked());

    auto loaded = reopen();
    ASSERT_EQ(loaded->exportTypeItems(), (std::vector<std::wstring>{L"Long"}));
    EXPECT_EQ(loaded->txtHTMLHeader, header);
    EXPECT_EQ(loaded->txtHTMLFooter, std::wstring(kLongestIniValue, L'f'));

    // A rule's replacement at the limit and one below are saved; one above is refused.
    const std::wstring typePath = d.env.typePath(L"Long");
    auto column = loaded->columns.item(L"Name");
    for (std::size_t length : {kLongestIniValue - 1, kLongestIniValue}) {
        if (column->replaces.contains(L"x")) column->removeReplace(L"x");
        column->addReplace(L"x", std::wstring(length, L'w'));
        ASSERT_TRUE(loaded->okClicked()) << length;
        auto read = reopen();
        ASSERT_EQ(read->columns.item(L"Name")->replaces.count(), 1u);
        EXPECT_EQ(read->columns.item(L"Name")->replaces.item(L"x")->szWith.size(), length);
    }
    const std::string before = zavtest::readBytes(typePath);
    column->removeReplace(L"x");
    column->addReplace(L"x", std::wstring(kLongestIniValue + 1, L'w'));
    zavtest::reporter().messages.clear();
    EXPECT_FALSE(loaded->okClicked());
    ASSERT_EQ(zavtest::reporter().messages.size(), 1u);
    const std::wstring said = zavtest::reporter().messages[0].text;
    EXPECT_NE(said.find(L"\"x\" in the column \"Name\""), std::wstring::npos) << zavtest::shown(said);
    EXPECT_NE(said.find(std::to_wstring(kLongestIniValue)), std::wstring::npos) << zavtest::shown(said);
    EXPECT_EQ(zavtest::reporter().messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(zavtest::readBytes(typePath), before);
    EXPECT_THROW(loaded->saveExportOptions(), Error);
    EXPECT_EQ(zavtest::readBytes(typePath), before);
}

// Names in any script: a caption is proposed as a name unchanged, the type file and the HTML file
// get exactly the names typed, the catalog lists the type, and a second dialog offers and loads it.
TEST(ExportOptions, TypesAndOutputFilesOfAnyNameAreSavedOfferedAndLoaded) {
    const std::wstring name = L"\u041e\u0442\u0447\u0451\u0442 \u03a9 \u0639 \u5831\u544a \U0001F600";
    for (const auto& good : {name, std::wstring(L"\u00e9t\u00e9"), std::wstring(L"\U0001F600")})
        EXPECT_EQ(exportTypeNameProblem(good), L"") << zavtest::shown(good);
    EXPECT_EQ(proposeExportTypeName(name + L": \u0414\u0430\u043d\u043d\u044b\u0435."),
              name + L"_ \u0414\u0430\u043d\u043d\u044b\u0435");

    Dialog d(L"\u0424\u0430\u0439\u043b\u044b: \u4e00\u89a7");
    d.scene.grid->headers = {L"\u0418\u043c\u044f", L"Size"};
    d.scene.grid->rows = {{L"a", L"1"}};
    auto& m = d.open();
    EXPECT_EQ(m.txtExportType(), L"\u0424\u0430\u0439\u043b\u044b_ \u4e00\u89a7");
    m.setExportTypeText(name);
    const std::wstring output = d.env.outputFolder() + L"\u0412\u044b\u0432\u043e\u0434 \u8f38\u51fa \U0001F4C4.html";
    m.txtOutput = output;
    m.txtDataFormat = L"class=\"d\"";
    ASSERT_TRUE(m.okClicked());
    EXPECT_TRUE(zavtest::pathExists(d.env.typePath(name)));
    EXPECT_NE(zavtest::readBytes(output).find("<td class=\"d\">a</td>"), std::string::npos);
    std::vector<std::wstring> typeFiles;
    for (const auto& e : zavtest::storage().fs.listFiles(d.env.optionFolder())) typeFiles.push_back(e.path);
    EXPECT_EQ(typeFiles, std::vector<std::wstring>{d.env.typePath(name)});
    const std::wstring signature = buildColumnSignature(d.scene.grid->headers);
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, signature), std::vector<std::wstring>{name});

    auto& again = d.open();
    EXPECT_EQ(again.exportTypeItems(), std::vector<std::wstring>{name});
    EXPECT_EQ(again.selectedExportType(), 0);
    EXPECT_EQ(again.txtExportType(), name);
    EXPECT_EQ(again.txtOutput, output);
    EXPECT_EQ(again.txtDataFormat, L"class=\"d\"");
}

// Trees, list boxes and combo boxes: their grids have types of their own, never mixed with those of
// a list view whose header reads the same; a list view's signature is what it always was.
TEST(ExportOptions, EachKindOfControlHasItsOwnTypesAndAListViewKeepsItsSignature) {
    ListViewInfo info;
    info.lColumnCount = 3;
    info.szColumnText = {L"", L"Item", L"Level", L"Path"};
    EXPECT_EQ(buildColumnSignature(info), L"Item_Level_Path");  // what saved list-view types hold
    info.kind = ControlKind::TreeView;
    const std::wstring tree = buildColumnSignature(info);
    info.kind = ControlKind::ListBox;
    const std::wstring listBox = buildColumnSignature(info);
    info.kind = ControlKind::ComboBox;
    const std::wstring comboBox = buildColumnSignature(info);
    EXPECT_EQ(tree, L"{TreeView}Item_Level_Path");
    EXPECT_NE(listBox, tree);
    EXPECT_NE(comboBox, listBox);
    info.lColumnCount = 0;
    EXPECT_EQ(buildColumnSignature(info), L"");  // nothing read: no signature to offer types for

    // One type saved for a tree, one for a list view with the same header texts, in one folder.
    Dialog d(L"Registry");
    d.scene.grid->headers = {L"Item", L"Level", L"Path"};
    d.scene.grid->kind = ControlKind::TreeView;
    auto& t = d.open();
    EXPECT_EQ(t.compatibleTypesLabel(), L"Compatible Export Types (tree view)");
    EXPECT_EQ(t.txtExportType(), L"Registry");  // named after the nearest titled parent
    ASSERT_TRUE(t.okClicked());

    d.scene.grid->kind = ControlKind::ListView;
    auto& l = d.open();
    EXPECT_EQ(l.compatibleTypesLabel(), L"Compatible Export Types");
    EXPECT_TRUE(l.exportTypeItems().empty()) << "a tree's type offered for a list view";
    l.setExportTypeText(L"Flat");
    ASSERT_TRUE(l.okClicked());
    EXPECT_EQ(d.open().exportTypeItems(), (std::vector<std::wstring>{L"Flat"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, L"Item_Level_Path"),
              (std::vector<std::wstring>{L"Flat"}));

    d.scene.grid->kind = ControlKind::TreeView;
    EXPECT_EQ(d.open().exportTypeItems(), (std::vector<std::wstring>{L"Registry"}));

    // A list box without a titled parent is named after its column, without the mark.
    Dialog box(L"");
    box.scene.grid->headers = {L"Item"};
    box.scene.grid->kind = ControlKind::ListBox;
    auto& b = box.open();
    EXPECT_EQ(b.compatibleTypesLabel(), L"Compatible Export Types (list box)");
    EXPECT_EQ(b.txtExportType(), L"Item");
}
