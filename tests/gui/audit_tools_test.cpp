// Find Missing Dependencies and the Inventory Report over a scratch HKEY_CLASSES_ROOT: the
// marks in the object list, the counters, and the report files handed to the shell.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/launcher.h"
#include "app/settings.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"
#include "tools/compare_results_dlg.h"
#include "tools/inventory_report_dlg.h"
#include "tools/missing_dependencies_dlg.h"
#include "tools/report_file.h"

namespace {

using gui_test::RunModal;
using gui_test::SendClick;
using gui_test::WindowText;

const char kBroken[] = "{C2000000-0000-0000-0000-00000000000A}";
const char kGone[] = "{C2000000-0000-0000-0000-00000000000B}";
const char kSound[] = "{C2000000-0000-0000-0000-00000000000C}";

// Records what would be opened instead of opening it.
class RecordingLauncher : public CLauncher {
 public:
  RecordingLauncher() { previous_ = SetLauncher(this); }
  ~RecordingLauncher() override { SetLauncher(previous_); }
  int RunShell(const std::string& target, const std::string& verb, const std::string&,
               int show) override {
    shell.push_back(target + "|" + verb + "|" + std::to_string(show));
    return 33;
  }
  BOOL ShowHelp(HWND, const std::string& file, UINT command, ULONG_PTR data) override {
    help.push_back(file + "|" + std::to_string(command) + "|" + std::to_string(data));
    return TRUE;
  }
  std::vector<std::string> shell, help;

 private:
  CLauncher* previous_;
};

using corvane::FixturePath;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Points TMP and TEMP at a folder for the object's lifetime.
class TemporaryFolderAt {
 public:
  explicit TemporaryFolderAt(const std::string& folder) {
    for (const char* name : {"TMP", "TEMP"}) {
      char value[MAX_PATH] = "";
      saved_.push_back(GetEnvironmentVariableA(name, value, MAX_PATH) ? value : "");
      SetEnvironmentVariableA(name, folder.c_str());
    }
  }
  ~TemporaryFolderAt() {
    SetEnvironmentVariableA("TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
    SetEnvironmentVariableA("TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
  }

 private:
  std::vector<std::string> saved_;
};

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

class AuditToolsTest : public FrameFixture {
 protected:
  AuditToolsTest() : folder_("corvane audit tools test") {
    saved_ = corvane::AppSettings();
    corvane::AppSettings() = corvane::Settings();
    // A copy of the server beside nothing: its one DLL is found nowhere.
    const std::string broken = folder_.path() + "\\broken.ocx";
    CopyFileA(corvane::FixturePath("corvane_fixture_broken.dll").c_str(), broken.c_str(), FALSE);
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    AddControl(kBroken, "Fixture.Broken.1", broken);
    AddControl(kGone, "Fixture.Gone.1", folder_.path() + "\\gone.ocx");
    AddControl(kSound, "Fixture.<Sound> & \"Co\", 1", std::string(system) + "\\ole32.dll");
  }
  ~AuditToolsTest() override { corvane::AppSettings() = saved_; }

  void AddControl(const char* clsid, const char* prog_id, const std::string& path) {
    const std::string key = std::string("CLSID\\") + clsid;
    classes_.Set(key + "\\ProgID", nullptr, prog_id);
    classes_.Set(key + "\\InprocServer32", nullptr, path);
    classes_.AddKey(key + "\\Control");
  }
  CObjectTree* Tree() { return frame_->GetObjectTree(); }
  int ImageOf(const std::string& label) {
    CListCtrl& list = Tree()->list();
    for (int i = 0; i < list.GetItemCount(); ++i) {
      if (list.GetItemText(i, 0) != label) continue;
      LVITEMA item = {};
      item.mask = LVIF_IMAGE;
      item.iItem = i;
      list.GetItem(&item);
      return item.iImage;
    }
    return -1;
  }
  void ChooseTab(int index) {
    Tree()->tabs().SetCurSel(index);
    NMHDR change = {Tree()->tabs().GetSafeHwnd(), IDC_CATEGORY_TABS, TCN_SELCHANGE};
    SendMessageA(*Tree(), WM_NOTIFY, IDC_CATEGORY_TABS, reinterpret_cast<LPARAM>(&change));
  }

  corvane::ScratchClasses classes_;
  corvane::ScratchFolder folder_;
  corvane::Settings saved_;
  RecordingLauncher launcher_;
};

TEST_F(AuditToolsTest, SearchMarksTheServerWithAMissingDllOnceAndARefreshClearsIt) {
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ(Tree()->list().GetItemCount(), 3);
  EXPECT_EQ(ImageOf("Fixture.Gone.1"), 3);
  CMissingDependenciesDlg search(Tree()->list(), Tree()->GetCategoryName());
  std::string caption, category;
  std::string processed, found;
  bool search_after = true, close_after = false;
  RunModal(search, [&](HWND dialog) {
    caption = WindowText(dialog);
    category = ItemText(dialog, IDC_MISSING_CATEGORY);
    SendClick(dialog, IDC_MISSING_SEARCH);
    processed = ItemText(dialog, IDC_MISSING_PROCESSED);
    found = ItemText(dialog, IDC_MISSING_FOUND);
    search_after = Enabled(dialog, IDC_MISSING_SEARCH);
    close_after = Enabled(dialog, IDOK) &&
                  LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK &&
                  GetFocus() == GetDlgItem(dialog, IDOK);
    SendClick(dialog, IDC_MISSING_HELP);
    SendClick(dialog, IDOK);
  });
  EXPECT_EQ(caption, "Find Missing Dependencies for Controls");
  EXPECT_EQ(category, "Controls");
  EXPECT_EQ(processed, "3");
  EXPECT_EQ(found, "1");  // the misbehaved record is processed, never found
  EXPECT_FALSE(search_after);
  EXPECT_TRUE(close_after);
  EXPECT_EQ(launcher_.help, std::vector<std::string>{"vantic.hlp|1|104"});
  EXPECT_EQ(ImageOf("Fixture.Broken.1"), 4);
  EXPECT_EQ(ImageOf("Fixture.Gone.1"), 3);
  EXPECT_EQ(ImageOf("Fixture.<Sound> & \"Co\", 1"), 0);

  Tree()->FillList(false);
  EXPECT_EQ(ImageOf("Fixture.Broken.1"), 0);
}

TEST_F(AuditToolsTest, SearchOverAnEmptyListCountsNothing) {
  ASSERT_NE(nullptr, Open());
  ChooseTab(2);
  ASSERT_EQ(Tree()->list().GetItemCount(), 0);
  CMissingDependenciesDlg search(Tree()->list(), Tree()->GetCategoryName());
  std::string processed, found;
  RunModal(search, [&](HWND dialog) {
    SendClick(dialog, IDC_MISSING_SEARCH);
    processed = ItemText(dialog, IDC_MISSING_PROCESSED);
    found = ItemText(dialog, IDC_MISSING_FOUND);
    SendClick(dialog, IDOK);
  });
  EXPECT_EQ(processed, "0");
  EXPECT_EQ(found, "0");
}

TEST_F(AuditToolsTest, ReportDialogKeepsOneAttributeAndTheDependencyChoiceAcrossFormats) {
  ASSERT_NE(nullptr, Open());
  CInventoryReportDlg report(Tree()->list().Records(), "Controls", "PC");
  std::string caption, well, mis;
  bool deps_in_text = true, deps_back = false, still_checked = false;
  LRESULT left = 0;
  std::string first;
  gui_test::ModalAnswer message("Corvane", [](HWND) { return IDOK; });
  RunModal(report, [&](HWND dialog) {
    caption = WindowText(dialog);
    well = ItemText(dialog, IDC_REPORT_WELL_BEHAVED);
    mis = ItemText(dialog, IDC_REPORT_MISBEHAVED);
    CheckDlgButton(dialog, IDC_REPORT_DEPENDENCIES, BST_CHECKED);
    HWND formats = GetDlgItem(dialog, IDC_REPORT_FORMAT);
    for (int format : {2, 0}) {
      SendMessageA(formats, CB_SETCURSEL, format, 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPORT_FORMAT, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(formats));
      (format == 2 ? deps_in_text : deps_back) = Enabled(dialog, IDC_REPORT_DEPENDENCIES);
    }
    still_checked = IsDlgButtonChecked(dialog, IDC_REPORT_DEPENDENCIES) == BST_CHECKED;
    HWND attributes = GetDlgItem(dialog, IDC_REPORT_ATTRIBUTES);
    const LRESULT all = SendMessageA(attributes, LB_GETCOUNT, 0, 0);
    SendMessageA(attributes, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, all - 1));
    SendClick(dialog, IDC_REPORT_REMOVE);
    left = SendMessageA(attributes, LB_GETCOUNT, 0, 0);
    char text[64] = "";
    SendMessageA(attributes, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    first = text;
    SendClick(dialog, IDCANCEL);
  });
  EXPECT_EQ(caption, "Controls Inventory Report");
  EXPECT_EQ(well, "Well behaved Controls");
  EXPECT_EQ(mis, "Misbehaved Controls");
  EXPECT_FALSE(deps_in_text);
  EXPECT_TRUE(deps_back);
  EXPECT_TRUE(still_checked);
  EXPECT_EQ(message.answered(), 1);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(first, "ProgID");
}

TEST_F(AuditToolsTest, GenerateWritesTheTemporaryReportAndHandsItToTheShell) {
  ASSERT_NE(nullptr, Open());
  CInventoryReportDlg report(Tree()->list().Records(), "Controls", "PC");
  std::vector<std::string> paths;
  bool progress_hidden = false, close_back = false;
  RunModal(report, [&](HWND dialog) {
    CheckDlgButton(dialog, IDC_REPORT_DEPENDENCIES, BST_CHECKED);
    for (int format : {0, 2}) {
      SendMessageA(GetDlgItem(dialog, IDC_REPORT_FORMAT), CB_SETCURSEL, format, 0);
      SendClick(dialog, IDC_REPORT_GENERATE);
      paths.push_back(report.report_path());
    }
    progress_hidden = !IsWindowVisible(GetDlgItem(dialog, IDC_REPORT_PROGRESS));
    close_back = Enabled(dialog, IDCANCEL);
    SendClick(dialog, IDC_REPORT_HELP);
    SendClick(dialog, IDCANCEL);
  });
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_TRUE(progress_hidden);
  EXPECT_TRUE(close_back);
  ASSERT_GT(paths[0].size(), 8u);
  EXPECT_EQ(paths[0].substr(paths[0].size() - 8), ".tmp.htm");
  EXPECT_EQ(paths[1].substr(paths[1].size() - 8), ".tmp.txt");
  EXPECT_EQ(launcher_.shell, (std::vector<std::string>{paths[0] + "||3", paths[1] + "||3"}));
  EXPECT_EQ(launcher_.help, std::vector<std::string>{"vantic.hlp|1|103"});

  // The programs' text is UTF-8, and the files say so.
  const std::string mark = "\xEF\xBB\xBF";
  const std::string html = ReadFile(paths[0]);
  EXPECT_EQ(html.find(mark + "<html>\r\n<head>\r\n<title>\r\nControls Inventory Report"), 0u);
  EXPECT_NE(html.find("Computer Name: <strong>PC</strong><BR>\r\n"), std::string::npos);
  EXPECT_NE(html.find("<b>Fixture.&lt;Sound&gt; &amp; &quot;Co&quot;, 1</b>"), std::string::npos);
  EXPECT_EQ(html.find("<Sound>"), std::string::npos);
  EXPECT_NE(html.find("<b>corvane_fixture_absent.dll: </b></font></td><td width=\"81%\" "
                      "bgcolor=\"#FFFFFF\" height=18><font size=2 face=\"Verdana\">Not Found!"),
            std::string::npos);
  EXPECT_NE(html.find("Controls Count: <strong>3</strong><BR>\r\n"), std::string::npos);

  const std::string text = ReadFile(paths[1]);
  EXPECT_EQ(text.find(mark + "; The file contains a list of Controls on the following machine: PC\r\n"
                      "; File was genearted on: "),
            0u);
  EXPECT_NE(text.find("\"Fixture.<Sound> & \"\"Co\"\", 1\""), std::string::npos);
  EXPECT_EQ(text.find("absent"), std::string::npos);
  for (const std::string& path : paths) DeleteFileA(path.c_str());
}

TEST_F(AuditToolsTest, ReportFileErrorsSayWhatFailedAndWhereAndOpenNothing) {
  ASSERT_NE(nullptr, Open());
  CInventoryReportDlg report(Tree()->list().Records(), "Controls", "PC");
  const std::string gone = folder_.path() + "\\no such folder\\";
  std::vector<std::string> messages;
  gui_test::ModalAnswer answer("Corvane", [&](HWND box) {
    messages.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
    return IDOK;
  });
  bool close_back = false, progress_hidden = false;
  {
    TemporaryFolderAt temporary(gone);
    RunModal(report, [&](HWND dialog) {
      SendClick(dialog, IDC_REPORT_GENERATE);
      close_back = Enabled(dialog, IDCANCEL) && Enabled(dialog, IDC_REPORT_HELP);
      progress_hidden = !IsWindowVisible(GetDlgItem(dialog, IDC_REPORT_PROGRESS));
      SendClick(dialog, IDCANCEL);
    });
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].find("The report was not written: no temporary file could be made in "
                             "the folder " + gone + "\n\n"),
            0u)
      << messages[0];
  EXPECT_TRUE(close_back);
  EXPECT_TRUE(progress_hidden);
  EXPECT_TRUE(report.report_path().empty());

  // The temporary file gone before it is renamed: the message names the report's file.
  const std::string lost = folder_.path() + "\\lost.tmp";
  std::string path = "stale";
  EXPECT_FALSE(WriteReportFile(lost, ".htm", "text", &path));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], lost + ".htm was not found.");
  EXPECT_TRUE(path.empty());
  EXPECT_EQ(GetFileAttributesA((lost + ".htm").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(launcher_.shell.empty());
}

TEST_F(AuditToolsTest, ComparisonReportWithoutATemporaryFolderSaysWhereAndOpensNothing) {
  ASSERT_NE(nullptr, Open());
  corvane::Win32Platform win32;
  // The dialog keeps references to both lists.
  const std::vector<corvane::CRegisteredObject*> records = Tree()->list().Records();
  const std::vector<std::string> computers = {"CORVANE-NO-SUCH-PC"};
  CCompareResultsDlg dialog(records, computers, "Controls", win32.registry);
  const std::string gone = folder_.path() + "\\no such folder\\";
  std::vector<std::string> messages;
  gui_test::ModalAnswer answer("Corvane", [&](HWND box) {
    messages.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
    return IDOK;
  });
  {
    TemporaryFolderAt temporary(gone);
    RunModal(dialog, [&](HWND hwnd) {
      SendClick(hwnd, IDC_RESULTS_HTML);
      SendClick(hwnd, IDCANCEL);
    });
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].find("The report was not written: no temporary file could be made in "
                             "the folder " + gone),
            0u)
      << messages[0];
  EXPECT_TRUE(launcher_.shell.empty());
}

}  // namespace
