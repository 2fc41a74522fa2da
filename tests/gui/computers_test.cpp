// Across computers under Wine: the Computers dialog, the comparison results with this
// computer and one that does not exist, sorting, resizing, the report, stopping, and the
// comparison with the whole network where Wine has none.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "catalogue/object_kinds.h"
#include "platform/memory/memory_network.h"
#include "platform/memory/memory_registry.h"
#include "resources/resource.h"
#include "tests/gui/details_test_support.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"
#include "tools/compare_computers_dlg.h"
#include "tools/compare_results_dlg.h"
#include "tools/computers_dlg.h"
#include "tools/gui_network.h"

namespace {

using details_test::ItemText;
using gui_test::Pump;
using gui_test::RunModal;
using gui_test::SendClick;

const char kNoSuchComputer[] = "CORVANE-NO-SUCH-PC";
const char kUnregistered[] = "{C1200000-0000-0000-0000-0000000000F1}";
const char kStopText[] = "Please wait while Corvane cancels remote search...";

// Puts a stand-in network in place for one test.
class NetworkSwap {
 public:
  explicit NetworkSwap(corvane::Network* network) : old_(SetGuiNetwork(network)) {}
  ~NetworkSwap() { SetGuiNetwork(old_); }

 private:
  corvane::Network* old_;
};

std::vector<std::string> ListTexts(HWND list) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) texts.push_back(ItemText(list, i, 0));
  return texts;
}

TEST(ComputersDialogTest, TheLocalComputerAndDuplicatesAreNotAddedAndCancelKeepsTheList) {
  corvane::MemoryNetwork network;
  NetworkSwap swap(&network);
  std::vector<std::string> computers;
  CComputersDlg dialog(computers);
  std::string local = LocalComputerName();
  for (char& c : local) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  ASSERT_FALSE(local.empty());
  RunModal(dialog, [&](HWND hwnd) {
    HWND list = GetDlgItem(hwnd, IDC_COMPUTER_LIST);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDOK))) << "an empty list";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_COMPUTER_REMOVE)));
    network.set_browsed(local);
    SendClick(hwnd, IDC_COMPUTER_ADD);
    EXPECT_TRUE(ListTexts(list).empty()) << "this computer, in lower case";
    network.set_browsed("Alpha");
    SendClick(hwnd, IDC_COMPUTER_ADD);
    network.set_browsed("ALPHA");
    SendClick(hwnd, IDC_COMPUTER_ADD);
    network.set_browsed("");  // the user cancels the browser
    SendClick(hwnd, IDC_COMPUTER_ADD);
    EXPECT_EQ(ListTexts(list), std::vector<std::string>{"Alpha"});
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDOK)));

    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_COMPUTER_REMOVE)));
    SendClick(hwnd, IDC_COMPUTER_REMOVE);
    EXPECT_TRUE(ListTexts(list).empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDOK))) << "the last one removed";
    SendClick(hwnd, IDOK);  // nothing happens on an empty list
    EXPECT_TRUE(IsWindowVisible(hwnd));
    network.set_browsed("BETA");
    SendClick(hwnd, IDC_COMPUTER_ADD);
    SendClick(hwnd, IDCANCEL);
  });
  EXPECT_TRUE(computers.empty());

  computers = {"KEPT"};
  CComputersDlg again(computers);
  EXPECT_EQ(RunModal(again, [&](HWND hwnd) {
              network.set_browsed("GAMMA");
              SendClick(hwnd, IDC_COMPUTER_ADD);
              SendClick(hwnd, IDOK);
            }),
            IDOK);
  EXPECT_EQ(computers, (std::vector<std::string>{"KEPT", "GAMMA"}));
}

// Records of classes this prefix registers, and one of a class registered nowhere.
class ResultsTest : public testing::Test {
 protected:
  ResultsTest() {
    HKEY classes = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID", 0, KEY_READ, &classes) ==
        ERROR_SUCCESS) {
      char name[256];
      for (DWORD i = 0; owned_.size() < 3; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(classes, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
          break;
        if (name[0] != '{') continue;
        owned_.push_back(std::make_unique<corvane::CControlObject>(win32_.platform, name));
      }
      RegCloseKey(classes);
    }
    owned_.push_back(std::make_unique<corvane::CControlObject>(win32_.platform, kUnregistered));
    for (auto& record : owned_) records_.push_back(record.get());
  }

  static void WaitForWorker(CCompareResultsDlg& dialog) {
    for (int i = 0; i < 1000 && dialog.comparing(); ++i) {
      Pump();
      Sleep(10);
    }
  }

  corvane::Win32Platform win32_;
  std::vector<std::unique_ptr<corvane::CRegisteredObject>> owned_;
  std::vector<corvane::CRegisteredObject*> records_;
};

LPARAM ItemData(HWND list, int row) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

TEST_F(ResultsTest, ThisComputerRegistersWhatItHasAndAMissingComputerFailsEverywhere) {
  ASSERT_EQ(records_.size(), 4u);
  const std::vector<std::string> computers = {LocalComputerName(), kNoSuchComputer};
  CCompareResultsDlg dialog(records_, computers, "Controls", win32_.registry);
  std::string report;
  RunModal(dialog, [&](HWND hwnd) {
    HWND list = GetDlgItem(hwnd, IDC_COMPUTER_RESULTS);
    WaitForWorker(dialog);
    ASSERT_FALSE(dialog.comparing());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_RESULTS_HTML)));
    for (int row = 0; row < 4; ++row) {
      ASSERT_EQ(ItemData(list, row), row);
      EXPECT_EQ(ItemText(list, row, 0), records_[row]->GetName());
      EXPECT_EQ(ItemText(list, row, 2), row < 3 ? "Registered" : "Missing!") << row;
      EXPECT_EQ(ItemText(list, row, 3), "Connection Failure") << row;
    }
    LVCOLUMNA column = {};
    char head[64] = "";
    column.mask = LVCF_TEXT;
    column.pszText = head;
    column.cchTextMax = sizeof head;
    SendMessageA(list, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(head, kNoSuchComputer);

    // A click on the third column's header: "Missing!" sorts first, and keeps its record.
    NMLISTVIEW click = {};
    click.hdr = {list, IDC_COMPUTER_RESULTS, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 2;
    SendMessageA(hwnd, WM_NOTIFY, IDC_COMPUTER_RESULTS, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(ItemText(list, 0, 2), "Missing!");
    EXPECT_EQ(ItemData(list, 0), 3);
    EXPECT_EQ(ItemText(list, 0, 0), records_[3]->GetName());

    // Larger, then a size message with no height: the buttons stay in the corner.
    SetWindowPos(hwnd, nullptr, 0, 0, 900, 600, SWP_NOZORDER | SWP_NOMOVE);
    RECT client = {};
    GetClientRect(hwnd, &client);
    const RECT close = gui_test::RectInParent(GetDlgItem(hwnd, IDCANCEL));
    const RECT html = gui_test::RectInParent(GetDlgItem(hwnd, IDC_RESULTS_HTML));
    const RECT results = gui_test::RectInParent(list);
    EXPECT_GT(close.right, client.right - 20);
    EXPECT_GT(close.bottom, client.bottom - 25);
    EXPECT_LT(html.right, close.left);
    EXPECT_EQ(html.top, close.top);
    EXPECT_EQ(results.right, close.right);
    EXPECT_LT(results.bottom, close.top);
    EXPECT_GT(results.bottom, close.top - 15);
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 0));
    const RECT unchanged = gui_test::RectInParent(GetDlgItem(hwnd, IDCANCEL));
    EXPECT_EQ(unchanged.left, close.left);
    EXPECT_EQ(unchanged.top, close.top);

    const std::string path = dialog.WriteReport();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.substr(path.size() - 8), ".tmp.htm");
    std::ifstream file(path, std::ios::binary);
    report.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    file.close();
    DeleteFileA(path.c_str());
    SendClick(hwnd, IDCANCEL);
  });
  EXPECT_NE(report.find("<html>\r\n"), std::string::npos) << "lines end in CR LF";
  const std::size_t missing = report.find(">Missing!</font>");
  const std::size_t registered = report.find(">Registered</font>");
  ASSERT_NE(missing, std::string::npos);
  EXPECT_LT(missing, registered) << "the rows in the order shown";
  EXPECT_NE(report.find(std::string("<b>") + kNoSuchComputer + "</b>"), std::string::npos);
}

// Every connection takes a while, as an unreachable computer's does.
class SlowRegistry : public corvane::Win32Registry {
 public:
  long ConnectLocalMachine(const char* computer, corvane::RegKey* out) override {
    ++connects;
    Sleep(400);
    return corvane::Win32Registry::ConnectLocalMachine(computer, out);
  }
  std::atomic<int> connects{0};
};

TEST_F(ResultsTest, ClosingWhileComparingShowsTheStopWindowAndStartsNoMoreComputers) {
  std::vector<std::string> computers;
  for (int i = 0; i < 12; ++i) computers.push_back("CORVANE-SLOW-" + std::to_string(i));
  SlowRegistry slow;
  CCompareResultsDlg dialog(records_, computers, "Controls", slow);
  bool stop_window_seen = false;
  bool html_was_disabled = false;
  // Looks for the stop window while the dialog waits for its worker.
  gui_test::ModalDriver watch(
      {{[] {
          std::vector<HWND> found;
          for (HWND hwnd : gui_test::ThreadDialogs("", gui_test::kVisible))
            if (FindWindowExA(hwnd, nullptr, "Static", kStopText) != nullptr)
              found.push_back(hwnd);
          return found;
        },
        [&](HWND) { stop_window_seen = true; }}},
      20, 0);
  const INT_PTR result = RunModal(dialog, [&](HWND hwnd) {
    html_was_disabled = !IsWindowEnabled(GetDlgItem(hwnd, IDC_RESULTS_HTML));
    SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(html_was_disabled);
  EXPECT_TRUE(stop_window_seen);
  EXPECT_LE(slow.connects.load(), 8) << "no computer is started after the stop";
}

class NoWorkerResultsDlg : public CCompareResultsDlg {
 public:
  using CCompareResultsDlg::CCompareResultsDlg;

 protected:
  HANDLE StartWorkerThread(LPTHREAD_START_ROUTINE, void*) override { return nullptr; }
};

TEST_F(ResultsTest, WithoutAWorkerEveryComputerFailsAndTheReportCanBeWritten) {
  const std::vector<std::string> computers = {LocalComputerName(), "OTHER"};
  NoWorkerResultsDlg dialog(records_, computers, "Controls", win32_.registry);
  RunModal(dialog, [&](HWND hwnd) {
    HWND list = GetDlgItem(hwnd, IDC_COMPUTER_RESULTS);
    EXPECT_FALSE(dialog.comparing());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_RESULTS_HTML)));
    for (int row = 0; row < 4; ++row) {
      EXPECT_EQ(ItemText(list, row, 2), "Connection Failure");
      EXPECT_EQ(ItemText(list, row, 3), "Connection Failure");
    }
    SendClick(hwnd, IDCANCEL);
  });
}

TEST_F(ResultsTest, CompareIsOnlyOfferedWithComputersToCompareWith) {
  std::vector<std::string> computers;
  CCompareComputersDlg dialog(records_, "Controls", computers);
  RunModal(dialog, [&](HWND hwnd) {
    EXPECT_EQ(gui_test::WindowText(GetDlgItem(hwnd, IDC_COMPARE_CATEGORY)), "Controls");
    EXPECT_EQ(ListTexts(GetDlgItem(hwnd, IDC_COMPARE_OBJECTS)).size(), 4u);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_COMPARE_COMPUTERS)));
    SendClick(hwnd, IDCANCEL);
  });
}

TEST_F(ResultsTest, AddRemoveRefillsTheComputersAndEnablesCompare) {
  corvane::MemoryNetwork network;
  NetworkSwap swap(&network);
  std::vector<std::string> computers;
  CCompareComputersDlg dialog(records_, "Controls", computers);
  std::vector<std::string> shown;
  bool compare_enabled = false;
  const char kCaption[] = "Compare with other computers";
  gui_test::DialogDriver driver(
      {{kCaption, [](HWND hwnd) { gui_test::PostClick(hwnd, IDC_COMPUTERS_ADD_REMOVE); }},
       {"Computers",
        [&](HWND box) {
          network.set_browsed("ALPHA");
          SendClick(box, IDC_COMPUTER_ADD);
          gui_test::PostClick(box, IDOK);
        }},
       {kCaption,
        [&](HWND hwnd) {
          shown = ListTexts(GetDlgItem(hwnd, IDC_COMPUTER_LIST));
          compare_enabled = IsWindowEnabled(GetDlgItem(hwnd, IDC_COMPARE_COMPUTERS));
          gui_test::PostClick(hwnd, IDCANCEL);
        }}},
      [&dialog] { EndDialog(dialog.GetSafeHwnd(), IDCANCEL); });
  dialog.DoModal();
  EXPECT_FALSE(driver.gave_up());
  EXPECT_EQ(computers, std::vector<std::string>{"ALPHA"});
  EXPECT_EQ(shown, std::vector<std::string>{"ALPHA"});
  EXPECT_TRUE(compare_enabled);
}

// A results dialog over no records: no rows, the worker ends at once, and the report holds
// the table head alone.
TEST_F(ResultsTest, WithNoRecordsTheListIsEmptyAndTheReportHasOnlyItsHead) {
  const std::vector<corvane::CRegisteredObject*> none;
  const std::vector<std::string> computers = {LocalComputerName()};
  CCompareResultsDlg dialog(none, computers, "Controls", win32_.registry);
  std::string report;
  RunModal(dialog, [&](HWND hwnd) {
    WaitForWorker(dialog);
    EXPECT_FALSE(dialog.comparing());
    EXPECT_EQ(0, ListView_GetItemCount(GetDlgItem(hwnd, IDC_COMPUTER_RESULTS)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_RESULTS_HTML)));
    const std::string path = dialog.WriteReport();
    std::ifstream file(path, std::ios::binary);
    report.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    file.close();
    DeleteFileA(path.c_str());
    SendClick(hwnd, IDCANCEL);
  });
  const std::size_t head = report.find("<b>Local Version</b>");
  ASSERT_NE(head, std::string::npos);
  EXPECT_EQ(report.find("<tr>", report.find("</tr>", head)), std::string::npos) << report;
  EXPECT_NE(report.find("</table>", head), std::string::npos);
}

// What the cells look like: a cell's text colour, read back from the screen where the list
// drew it. Computer columns show "Missing!" red and "Version ..." green; the rest is black.
TEST_F(ResultsTest, ComputerCellsAreRedWhenMissingGreenForAnotherVersionAndBlackOtherwise) {
  corvane::MemoryRegistry remote;
  const corvane::RegKey machine = remote.AddComputer("OTHER");
  const std::string own = records_[0]->clsid(), other = records_[1]->clsid();
  remote.SetString(machine, "Software\\Classes\\CLSID\\" + own + "\\Version", "",
                   records_[0]->ReadClassValue("Version"));
  remote.SetString(machine, "Software\\Classes\\CLSID\\" + other + "\\Version", "",
                   "Version that differs");
  const std::vector<corvane::CRegisteredObject*> shown = {records_[0], records_[1], records_[3]};
  const std::vector<std::string> computers = {"OTHER"};
  CCompareResultsDlg dialog(shown, computers, "Controls", remote);
  std::vector<COLORREF> colours;
  std::vector<std::string> texts;
  RunModal(dialog, [&](HWND hwnd) {
    WaitForWorker(dialog);
    HWND list = GetDlgItem(hwnd, IDC_COMPUTER_RESULTS);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetForegroundWindow(hwnd);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC screen = GetDC(list);
    for (int row = 0; row < 3; ++row) {
      texts.push_back(ItemText(list, row, 2));
      RECT cell = {};
      cell.top = 2;
      cell.left = LVIR_BOUNDS;
      SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
      // The text's colour: the commonest pixel of the cell that is not the background (edges
      // of smoothed letters are blends).
      std::map<COLORREF, int> seen;
      for (int y = cell.top; y < cell.bottom; ++y)
        for (int x = cell.left; x < cell.right; ++x) {
          const COLORREF pixel = GetPixel(screen, x, y);
          if (pixel != GetSysColor(COLOR_WINDOW) && pixel != CLR_INVALID) ++seen[pixel];
        }
      COLORREF found = CLR_INVALID;
      int most = 0;
      for (const auto& [pixel, count] : seen)
        if (count > most) found = pixel, most = count;
      colours.push_back(found);
    }
    ReleaseDC(list, screen);
    SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(texts, (std::vector<std::string>{"Registered", "Version Version that differs",
                                             "Missing!"}));
  EXPECT_EQ(colours, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(0, 128, 0), RGB(255, 0, 0)}));
}

// The object view with one control, selected, over a scratch HKEY_CLASSES_ROOT.
class NetworkCommandTest : public FrameFixture {
 protected:
  NetworkCommandTest() : folder_("corvane network command test") {
    const std::string key = "CLSID\\{C1200000-0000-0000-0000-0000000000F2}";
    classes_.Set(key + "\\InprocServer32", nullptr, folder_.AddFile("net.ocx"));
    classes_.AddKey(key + "\\Control");
    classes_.Set(key + "\\ProgID", nullptr, "Fixture.Network.1");
  }
  CObjectTree* OpenWithTheControlSelected() {
    Open();
    CObjectTree* tree = frame_->GetObjectTree();
    EXPECT_GE(tree->list().GetItemCount(), 1);
    tree->list().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    return tree;
  }

  corvane::ScratchFolder folder_;
  corvane::ScratchClasses classes_;
};

// Discovery that finds only this computer: the message box, owned by the main window, and no
// results dialog.
TEST_F(NetworkCommandTest, ANetworkOfOnlyThisComputerSaysComputersNotFound) {
  corvane::MemoryNetwork network;
  network.AddContainer("", "Microsoft Windows Network", 0);
  network.AddServer("Microsoft Windows Network", "\\\\" + LocalComputerName());
  NetworkSwap swap(&network);
  CObjectTree* tree = OpenWithTheControlSelected();
  std::string text;
  HWND owner = nullptr;
  gui_test::ModalAnswer answer("Computers Not Found", [&](HWND box) {
    text = gui_test::WindowText(GetDlgItem(box, 0xFFFF));
    owner = GetWindow(box, GW_OWNER);
    return IDOK;
  });
  tree->OnCmdMsg(ID_COMPARE_WITH_NETWORK, nullptr);
  EXPECT_EQ(answer.answered(), 1);
  EXPECT_EQ(text, "Could not find any computers on the local network. Make sure you are "
                  "properly connected to the LAN.");
  EXPECT_EQ(owner, frame_->GetSafeHwnd());
  EXPECT_TRUE(gui_test::ThreadDialogs("Comparing with other computers").empty());
}

TEST_F(NetworkCommandTest, WithoutANetworkTheCommandSaysSoAndOpensNothing) {
  CObjectTree* tree = OpenWithTheControlSelected();
  std::string text;
  gui_test::ModalAnswer answer("Network Error", [&](HWND box) {
    text = gui_test::WindowText(FindWindowExA(box, nullptr, "Static", nullptr));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (gui_test::WindowText(child).find("Failed") == 0) text = gui_test::WindowText(child);
    return IDOK;
  });
  tree->OnCmdMsg(ID_COMPARE_WITH_NETWORK, nullptr);
  EXPECT_EQ(answer.answered(), 1);
  EXPECT_EQ(text, "Failed to enumerate computers on local network.");
  EXPECT_TRUE(gui_test::ThreadDialogs("Comparing with other computers").empty());
}

}  // namespace
