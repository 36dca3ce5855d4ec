// The export dialog's model: the type it proposes, the names it accepts, the rules it edits, and
// the type files it saves (with one backup, never half written) and loads again whole.
#include <algorithm>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "catalog/Catalog.h"
#include "exporttype/ExportTypeName.h"
#include "ini/ValueLimits.h"

using namespace zav;
using namespace exporttest;

namespace {

using Rules = std::vector<std::pair<std::wstring, std::wstring>>;
using Names = std::vector<std::wstring>;

Rules rulesOf(const frmExportOptionsModel& m, const std::wstring& column) {
    Rules out;
    for (const auto& r : m.columns.item(column)->replaces) out.emplace_back(r->szReplace, r->szWith);
    return out;
}

const std::wstring& lastMessage() { return zavtest::reporter().messages.back().text; }

}  // namespace

TEST(ExportOptions, ANewTypeIsNamedAfterTheNearestTitledParentOrTheSignatureMadeAFileName) {
    Dialog d({L"Name", L"Size"}, {});
    auto& m = d.open();
    EXPECT_TRUE(m.exportTypeItems().empty());
    EXPECT_EQ(m.selectedExportType(), -1);
    EXPECT_EQ(m.szColumns, L"Name_Size");
    EXPECT_EQ(m.txtExportType(), L"Files");
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Files.html");
    EXPECT_EQ(m.txtHTMLHeader + m.txtTableFormat + m.txtHeaderFormat + m.txtDataFormat + m.txtHTMLFooter, L"<HTML></HTML>");
    EXPECT_EQ(m.columnItems(), (Names{L"Name", L"Size"}));
    m.setExportTypeText(L"Report2");  // the name box's change handler
    EXPECT_EQ(m.txtOutput, d.env.outputFolder() + L"Report2.html");

    Dialog untitled(L"");
    untitled.scene.grid->headers = {L"A/B", L"C"};
    zavtest::storage().profile.writeString("General", "OutputFolder", nullptr, untitled.env.settings.settingsFile.c_str());
    untitled.env.settings = readSettings(zavtest::storage(), untitled.env.settings.settingsFile);
    auto& u = untitled.open();
    EXPECT_EQ(u.txtExportType(), L"A_B_C");
    EXPECT_EQ(u.txtOutput, L"c:A_B_C.html");  // no output folder set
    for (const auto& [caption, name] : {std::pair<const wchar_t*, const wchar_t*>{L"C:\\Data\\*.txt - Viewer. ", L"C__Data__.txt - Viewer"},
                                        {L"lpt1", L"lpt1_"}}) {
        untitled.scene.windows.caption[3] = caption;
        u.newExportType();
        EXPECT_EQ(u.txtExportType(), name);
    }
}

TEST(ExportOptions, NamesThatCannotBeAFileNameAreRefusedBeforeAnythingIsWritten) {
    for (const wchar_t* bad : {L"", L"a/b", L"a\\b", L"a:b", L"a*", L"a?", L"a\"b", L"<a>", L"a|b", L"a.", L"a ",
                               L"CON", L"con.txt", L"Lpt1", L"COM9", L"NUL ", L"a\tb"})
        EXPECT_NE(exportTypeNameProblem(bad), L"") << zavtest::shown(bad);
    for (const wchar_t* good : {L"Report", L".hidden", L" lead", L"CONSOLE", L"LPT0", L"a.b", L"R&D [1]; x=y %", L"\u00e9t\u00e9",
                                L"\u041e\u0442\u0447\u0451\u0442 \u5831\u544a \U0001F600"})
        EXPECT_EQ(exportTypeNameProblem(good), L"") << zavtest::shown(good);
    EXPECT_EQ(proposeExportTypeName(L"\u041e \U0001F600: \u0414."), L"\u041e \U0001F600_ \u0414");

    Dialog d({L"A"}, {});
    auto& m = d.open();
    m.setExportTypeText(L"a/b");
    EXPECT_FALSE(m.validateExportTypeText());
    EXPECT_EQ(lastMessage(), L"Export Type cannot contain a slash!");
    EXPECT_EQ(zavtest::reporter().messages.back().icon, MessageIcon::Stop);
    m.setExportTypeText(L"AUX");
    EXPECT_TRUE(m.validateExportTypeText());
    EXPECT_FALSE(m.okClicked());
    EXPECT_EQ(lastMessage(), L"Export Type cannot be the device name AUX!");
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

TEST(ExportOptions, ColumnNamesAreMadeUniqueAndTakeTheirRulesFromTheReplacesFile) {
    Dialog d({L"A", L"A", L"A", L"B", L"A1", L"B", L"", L"", L"", L"Name", L"name"}, {});
    EXPECT_EQ(d.open().columnItems(), (Names{L"A", L"A1", L"A2", L"B", L"A11", L"B1", L"", L"1", L"2", L"Name", L"name1"}));
    d.scene.grid->headers = {L"A", L"A1", L"A"};
    d.model->populateExportOptions(d.scene.target);
    EXPECT_EQ(d.model->columnItems(), (Names{L"A", L"A1", L"A2"}));

    d.scene.grid->headers = {L"", L"Size", L"General", L"Size", L"Other"};
    zavtest::writeBytes(d.env.replacesPath(), "[Size]\r\nkB=KB\r\na=b=c\r\nnoequals\r\nKB=dup\r\n\r\n[General]\r\nName=n\r\n"
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
    Dialog d({L"Name", L"Size"}, {});
    auto& m = d.open();
    EXPECT_EQ(m.selectedColumn(), -1);
    AddReplaceModel add(zavtest::reporter());
    EXPECT_FALSE(m.addReplaceClicked(add));  // nothing selected: nothing happens
    m.selectColumn(1);
    EXPECT_TRUE(m.replaceItems().empty());
    ASSERT_TRUE(m.addReplaceClicked(add));
    // Refused with a stop: an empty text, and one a rule replaces already in any letter case. Taken as
    // typed: blanks, "=", line breaks and an empty replacement.
    const struct {
        const wchar_t *from, *to, *refusal;
    } adds[] = {{L"x", L"none", L""}, {L"", L"y", L"You must enter what you want to replace!"},
                {L"X", L"y", L"X is already being replaced!"}, {L" a=b\r\n", L"", L""}};
    for (const auto& [from, to, refusal] : adds) {
        add.txtReplace = from;
        add.txtWith = to;
        zavtest::reporter().messages.clear();
        EXPECT_EQ(add.okClicked(), !*refusal) << zavtest::shown(from);
        EXPECT_EQ(zavtest::reporter().messages.empty() ? L"" : lastMessage(), refusal);
        EXPECT_TRUE(!*refusal || zavtest::reporter().messages.back().icon == MessageIcon::Stop);
    }
    m.activated();
    EXPECT_EQ(m.replaceItems(), (Rules{{L"x", L"none"}, {L" a=b\r\n", L""}}));
    m.selectColumn(0);
    EXPECT_TRUE(m.replaceItems().empty());
    m.removeReplaceClicked();  // no rule selected: nothing happens
    m.selectColumn(1);
    m.selectReplace(0);
    m.removeReplaceClicked();
    EXPECT_EQ(m.replaceItems(), (Rules{{L" a=b\r\n", L""}}));
    zavtest::reporter().answer = false;
    EXPECT_FALSE(m.queryClose());
}

TEST(ExportOptions, SavedTypesAreOfferedLoadedAndPicked) {
    Dialog d({L"Name", L"Size"}, {});
    auto& m = d.open();
    m.setExportTypeText(L"Report");
    m.txtDataFormat = L"class=d";
    m.columns.item(L"Size")->addReplace(L"1", L"one");
    ASSERT_TRUE(m.okClicked());
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, L"Name_Size"), (Names{L"Report"}));

    // A second type for the same layout, saved under another name with its own output file.
    auto& m2 = d.open();
    EXPECT_EQ(m2.exportTypeItems(), (Names{L"Report"}));
    EXPECT_EQ(m2.selectedExportType(), 0);
    m2.setExportTypeText(L"Other");
    m2.txtOutput = d.env.outputFolder() + L"elsewhere.html";
    m2.columns.item(L"Size")->removeReplace(L"1");
    ASSERT_TRUE(m2.okClicked());

    auto& m3 = d.open();
    ASSERT_EQ(m3.exportTypeItems().size(), 2u);
    const int other = m3.exportTypeItems()[0] == L"Other" ? 0 : 1;
    m3.selectExportType(other);
    EXPECT_EQ(m3.exportTypeListText() + L"|" + m3.txtExportType(), L"Other|Other");
    EXPECT_EQ(m3.txtOutput, d.env.outputFolder() + L"elsewhere.html");  // the stored file wins
    EXPECT_TRUE(rulesOf(m3, L"Size").empty());
    m3.selectExportType(1 - other);
    EXPECT_EQ(rulesOf(m3, L"Size"), (Rules{{L"1", L"one"}}));
    m3.newExportType();
    EXPECT_EQ(m3.exportTypeListText() + L"|" + m3.txtExportType() + L"|" + m3.txtDataFormat, L"|Files|");
    // A catalogued type whose file is gone loads empty, without failing.
    zavtest::storage().fs.deleteFile(d.env.typePath(L"Other"), true);
    m3.selectExportType(other);
    EXPECT_EQ(m3.txtExportType() + m3.txtHTMLHeader, L"");
}

TEST(ExportOptions, SavingKeepsOneBackupAndAFailedSaveLeavesThePreviousFile) {
    Dialog d({L"A"}, {});
    auto& m = d.open();
    m.setExportTypeText(L"T");
    const std::wstring type = d.env.typePath(L"T"), backup = d.env.optionFolder() + L"T.old",
                       partial = d.env.optionFolder() + L"T.tmp";
    auto version = [&](const std::wstring& path) {
        cINIFile ini(zavtest::storage());
        ini.FullPath(path);
        ini.SectionName(L"General");
        return ini.GetString(L"HTMLTableFormat", L"");
    };
    std::wstring previous;
    for (const std::wstring v : {L"v1", L"v2", L"v3"}) {
        m.txtTableFormat = v;
        m.saveExportOptions();
        EXPECT_EQ(version(type), v);
        EXPECT_EQ(version(backup), previous);
        EXPECT_EQ(zavtest::pathExists(backup), !previous.empty());
        previous = v;
    }
    EXPECT_FALSE(zavtest::pathExists(partial));

    const std::string good = zavtest::readBytes(type), old = zavtest::readBytes(backup);
    // Without rules the file holds only the stamp and the type's own section.
    EXPECT_NE(good.find("[FileInfo]\r\nType=ExportOption\r\n"), std::string::npos);
    EXPECT_EQ(std::count(good.begin(), good.end(), '['), 2);
    m.txtTableFormat = L"lost";
    // A read-only backup cannot be replaced: the save fails before anything moves.
    zavtest::setReadOnly(backup, true);
    EXPECT_THROW(m.saveExportOptions(), Error);
    zavtest::setReadOnly(backup, false);
    EXPECT_EQ(zavtest::readBytes(backup), old);
    EXPECT_EQ(zavtest::readBytes(type), good);
    // The disk refuses a write halfway through the new file.
    d.faults.profile.refuseWritesAfter(4);
    EXPECT_THROW(m.saveExportOptions(), Error);
    d.faults.profile.allowAllWrites();
    EXPECT_EQ(zavtest::readBytes(type), good);
    // The new file cannot take the type's name: the previous version is put back.
    bool failed = false;  // the first move onto the type's name fails, the move back works
    d.faults.fs.failMoveTo = [&](const std::wstring& to) { return to == type && !std::exchange(failed, true); };
    EXPECT_THROW(m.saveExportOptions(), Error);
    EXPECT_EQ(zavtest::readBytes(type), good);
    EXPECT_FALSE(zavtest::pathExists(partial));
}

// A type file of an earlier version (without the keys of the format and the row and column choices)
// is an HTML type in index order, whatever the list's selection, check boxes and display order.
TEST(ExportOptions, TypeFilesOfEarlierVersionsLoadAsBeforeAndRuleSectionsNeverMeetTheTypesOwnKeys) {
    Dialog d({L"Size", L"General", L""}, {{L"1", L"g&", L"x"}, {L"2", L"h", L"y"}});
    d.scene.grid->order = {3, 1, 2};
    d.scene.grid->widths = {100, 0, 100};
    d.scene.grid->selected = {2};
    d.scene.grid->checkBoxes = true;
    d.scene.grid->checked = {1};
    zavtest::writeBytes(d.env.typePath(L"Old"),
                        "[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\n"
                        "[General]\r\nName=Old\r\nFile=c:\\out%20.html\r\nColumns=Size_General_\r\n"
                        "HTMLHeader=<HTML>\r\nHTMLFooter=</HTML>\r\nHTMLDataFormat=width=\"50%\"\r\nzz=top\r\n"
                        "[Size]\r\na=b=c\r\n1,000=1000\r\n");
    rebuildCatalog(zavtest::storage(), d.env.settings);
    auto& m = d.open();
    ASSERT_EQ(m.exportTypeItems(), (Names{L"Old"}));
    EXPECT_EQ(m.txtOutput, L"c:\\out%20.html");  // no escapes in a file without the mark
    EXPECT_EQ(m.txtDataFormat, L"width=\"50%\"");
    EXPECT_EQ(m.txtTableFormat, L"");
    EXPECT_EQ(m.szColumns, L"Size_General_");
    EXPECT_EQ(rulesOf(m, L"Size"), (Rules{{L"a=b", L"c"}, {L"1,000", L"1000"}}));
    // The entries of the type's own keys are not rules of a column called "General".
    EXPECT_EQ(rulesOf(m, L"General"), (Rules{{L"zz", L"top"}}));
    EXPECT_TRUE(rulesOf(m, L"").empty());
    EXPECT_TRUE(zavtest::reporter().messages.empty());
    EXPECT_EQ(m.format(), ExportFormat::Html);
    EXPECT_EQ((std::vector<bool>{m.displayOrder, m.openAfterExport, m.selectedRowsOnly, m.checkedColumn}), std::vector<bool>(4, false));
    m.txtOutput = d.env.outputFolder() + L"old.html";
    EXPECT_EQ(d.exported(), "<HTML>\r\n<table >\r\n<tr><td >Size</td><td >General</td><td ></td></tr>\r\n"
                            "<tr><td width=\"50%\">1</td><td width=\"50%\">g&amp;</td><td width=\"50%\">x</td></tr>\r\n"
                            "<tr><td width=\"50%\">2</td><td width=\"50%\">h</td><td width=\"50%\">y</td></tr>\r\n</table>\r\n</HTML>\r\n");

    Dialog n({L"General", L"FileInfo", L"%47eneral"}, {});
    auto& t = n.open();
    t.setExportTypeText(L"T");
    const std::pair<const wchar_t*, Rules> rules[] = {{L"General", {{L"Name", L"rule name"}, {L"Columns", L""}}},
                                                      {L"FileInfo", {{L"Type", L"x"}}}, {L"%47eneral", {{L"a", L"b"}}}};
    for (const auto& [column, list] : rules)
        for (const auto& [from, to] : list) t.columns.item(column)->addReplace(from, to);
    t.saveExportOptions();
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), n.env.settings, L"General_FileInfo_%47eneral"), (Names{L"T"}));
    auto& r = n.open();
    EXPECT_EQ(r.txtExportType(), L"T");
    for (const auto& [column, list] : rules) EXPECT_EQ(rulesOf(r, column), list) << zavtest::shown(column);
}

// Every text the file makes awkward (its own syntax, escapes, blanks at the ends, line breaks,
// letters beyond Latin) comes back whole in a second dialog, which writes the same HTML; the type
// and its HTML file get exactly the names typed, in any script.
TEST(ExportOptions, AwkwardTypesOfAnyNameSurviveSaveAndReloadWithTheSameHtml) {
    const std::wstring awkward[] = {L" [x]=y; %20 \"q\" 'a' ", L"<b>&amp;</b>\t\r\nnext\r\n", L"\xA0\xE9\xC9\x20AC $()#!:?*|",
                                    L"=1,5;-2 ", L"a\\b/c %", std::wstring(120, L'w') + L"\u0416"};
    const std::wstring name = L"\u041e\u0442\u0447\u0451\u0442 \u03a9 \u0639 \u5831\u544a \U0001F600";
    Dialog d(L"\u0424\u0430\u0439\u043b\u044b: \u4e00\u89a7");
    d.scene.grid->headers = {L"", L"Name", L"name", L"General", L"FileInfo", awkward[0], awkward[5], L"\u0418\u043c\u044f"};
    d.scene.grid->rows = {{L"1,000", awkward[1], awkward[2], L"x", L"y", awkward[3], L"", L"a"}};
    auto& m = d.open();
    EXPECT_EQ(m.txtExportType(), L"\u0424\u0430\u0439\u043b\u044b_ \u4e00\u89a7");  // the caption, as it is
    m.setExportTypeText(name);
    const std::wstring output = d.env.outputFolder() + L"\u0412\u044b\u0432\u043e\u0434 \u8f38\u51fa \U0001F4C4.html";
    m.txtOutput = output;
    m.txtHTMLHeader = awkward[1];
    m.txtTableFormat = awkward[0];
    m.txtHeaderFormat = awkward[4];
    m.txtDataFormat = awkward[2];
    m.txtHTMLFooter = awkward[3];
    int n = 0;
    for (const auto& column : m.columns)
        for (const auto& text : awkward) {
            ++n;
            column->addReplace(text + std::to_wstring(n), awkward[n % 6]);
        }
    auto image = [](const frmExportOptionsModel& t) {
        std::vector<std::wstring> out = {t.txtExportType(),  t.txtOutput,     t.txtHTMLHeader, t.txtTableFormat,
                                         t.txtHeaderFormat, t.txtDataFormat, t.txtHTMLFooter, t.szColumns};
        for (const auto& c : t.columns)
            for (const auto& r : c->replaces) out.insert(out.end(), {c->szName, r->szReplace, r->szWith});
        return out;
    };
    const auto saved = image(m);
    ASSERT_TRUE(m.okClicked());
    const std::string html = zavtest::readBytes(output);
    EXPECT_NE(html.find("</table>"), std::string::npos);
    std::vector<std::wstring> typeFiles;
    for (const auto& e : zavtest::storage().fs.listFiles(d.env.optionFolder())) typeFiles.push_back(e.path);
    EXPECT_EQ(typeFiles, Names{d.env.typePath(name)});
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, buildColumnSignature(d.scene.grid->headers)),
              Names{name});

    auto& again = d.open();
    EXPECT_EQ(again.exportTypeItems(), Names{name});
    EXPECT_EQ(again.selectedExportType(), 0);
    EXPECT_EQ(image(again), saved);
    zavtest::writeBytes(output, "");
    again.writeExport();
    EXPECT_EQ(zavtest::readBytes(output), html);
}

TEST(ExportOptions, AFailedReadIsToldNamingTheKindOfControlItWasMadeOn) {
    Dialog read({L"A"}, {});
    EXPECT_EQ(L"", read.open().captureProblem());
    const std::pair<ControlKind, const wchar_t*> kinds[] = {{ControlKind::TreeView, L"tree view"}, {ControlKind::ListBox, L"list box"},
                                                            {ControlKind::ComboBox, L"combo box"}, {ControlKind::ListView, L"list view"},
                                                            {ControlKind::None, L"list view"}};
    for (const auto& [kind, name] : kinds) {
        Dialog d;
        d.scene.captures.grids.clear();  // the window went away before the dialog opened
        d.scene.target.kind = kind;
        auto& m = d.open();
        EXPECT_EQ(m.controlName(), name);
        EXPECT_EQ(m.captureProblem(), std::wstring(L"The ") + name + L" no longer exists.");
        EXPECT_EQ(m.grid()->info.lColumnCount, 0);
        try {
            m.okClicked();
            ADD_FAILURE() << "an export of nothing was written";
        } catch (const Error& e) {
            EXPECT_NE(e.detail().find(name), std::wstring::npos) << zavtest::shown(e.detail());
        }
        EXPECT_EQ(m.bOK, vbFalse);  // OK did not end in success: closing asks
        EXPECT_TRUE(m.queryClose());
        EXPECT_EQ(lastMessage(), L"Cancel?");
    }
    // Every failure of a tree's read speaks of the tree.
    for (auto f : {CaptureFailure::ProcessNotOpened, CaptureFailure::NoBuffers, CaptureFailure::TargetGone,
                   CaptureFailure::TargetHung, CaptureFailure::TargetTooWide}) {
        const std::wstring text = describeCaptureFailure(f, ControlKind::TreeView);
        EXPECT_TRUE(text.find(L"tree view") != std::wstring::npos && text.find(L"list view") == std::wstring::npos)
            << zavtest::shown(text);
    }
}

// The profile functions give a value back only up to a length (Windows: under 64 Ki characters;
// Wine: under 32 Ki). The type's own texts are kept whole in continuation entries; a rule, which is
// one entry, is refused beyond the limit with a message that names it, and nothing is saved.
TEST(ExportOptions, TheTypesOwnTextsAreKeptWholeBeyondTheLengthOfAnIniValue) {
    Dialog d({L"Name"}, {});
    auto& m = d.open();
    m.setExportTypeText(L"Long");
    std::wstring header = L"<HTML>";
    for (int i = 0; header.size() < 70000; ++i) header += L"<!-- " + std::to_wstring(i) + L" -->\r\n";
    m.txtHTMLHeader = header;
    m.txtHTMLFooter = std::wstring(kLongestIniValue, L'f');
    ASSERT_TRUE(m.okClicked());
    auto& l = d.open();
    ASSERT_EQ(l.exportTypeItems(), (Names{L"Long"}));
    EXPECT_EQ(l.txtHTMLHeader, header);
    EXPECT_EQ(l.txtHTMLFooter, std::wstring(kLongestIniValue, L'f'));
}

// Apart from the test above: each writes and reads values of that length several times, which
// under Wine's profile functions takes seconds.
TEST(ExportOptions, ARuleIsSavedUpToTheLengthOfAnIniValueAndRefusedBeyondIt) {
    Dialog d({L"Name"}, {});
    auto& m = d.open();
    m.setExportTypeText(L"Long");
    ASSERT_TRUE(m.okClicked());
    auto& l = d.open();
    auto reopen = [&] {  // a second dialog on the same list, while the first stays open
        frmExportOptionsModel read(zavtest::storage(), d.env.settings, d.scene.captures, d.scene.windows, zavtest::reporter());
        read.populateExportOptions(d.scene.target);
        return read.columns.item(L"Name")->replaces;
    };
    // A rule's replacement at the limit and one below are saved; one above is refused.
    const std::wstring typePath = d.env.typePath(L"Long");
    auto column = l.columns.item(L"Name");
    for (std::size_t length : {kLongestIniValue - 1, kLongestIniValue, kLongestIniValue + 1}) {
        if (column->replaces.contains(L"x")) column->removeReplace(L"x");
        column->addReplace(L"x", std::wstring(length, L'w'));
        const std::string before = zavtest::readBytes(typePath);
        zavtest::reporter().messages.clear();
        ASSERT_EQ(l.okClicked(), length <= kLongestIniValue) << length;
        if (length <= kLongestIniValue) {
            const auto read = reopen();
            ASSERT_EQ(read.count(), 1u);
            EXPECT_EQ(read.item(L"x")->szWith.size(), length);
            continue;
        }
        ASSERT_EQ(zavtest::reporter().messages.size(), 1u);
        const std::wstring said = zavtest::reporter().messages[0].text;
        EXPECT_NE(said.find(L"\"x\" in the column \"Name\""), std::wstring::npos) << zavtest::shown(said);
        EXPECT_NE(said.find(std::to_wstring(kLongestIniValue)), std::wstring::npos) << zavtest::shown(said);
        EXPECT_EQ(zavtest::reporter().messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(zavtest::readBytes(typePath), before);
        EXPECT_THROW(l.saveExportOptions(), Error);
        EXPECT_EQ(zavtest::readBytes(typePath), before);
    }
}

// Trees, list boxes and combo boxes: their grids have types of their own, never mixed with those of
// a list view whose header reads the same; a list view's signature is what it always was.
TEST(ExportOptions, EachKindOfControlHasItsOwnTypesAndAListViewKeepsItsSignature) {
    ListViewInfo info;
    info.lColumnCount = 3;
    info.szColumnText = {L"", L"Item", L"Level", L"Path"};
    std::vector<std::wstring> signatures;
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox, ControlKind::ComboBox}) {
        info.kind = kind;
        signatures.push_back(buildColumnSignature(info));
    }
    EXPECT_EQ(signatures[0], L"Item_Level_Path");  // what saved list-view types hold
    EXPECT_EQ(signatures[1], L"{TreeView}Item_Level_Path");
    EXPECT_EQ(std::set<std::wstring>(signatures.begin(), signatures.end()).size(), 4u);
    info.lColumnCount = 0;
    EXPECT_EQ(buildColumnSignature(info), L"");  // nothing read: no signature to offer types for

    // One type saved for a tree, one for a list view with the same header texts, in one folder.
    Dialog d(L"Registry");
    d.scene.grid->headers = {L"Item", L"Level", L"Path"};
    d.scene.grid->kind = ControlKind::TreeView;
    auto& t = d.open();
    EXPECT_EQ(t.compatibleTypesLabel(), L"Compatible Export Types (tree view)");
    EXPECT_EQ(t.txtExportType(), L"Registry");
    ASSERT_TRUE(t.okClicked());
    d.scene.grid->kind = ControlKind::ListView;
    auto& l = d.open();
    EXPECT_EQ(l.compatibleTypesLabel(), L"Compatible Export Types");
    EXPECT_TRUE(l.exportTypeItems().empty()) << "a tree's type offered for a list view";
    l.setExportTypeText(L"Flat");
    ASSERT_TRUE(l.okClicked());
    EXPECT_EQ(d.open().exportTypeItems(), (Names{L"Flat"}));
    EXPECT_EQ(compatibleExportTypes(zavtest::storage(), d.env.settings, L"Item_Level_Path"), (Names{L"Flat"}));
    d.scene.grid->kind = ControlKind::TreeView;
    EXPECT_EQ(d.open().exportTypeItems(), (Names{L"Registry"}));

    // A list box without a titled parent is named after its column, without the mark.
    Dialog box(L"");
    box.scene.grid->headers = {L"Item"};
    box.scene.grid->kind = ControlKind::ListBox;
    auto& b = box.open();
    EXPECT_EQ(b.compatibleTypesLabel(), L"Compatible Export Types (list box)");
    EXPECT_EQ(b.txtExportType(), L"Item");
}
