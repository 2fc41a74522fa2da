// The commands of the object list over a scratch HKEY_CLASSES_ROOT: enable rules on each tab,
// Delete and Unregister with their questions and messages, the selection afterwards, the
// hand-overs to the file manager, an EXE server and the browser, and the registry editor jump.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/launcher.h"
#include "app/registry_editor.h"
#include "app/settings.h"
#include "framework/cmd_ui.h"
#include "mainwindow/tab_view.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"
#include "platform/win32/win32_files.h"

namespace {

using gui_test::ModalAnswer;
using gui_test::WindowText;

// In CLSID order the scan meets them otherwise than in ProgID order.
const char kAlpha[] = "{C2000000-0000-0000-0000-00000000000D}";
const char kBeta[] = "{C2000000-0000-0000-0000-00000000000C}";
const char kDelta[] = "{C2000000-0000-0000-0000-00000000000B}";
const char kGamma[] = "{C2000000-0000-0000-0000-00000000000A}";
const char kDllOne[] = "{C2000000-0000-0000-0000-000000000011}";
const char kDllTwo[] = "{C2000000-0000-0000-0000-000000000012}";
const char kServer[] = "{C2000000-0000-0000-0000-000000000021}";
const char kGone[] = "{C2000000-0000-0000-0000-000000000022}";

class RecordingLauncher : public CLauncher {
 public:
  UINT RunCommand(const std::string& command_line, int show) override {
    commands.push_back(command_line);
    shows.push_back(show);
    return 33;
  }
  int RunShell(const std::string& target, const std::string&, const std::string&, int) override {
    commands.push_back("shell " + target);
    return 33;
  }
  std::vector<std::string> commands;
  std::vector<int> shows;
};

// Records what an update rule decides.
class EnableRecorder : public CCmdUI {
 public:
  explicit EnableRecorder(UINT id) : CCmdUI(id) {}
  void Enable(bool on) override { enabled = on; }
  void SetCheck(int) override {}
  void SetRadio(bool) override {}
  bool enabled = false;
};

std::string MessageText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

// The one question before several records go, not a message box of its own.
bool IsBulkQuestion(HWND box) { return GetDlgItem(box, IDC_BULK_REMOVAL_SHOW_LIST) != nullptr; }

// Presses Cancel of the removal's progress window the moment it announces a given record,
// the way a user's click lands between two records.
class CancelWhenAnnounced {
 public:
  explicit CancelWhenAnnounced(std::string announcement) : announcement_(std::move(announcement)) {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
  }
  ~CancelWhenAnnounced() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  bool pressed() const { return pressed_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && current_ != nullptr && !current_->pressed_ &&
        call->message == WM_SETTEXT && GetDlgCtrlID(call->hwnd) == IDC_REMOVAL_PROGRESS_TEXT &&
        call->lParam != 0 &&
        std::string(reinterpret_cast<const char*>(call->lParam)).rfind(current_->announcement_, 0) == 0) {
      current_->pressed_ = true;
      gui_test::PostClick(GetParent(call->hwnd), IDCANCEL);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  static CancelWhenAnnounced* current_;
  std::string announcement_;
  HHOOK hook_ = nullptr;
  bool pressed_ = false;
};
CancelWhenAnnounced* CancelWhenAnnounced::current_ = nullptr;

class ObjectCommandsTest : public FrameFixture {
 protected:
  ObjectCommandsTest() : folder_("corvane object commands test") {
    saved_ = corvane::AppSettings();
    corvane::AppSettings() = corvane::Settings();
    corvane::AppSettings().after_remove = 3;
    old_launcher_ = SetLauncher(&launcher_);
    AddControl(kAlpha, "Fixture.Alpha.1", folder_.AddFile("alpha.ocx"));
    AddControl(kBeta, "Fixture.Beta.1", folder_.path() + "\\missing\\beta.ocx");
    AddControl(kDelta, "Fixture.Delta.1", folder_.path() + "\\missing\\delta.ocx");
    AddControl(kGamma, "Fixture.Gamma.1", folder_.AddFile("gamma.ocx"));
    AddServer(kDllOne, "Fixture.DllOne.1", "InprocServer32", folder_.AddFile("one.dll"));
    AddServer(kDllTwo, "Fixture.DllTwo.1", "InprocServer32", folder_.AddFile("two.dll"));
    AddServer(kServer, "Fixture.Server.1", "LocalServer32", folder_.AddFile("server.exe") + " /automation");
    AddServer(kGone, "Fixture.Server.2", "LocalServer32", folder_.path() + "\\missing\\gone.exe");
  }
  ~ObjectCommandsTest() override {
    SetLauncher(old_launcher_);
    corvane::AppSettings() = saved_;
  }

  void AddControl(const char* clsid, const char* prog_id, const std::string& path) {
    AddServer(clsid, prog_id, "InprocServer32", path);
    classes_.AddKey(std::string("CLSID\\") + clsid + "\\Control");
  }
  void AddServer(const char* clsid, const char* prog_id, const char* server, const std::string& path) {
    const std::string key = std::string("CLSID\\") + clsid;
    classes_.Set(key + "\\ProgID", nullptr, prog_id);
    classes_.Set(key + "\\" + server, nullptr, path);
    classes_.Set(std::string(prog_id) + "\\CLSID", nullptr, clsid);
  }

  void Select(std::vector<int> indexes) {
    CListCtrl& list = Tree()->list();
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED);
    for (int i : indexes) list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  std::vector<int> Selected() {
    std::vector<int> selected;
    for (int i = Tree()->list().GetNextItem(-1, LVNI_SELECTED); i >= 0;
         i = Tree()->list().GetNextItem(i, LVNI_SELECTED))
      selected.push_back(i);
    return selected;
  }
  void Notify(UINT code, WORD key = 0) {
    NMLVKEYDOWN down = {};
    down.hdr = {Tree()->list().GetSafeHwnd(), IDC_OBJECT_LIST, code};
    down.wVKey = key;
    SendMessageA(*Tree(), WM_NOTIFY, IDC_OBJECT_LIST, reinterpret_cast<LPARAM>(&down));
  }
  void Command(UINT id) { SendMessageA(*frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  bool Enabled(UINT id) {
    EnableRecorder ui(id);
    ui.DoUpdate(*Tree());
    return ui.enabled;
  }
  bool Registered(const char* clsid) { return classes_.Exists(std::string("CLSID\\") + clsid); }

  corvane::ScratchFolder folder_;
  corvane::ScratchClasses classes_;
  corvane::Settings saved_;
  RecordingLauncher launcher_;
  CLauncher* old_launcher_ = nullptr;
};

TEST_F(ObjectCommandsTest, EnableRulesOnEachTabWithNoneOneAndTwoSelected) {
  ASSERT_NE(nullptr, Open());
  for (int tab = 0; tab < 3; ++tab) {
    ChooseTab(tab);
    ASSERT_GE(Tree()->list().GetItemCount(), 2);
    for (int count = 0; count <= 2; ++count) {
      SCOPED_TRACE("tab " + std::to_string(tab) + ", selected " + std::to_string(count));
      Select(count == 0 ? std::vector<int>{} : count == 1 ? std::vector<int>{0} : std::vector<int>{0, 1});
      const bool any = count > 0, one = count == 1;
      EXPECT_EQ(Enabled(ID_GOTO_FILE_LOCATION), any);
      EXPECT_EQ(Enabled(ID_RUN_EXE_SERVER), any && tab == 2);
      EXPECT_EQ(Enabled(ID_UNREGISTER), any && tab != 2);
      EXPECT_EQ(Enabled(ID_REMOVE_FROM_REGISTRY), any);
      EXPECT_EQ(Enabled(ID_VIEW_IN_IE), any && tab == 0);
      EXPECT_EQ(Enabled(ID_COMPARE_WITH), one);  // item 0 is well behaved on every tab
      for (UINT jump : {ID_JUMP_CLSID, ID_JUMP_PROGID, ID_JUMP_TYPELIB}) EXPECT_EQ(Enabled(jump), one);
      EXPECT_TRUE(Enabled(ID_SELECT_ALL));
      EXPECT_EQ(Enabled(ID_COMPARE_SELECTED_WITH_COMPUTERS), any);
      EXPECT_TRUE(Enabled(ID_COMPARE_ALL_WITH_COMPUTERS));
      EXPECT_EQ(Enabled(ID_COMPARE_WITH_NETWORK), any);
    }
  }
}

TEST_F(ObjectCommandsTest, DeleteAsksOnlyForTheWellBehavedAndReselectsAtTheAnchor) {
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ((std::vector<std::string>{"Fixture.Alpha.1", "Fixture.Beta.1", "Fixture.Delta.1",
                                      "Fixture.Gamma.1"}),
            Labels());
  Select({1, 2, 3});  // Beta and Delta misbehaved, Gamma well behaved: No keeps it
  std::vector<std::string> questions;
  std::string bulk_question;
  {
    ModalAnswer answer("Confirm Registry Removal", [&](HWND box) {
      if (IsBulkQuestion(box)) {
        bulk_question = WindowText(GetDlgItem(box, IDC_BULK_REMOVAL_TEXT));
        return IDYES;
      }
      questions.push_back(MessageText(box));
      return IDNO;
    });
    Notify(LVN_KEYDOWN, VK_DELETE);
  }
  EXPECT_EQ("Remove the registrations of the 2 misbehaved classes selected from the Registry?\n\n"
            "Their server files were not found. A backup of each class is written before its keys "
            "are deleted.\n\nThe 1 properly registered classes selected are asked about one by one.",
            bulk_question);
  ASSERT_EQ(1u, questions.size());
  EXPECT_EQ("Fixture.Gamma.1 is properly registered.\nIt is recommended that you unregister it "
            "instead (Use the unregister button in the toolbar).\n\nWould you like to delete it "
            "from the registry anyway?",
            questions[0]);
  EXPECT_EQ((std::vector<std::string>{"Fixture.Alpha.1", "Fixture.Gamma.1"}), Labels());
  EXPECT_FALSE(Registered(kBeta));
  EXPECT_FALSE(Registered(kDelta));
  EXPECT_FALSE(classes_.Exists("Fixture.Beta.1"));
  EXPECT_TRUE(Registered(kGamma));
  EXPECT_EQ((std::vector<int>{1}), Selected());  // the anchor was 1, now Gamma
  EXPECT_EQ("Items: 2", frame_->status_bar()->GetPaneText(1));
  EXPECT_EQ(2u, Tree()->catalogue().list(corvane::kControls).size());
}

// Select All and Delete over eight misbehaved controls: one question with the count and the
// list; No keeps all; Yes, then Cancel while the fourth is next, leaves three removed, each
// with its backup, and five untouched.
TEST_F(ObjectCommandsTest, BulkDeleteAsksOnceAndCancelStopsBeforeTheNextRecord) {
  std::vector<std::string> dead;
  for (char digit = '1'; digit <= '6'; ++digit) {
    dead.push_back(std::string("{C2000000-0000-0000-0000-0000000000E") + digit + "}");
    AddControl(dead.back().c_str(), (std::string("Fixture.Dead.") + digit).c_str(),
               folder_.path() + "\\missing\\dead" + digit + ".ocx");
  }
  corvane::AppSettings().display_installed = 0;
  corvane::AppSettings().after_remove = 0;
  ASSERT_NE(nullptr, Open());
  const std::vector<std::string> all = Labels();
  ASSERT_EQ(8u, all.size());  // Beta, Dead.1 to Dead.6, Delta
  Command(ID_SELECT_ALL);

  int bulk_questions = 0, listed = 0;
  bool list_hidden_first = false;
  auto ask = [&](int answer) {
    return ModalAnswer("Confirm Registry Removal", [&, answer](HWND box) {
      if (!IsBulkQuestion(box)) return IDNO;
      ++bulk_questions;
      HWND list = GetDlgItem(box, IDC_BULK_REMOVAL_LIST);
      list_hidden_first = !IsWindowVisible(list);
      gui_test::SendClick(box, IDC_BULK_REMOVAL_SHOW_LIST);
      if (IsWindowVisible(list)) listed = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
      return answer;
    });
  };
  {
    ModalAnswer no = ask(IDNO);
    Command(ID_REMOVE_FROM_REGISTRY);
  }
  EXPECT_EQ(1, bulk_questions);
  EXPECT_TRUE(list_hidden_first);
  EXPECT_EQ(8, listed);
  EXPECT_EQ(all, Labels());

  std::string summary;
  {
    ModalAnswer yes = ask(IDYES);
    ModalAnswer message("Corvane Message", [&](HWND box) {
      summary = WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT));
      return IDOK;
    });
    CancelWhenAnnounced cancel("Removing 4 of 8: ");
    Command(ID_REMOVE_FROM_REGISTRY);
    EXPECT_TRUE(cancel.pressed());
  }
  EXPECT_EQ(2, bulk_questions);
  EXPECT_EQ(std::vector<std::string>(all.begin() + 3, all.end()), Labels());
  EXPECT_FALSE(Registered(kBeta));
  EXPECT_FALSE(Registered(dead[0].c_str()));
  EXPECT_FALSE(Registered(dead[1].c_str()));
  for (std::size_t i = 2; i < dead.size(); ++i) EXPECT_TRUE(Registered(dead[i].c_str()));
  EXPECT_TRUE(Registered(kDelta));
  EXPECT_EQ("Items: 7", frame_->status_bar()->GetPaneText(1));  // the hidden two count too
  EXPECT_TRUE(IsWindowEnabled(*frame_));
  EXPECT_TRUE(gui_test::ThreadDialogs("Removing from the Registry", gui_test::kAnyState).empty());
  EXPECT_EQ(0, corvane::AppSettings().after_remove);
  const std::string folder = corvane::Win32Files().AppDataFolder() + "\\Tessaline\\Corvane\\Backup";
  EXPECT_EQ(0u, summary.find("Removal cancelled: 3 of the 8 selected classes were removed from "
                             "the Registry; the others were left unchanged.\n\nA backup of each "
                             "removed class was written to\n" + folder)) << summary;
  for (const std::string& clsid : {std::string(kBeta), dead[0], dead[1]}) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*" + clsid + ".reg").c_str(), &found);
    EXPECT_NE(INVALID_HANDLE_VALUE, find) << clsid;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
  }
}

TEST_F(ObjectCommandsTest, RemovingTheLastItemsSelectsTheLastOneLeftThenNothing) {
  ASSERT_NE(nullptr, Open());
  ChooseTab(2);
  ASSERT_EQ((std::vector<std::string>{"Fixture.Server.1", "Fixture.Server.2"}), Labels());
  Select({1});
  Command(ID_REMOVE_FROM_REGISTRY);  // misbehaved: no question
  EXPECT_EQ((std::vector<std::string>{"Fixture.Server.1"}), Labels());
  EXPECT_EQ((std::vector<int>{0}), Selected());

  std::string question;
  {
    ModalAnswer answer("Confirm Registry Removal", [&](HWND box) {
      question = MessageText(box);
      return IDYES;
    });
    Command(ID_SELECT_ALL);
    Command(ID_REMOVE_FROM_REGISTRY);
  }
  EXPECT_EQ("Fixture.Server.1 is properly registered.\nIt is recommended that you uninstall the "
            "software via the vendors' uninstall program.\n\nWould you like to delete it from the "
            "registry anyway?",
            question);
  EXPECT_TRUE(Labels().empty());
  EXPECT_TRUE(Selected().empty());
  EXPECT_FALSE(Registered(kServer));
  EXPECT_EQ("Items: 0", frame_->status_bar()->GetPaneText(1));
}

TEST_F(ObjectCommandsTest, UnregisterOfAMisbehavedRecordSaysWhyAndKeepsIt) {
  ASSERT_NE(nullptr, Open());
  Select({1});
  std::vector<std::string> texts;
  {
    ModalAnswer answer("Can not unregister", [&](HWND box) {
      texts.push_back(MessageText(box));
      return IDOK;
    });
    Command(ID_UNREGISTER);
  }
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ("Can not unregister Fixture.Beta.1. The file it resides in was not found.\n\nYou can "
            "remove it from the Registry using the 'Remove From Registry' feature.",
            texts[0]);
  EXPECT_EQ(4, Tree()->list().GetItemCount());
  EXPECT_TRUE(Registered(kBeta));
  EXPECT_EQ((std::vector<int>{1}), Selected());
}

// F5 and a second Delete that reach the list while a question is up find the main window
// disabled behind it and are refused: the loop goes on over the records it started with.
TEST_F(ObjectCommandsTest, WhileAQuestionIsUpTheWindowIsDisabledAndRescanOrASecondRemovalWait) {
  ASSERT_NE(nullptr, Open());
  const std::vector<corvane::CRegisteredObject*> before = Tree()->list().Records();
  Select({0, 3});  // Alpha and Gamma, both asked about
  HWND list = Tree()->list().GetSafeHwnd();
  std::vector<std::string> questions;
  std::vector<HWND> owners;
  bool frame_enabled = true;
  {
    ModalAnswer answer("Confirm Registry Removal", [&](HWND box) {
      questions.push_back(MessageText(box));
      owners.push_back(GetWindow(box, GW_OWNER));
      frame_enabled = frame_enabled && IsWindowEnabled(*frame_);
      if (questions.size() == 1) {
        // What the user's keys give, handled while the box is up.
        PostMessageA(list, WM_KEYDOWN, VK_F5, 0);
        PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
        gui_test::Pump();
        EXPECT_EQ(before, Tree()->list().Records());
        return IDNO;
      }
      return IDYES;
    });
    Notify(LVN_KEYDOWN, VK_DELETE);
  }
  ASSERT_EQ(2u, questions.size());
  EXPECT_EQ(0u, questions[0].rfind("Fixture.Alpha.1 is properly registered.", 0));
  EXPECT_EQ(0u, questions[1].rfind("Fixture.Gamma.1 is properly registered.", 0));
  EXPECT_EQ((std::vector<HWND>{frame_->GetSafeHwnd(), frame_->GetSafeHwnd()}), owners);
  EXPECT_FALSE(frame_enabled);
  EXPECT_TRUE(IsWindowEnabled(*frame_));
  EXPECT_EQ((std::vector<corvane::CRegisteredObject*>{before[0], before[1], before[2]}),
            Tree()->list().Records());
  EXPECT_TRUE(Registered(kAlpha));
  EXPECT_FALSE(Registered(kGamma));
}

TEST_F(ObjectCommandsTest, NoToEveryQuestionKeepsTheWholeSelection) {
  ASSERT_NE(nullptr, Open());
  Select({0, 3});  // the focus is on Gamma
  {
    ModalAnswer answer("Confirm Registry Removal", [](HWND) { return IDNO; });
    Command(ID_REMOVE_FROM_REGISTRY);
  }
  EXPECT_EQ((std::vector<int>{0, 3}), Selected());
  EXPECT_EQ(0, Tree()->list().GetNextItem(-1, LVNI_FOCUSED));  // the anchor
}

// A server that deletes its keys and then reports failure: the failure is shown and the
// record, whose class is gone, leaves the list.
TEST_F(ObjectCommandsTest, UnregisterThatFailsAfterDeletingTheKeysDropsTheRecord) {
  const std::string failing = corvane::FixturePath("corvane_fixture_failing.ocx");
  AddControl("{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F915}", "CorvaneFixture.Failing.1", failing);
  ASSERT_NE(nullptr, Open());
  ASSERT_EQ("CorvaneFixture.Failing.1", Labels()[0]);
  Select({0});
  std::vector<std::string> messages;
  {
    ModalAnswer answer("Corvane Message", [&](HWND box) {
      messages.push_back(WindowText(GetDlgItem(box, IDC_MESSAGE_TEXT)));
      return IDOK;
    });
    Command(ID_UNREGISTER);
  }
  ASSERT_EQ(1u, messages.size());
  EXPECT_EQ(0u, messages[0].rfind("'DllUnregisterServer' failed in ", 0)) << messages[0];
  EXPECT_FALSE(Registered("{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F915}"));
  EXPECT_EQ("Fixture.Alpha.1", Labels()[0]);
  EXPECT_EQ(4u, Tree()->catalogue().list(corvane::kControls).size());
}

// A control whose server is a .dll is listed on two tabs; a ProgID edited on one renames both.
TEST_F(ObjectCommandsTest, AProgIdEditedOnTheRegistryPageRenamesTheClassOnEveryTab) {
  const char kShared[] = "{C2000000-0000-0000-0000-000000000031}";
  AddControl(kShared, "Fixture.Shared.1", folder_.AddFile("shared.dll"));
  ASSERT_NE(nullptr, Open());
  ChooseTab(1);  // read the name on the DLL tab first, so that its record keeps it
  ASSERT_EQ("Fixture.Shared.1", Labels()[2]);
  ChooseTab(0);
  ASSERT_EQ("Fixture.Shared.1", Labels()[4]);
  Select({4});
  CRegistryPage& page = frame_->GetTabView()->registry_page();
  CTreeCtrl& keys = page.tree();
  HTREEITEM item = keys.GetChildItem(TreeView_GetRoot(keys));  // CLSID
  item = keys.GetChildItem(keys.GetChildItem(item));           // the class's first subkey
  while (item != nullptr && keys.GetItemText(item) != "ProgID") item = keys.GetNextSiblingItem(item);
  ASSERT_NE(nullptr, item);
  keys.SelectItem(item);
  {
    ModalAnswer edit("Edit Value", [](HWND dialog) {
      SetDlgItemTextA(dialog, IDC_VALUE_DATA, "Fixture.Renamed.1");
      return IDOK;
    });
    page.EditValue(0);
    ASSERT_EQ(1, edit.answered());
  }
  ChooseTab(1);
  EXPECT_EQ("Fixture.Renamed.1", Labels()[2]);
}

TEST_F(ObjectCommandsTest, DoubleClickOpensEachFolderAndRunExeStartsTheServer) {
  ASSERT_NE(nullptr, Open());
  Select({0, 1});
  Notify(NM_DBLCLK);
  EXPECT_EQ((std::vector<std::string>{"Explorer " + folder_.path(),
                                      "Explorer " + folder_.path() + "\\missing"}),
            launcher_.commands);
  ChooseTab(2);
  launcher_.commands.clear();
  Select({0});
  Command(ID_RUN_EXE_SERVER);
  EXPECT_EQ((std::vector<std::string>{folder_.path() + "\\server.exe /automation"}),
            launcher_.commands);
  EXPECT_EQ(SW_SHOWNORMAL, launcher_.shows.back());
}

TEST_F(ObjectCommandsTest, ViewInIEWritesOneObjectPerSelectedControl) {
  ASSERT_NE(nullptr, Open());
  Select({0, 1, 3});
  Command(ID_VIEW_IN_IE);
  ASSERT_EQ(1u, launcher_.commands.size());
  const std::string command = launcher_.commands[0];
  ASSERT_EQ(0u, command.rfind("Explorer ", 0));
  const std::string page = command.substr(9);
  EXPECT_EQ(".HTM", page.substr(page.size() - 4));
  EXPECT_NE(std::string::npos, page.find("axm"));
  std::ifstream file(page, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  file.close();
  DeleteFileA(page.c_str());
  auto object = [](const std::string& name, const std::string& clsid) {
    return "Depending on the implementation of <strong>" + name + "</strong> you might not see it.<BR>\r\n"
           "<object id=Control1 classid=clsid:" + clsid.substr(1, clsid.size() - 2) + "\r\n"
           "Width=300\r\nHeight=100>\r\n</object></p>\r\n";
  };
  EXPECT_EQ("<html>\r\n<head>\r\n<title>\r\nPreview ActiveX Controls In Internet Explorer</title></head>\r\n"
            "<body>\r\n<p><small><font face=Verdana>\r\n"
            "<strong>Tip</strong>: You can save this page and use it as a starting point for your "
            "Intranet or Internet application.<BR>\r\n"
            "It contains the Object tag required for ActiveX Controls hosted in Internet Explorer.<BR><HR>\r\n" +
                object("Fixture.Alpha.1", kAlpha) + object("Fixture.Beta.1", kBeta) +
                object("Fixture.Gamma.1", kGamma) + "</font></body></html>\r\n",
            bytes.str());
}

TEST_F(ObjectCommandsTest, JumpWithoutAnEditorWindowSaysSoAfterTryingToStartOne) {
  ASSERT_NE(nullptr, Open());
  const std::string old_class = SetRegistryEditorClass("Corvane_NoSuchEditor");
  Select({0});
  std::vector<std::string> texts;
  {
    ModalAnswer answer("Corvane", [&](HWND box) {
      texts.push_back(MessageText(box));
      return IDOK;
    });
    Command(ID_JUMP_CLSID);
  }
  SetRegistryEditorClass(old_class);
  EXPECT_EQ((std::vector<std::string>{"REGEDIT.EXE"}), launcher_.commands);
  EXPECT_EQ(SW_SHOW, launcher_.shows.back());
  EXPECT_EQ((std::vector<std::string>{
                "Failed to find the REGEDIT tool.\nPlease contact support@tessaline.example"}),
            texts);
}

// Wine's own registry editor, started for real, ends on the class's key, also when it reopens
// at that key expanded from the jump before; it is closed again each time.
TEST(RegistryEditorJump, WineRegeditSelectsTheClassKey) {
  const char kKey[] = "CLSID\\{C2000000-0000-0000-0000-0000000000EE}";
  HKEY created = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CLASSES_ROOT, kKey, &created));
  RegSetValueA(created, "InprocServer32", REG_SZ, "jump.dll", 8);
  RegCloseKey(created);
  const std::string expected = std::string("HKEY_CLASSES_ROOT\\") + kKey;
  for (int jump = 0; jump < 2; ++jump) {
    OpenInRegistryEditor(expected + "\\");
    HWND editor = RegistryEditorWindow();
    ASSERT_NE(nullptr, editor);
    HWND status = FindWindowExA(editor, nullptr, STATUSCLASSNAMEA, nullptr);
    char text[512] = "";
    if (status != nullptr) SendMessageA(status, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    SendMessageA(editor, WM_CLOSE, 0, 0);
    const std::string shown = text;
    const std::size_t root = shown.find("HKEY_CLASSES_ROOT");
    EXPECT_TRUE(root != std::string::npos && shown.substr(root) == expected) << shown;
  }
  corvane::DeleteRegistryTree(HKEY_CLASSES_ROOT, kKey);
}

}  // namespace
