// Check for Updates against a real HTTP server on 127.0.0.1: the latest version older, equal
// and newer, failed fetches, the news, a download to completion, a cancelled download, and a
// computer without the internet library. Downloads go to a desktop folder of the test's own.
#include "tests/gui/local_http_server.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "update/news_dlg.h"
#include "update/web_update_dlg.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

namespace {

using gui_test::LocalHttpServer;
using gui_test::WindowText;

const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kUpdateSection[] = "Software\\Tessaline\\Corvane\\WebUpdate";

const char kNews[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n"
    "@@Version 2.2\\par\nFaster scans.\\par\n"
    "@@Version 2.1\\par\nReports in CSV.\\par\n"
    "@@Version 2.0\\par\nFirst release of 2.0.\\par\n"
    "@@Version 1.9\\par\nOlder fixes.\\par\n}";

const char kAvailable21[] =
    "An update is available!  Version 2.1 was released on 1 March 2027, and the download size "
    "is 96 KB.";
const char kStatus404[] = "\n\nThe server answered with HTTP status 404.";
const char kFailed[] =
    "Could not retrieve update information from the Internet.  Please check your Internet "
    "settings and try again later. You can also visit our web site at "
    "http://www.tessaline.example/, for the latest news and updates.";

// Pumps this thread's messages until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD ms = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > ms) return false;
    gui_test::Pump();
    Sleep(10);
  }
  return true;
}

std::string TempFolder(const char* name) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Points the user's desktop at a folder of the test's own for its lifetime, so that nothing
// lands in the real desktop (the prefix's one is linked to the home folder's).
class OwnDesktop {
 public:
  OwnDesktop() : folder_(TempFolder("corvane_test_desktop")) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key_, nullptr);
    DWORD size = sizeof saved_;
    had_value_ = RegQueryValueExA(key_, "Desktop", nullptr, &saved_type_,
                                  reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
    saved_size_ = size;
    RegSetValueExA(key_, "Desktop", 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(folder_.c_str()),
                   static_cast<DWORD>(folder_.size() + 1));
  }
  ~OwnDesktop() {
    if (had_value_) {
      RegSetValueExA(key_, "Desktop", 0, saved_type_, reinterpret_cast<const BYTE*>(saved_),
                     saved_size_);
    } else {
      RegDeleteValueA(key_, "Desktop");
    }
    RegCloseKey(key_);
  }
  std::string File(const std::string& name) const { return folder_ + "\\" + name; }
  std::vector<std::string> Files() const { return FilesIn(folder_); }
  // Empties the folder of files a test left.
  void Clear() const {
    for (const std::string& name : Files()) {
      DeleteFileA(File(name).c_str());
      RemoveDirectoryA(File(name).c_str());
    }
  }

 private:
  std::string folder_;
  HKEY key_ = nullptr;
  char saved_[MAX_PATH * 2] = "";
  DWORD saved_type_ = 0;
  DWORD saved_size_ = 0;
  bool had_value_ = false;
};

std::string ModulePath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string Installer() {
  std::string bytes;
  for (int i = 0; i < 96 * 1024; ++i) bytes += static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

class WebUpdateTest : public testing::Test {
 protected:
  void SetUp() override {
    desktop_.Clear();
    server_.Set("/news.rtf", {kNews});
    Serve("2.1");
  }
  void TearDown() override { desktop_.Clear(); }

  // The update information with the latest version; `drop` leaves one key out.
  void Serve(const std::string& latest, const std::string& drop = "", int status = 200) {
    const std::pair<const char*, std::string> lines[] = {
        {"LATEST VERSION", latest},
        {"VERSION TO DISPLAY", "2.1"},
        {"FILE URL", server_.Url("/files/corvane21.exe")},
        {"FILE SIZE", "96 KB"},
        {"RELEASE DATE", "1 March 2027"},
        {"NEWS DATE", "2 March 2027"},
        {"NEW CHANGES TEXT", "What is new in this update:\\n"},
        {"OLD CHANGES TEXT", "Already installed:\\n"},
        {"DESCRIPTION URL", server_.Url("/news.rtf")}};
    std::string text;
    for (const auto& line : lines) {
      if (drop != line.first) text += std::string(line.first) + ": " + line.second + "\r\n";
    }
    server_.Set("/ver.txt", {text, true, 0, 0, 0, status});
  }

  // Runs the dialog and hands it to `check` once the fetch has ended.
  void RunChecked(CWebUpdateDlg& dialog, const std::function<void(HWND)>& check) {
    gui_test::RunModal(
        dialog,
        [&](HWND hwnd) {
          ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(hwnd, IDOK)) != 0; }));
          check(hwnd);
          if (IsWindow(hwnd)) gui_test::SendClick(hwnd, IDOK);
        },
        90000);
  }

  static std::string Info(HWND hwnd) { return WindowText(GetDlgItem(hwnd, IDC_UPDATE_INFO)); }
  static bool Shown(HWND hwnd, int id) { return IsWindowVisible(GetDlgItem(hwnd, id)) != 0; }
  static bool Enabled(HWND hwnd, int id) { return IsWindowEnabled(GetDlgItem(hwnd, id)) != 0; }
  static bool IsDefault(HWND hwnd, int id) {
    return (GetWindowLongPtrA(GetDlgItem(hwnd, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  }

  OwnDesktop desktop_;
  LocalHttpServer server_;
};

TEST_F(WebUpdateTest, NewerVersionOffersTheDownloadAndTheNews) {
  CWebUpdateDlg dialog(server_.Url("/ver.txt"), ModulePath());
  RunChecked(dialog, [&](HWND hwnd) {
    EXPECT_EQ(WindowText(hwnd), "Corvane Web Update");
    EXPECT_EQ(Info(hwnd), kAvailable21);
    EXPECT_TRUE(Shown(hwnd, IDC_NEWS_LINK));
    EXPECT_EQ(WindowText(GetDlgItem(hwnd, IDC_NEWS_LINK)), "View Latest News (Updated 2 March 2027)");
    EXPECT_TRUE(Shown(hwnd, IDC_DOWNLOAD_LINK));
    EXPECT_EQ(WindowText(GetDlgItem(hwnd, IDC_DOWNLOAD_LINK)), "Download Latest Update (96 KB)");
    EXPECT_TRUE(Shown(hwnd, IDC_DOWNLOAD_PROGRESS_TEXT));
    EXPECT_TRUE(Shown(hwnd, IDC_DOWNLOAD_PROGRESS));
    EXPECT_TRUE(Enabled(hwnd, IDOK));
    EXPECT_FALSE(Enabled(hwnd, IDCANCEL));
    EXPECT_TRUE(IsDefault(hwnd, IDOK));
    EXPECT_FALSE(IsDefault(hwnd, IDCANCEL));
  });
}

TEST_F(WebUpdateTest, EqualOrOlderLatestVersionHasNoDownload) {
  for (const char* latest : {"2.0", "2.0.0.0", "1.9.9"}) {
    Serve(latest);
    CWebUpdateDlg dialog(server_.Url("/ver.txt"), ModulePath());
    RunChecked(dialog, [&](HWND hwnd) {
      EXPECT_EQ(Info(hwnd), "There are no updates available.  The latest news is dated 2 March 2027.")
          << latest;
      EXPECT_TRUE(Shown(hwnd, IDC_NEWS_LINK));
      EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_LINK));
      EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_PROGRESS));
      // The download link does nothing while hidden.
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
      EXPECT_TRUE(Enabled(hwnd, IDOK));
    });
  }
  EXPECT_TRUE(desktop_.Files().empty());
}

TEST_F(WebUpdateTest, FailedFetchOrMissingKeyShowsTheFailure) {
  Serve("2.1", "DESCRIPTION URL");
  CWebUpdateDlg missing_key(server_.Url("/ver.txt"), ModulePath());
  RunChecked(missing_key, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd), kFailed);
    EXPECT_FALSE(Shown(hwnd, IDC_NEWS_LINK));
    EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_LINK));
    EXPECT_TRUE(IsDefault(hwnd, IDOK));
  });

  CWebUpdateDlg not_found(server_.Url("/missing.txt"), ModulePath());
  RunChecked(not_found, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd), std::string(kFailed) + kStatus404);
  });

  // Nothing listens on the port of a server that has stopped.
  std::string gone;
  {
    LocalHttpServer stopped;
    gone = stopped.Url("/ver.txt");
  }
  CWebUpdateDlg refused(gone, ModulePath());
  RunChecked(refused, [&](HWND hwnd) { EXPECT_EQ(Info(hwnd), kFailed); });
}

TEST_F(WebUpdateTest, NewsShowsHeadingsInPlaceOfTheVersionMarkers) {
  CWebUpdateDlg dialog(server_.Url("/ver.txt"), ModulePath());
  std::string news;
  RunChecked(dialog, [&](HWND hwnd) {
    gui_test::ActOnce viewer("Corvane News", [&](HWND news_dialog) {
      news = WindowText(GetDlgItem(news_dialog, IDC_NEWS_TEXT));
      gui_test::SendClick(news_dialog, IDOK);
    });
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_NEWS_LINK, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_NEWS_LINK)));
    EXPECT_TRUE(viewer.acted());
  });
  EXPECT_EQ(news,
            "What is new in this update:\r\nFaster scans.\r\nReports in CSV.\r\n"
            "Already installed:\r\nFirst release of 2.0.\r\nOlder fixes.");
}

TEST_F(WebUpdateTest, CompleteDownloadLandsOnTheDesktopAndIsNamedAfterwards) {
  const std::string installer = Installer();
  server_.Set("/files/corvane21.exe", {installer, true, 8192, 20});
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kUpdateSection, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  &key, nullptr);
  const std::string url = server_.Url("/ver.txt");
  RegSetValueExA(key, "URL", 0, REG_SZ, reinterpret_cast<const BYTE*>(url.c_str()),
                 static_cast<DWORD>(url.size() + 1));

  std::string progress_seen, done_text, final_message;
  gui_test::DialogDriver driver(
      {{"Corvane Web Update",
        [&](HWND hwnd) {
          ASSERT_TRUE(WaitFor([&] { return Enabled(hwnd, IDOK); }));
          SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_DOWNLOAD_LINK)));
          EXPECT_FALSE(Enabled(hwnd, IDOK));
          EXPECT_TRUE(IsDefault(hwnd, IDCANCEL));
          WaitFor([&] {
            progress_seen = WindowText(GetDlgItem(hwnd, IDC_DOWNLOAD_PROGRESS_TEXT));
            return progress_seen.find('%') != std::string::npos || Enabled(hwnd, IDOK);
          });
          ASSERT_TRUE(WaitFor([&] { return Enabled(hwnd, IDOK); }));
          done_text = Info(hwnd);
          EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_LINK));
          EXPECT_FALSE(Shown(hwnd, IDC_NEWS_LINK));
          EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_PROGRESS));
          gui_test::SendClick(hwnd, IDOK);
        }},
       {"Update ready for installation",
        [&](HWND box) {
          final_message = WindowText(GetDlgItem(box, 0xFFFF));
          gui_test::SendClick(box, IDNO);
        }}},
      [] {});
  CheckForUpdates();
  RegDeleteValueA(key, "URL");
  RegCloseKey(key);

  // The size the server announced gives a percentage.
  EXPECT_EQ(progress_seen.rfind("Downloading the update to your Windows Desktop ... ", 0), 0u)
      << progress_seen;
  EXPECT_EQ(progress_seen.back(), '%') << progress_seen;
  EXPECT_EQ(done_text,
            "The update has been successfully downloaded and stored on your Windows Desktop.\n\n"
            "Please press the Close button now.");
  EXPECT_TRUE(ReadFile(desktop_.File("corvane21.exe")) == installer);
  EXPECT_EQ(final_message,
            "The update has been downloaded to your Windows Desktop as \"corvane21.exe\".\n\n"
            "Install it now? Corvane closes so that the installer can replace it.\n\n"
            "Otherwise, exit this program later and execute that file. After installing, you "
            "may delete it or move it to a different location.");
}

TEST_F(WebUpdateTest, CancelledDownloadDeletesThePartialFileAndOffersItAgain) {
  // About ten seconds to send in full, so the cancel comes in the middle.
  server_.Set("/files/corvane21.exe", {Installer(), true, 1024, 100});
  CWebUpdateDlg dialog(server_.Url("/ver.txt"), ModulePath());
  RunChecked(dialog, [&](HWND hwnd) {
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !desktop_.Files().empty(); }));
    // A second click while busy starts nothing.
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
    gui_test::SendClick(hwnd, IDCANCEL);
    EXPECT_EQ(Info(hwnd), "Cancelling web access ... please wait.");
    EXPECT_TRUE(IsWindow(hwnd));
    ASSERT_TRUE(WaitFor([&] { return Enabled(hwnd, IDOK); }));
    EXPECT_TRUE(desktop_.Files().empty());
    EXPECT_EQ(Info(hwnd), kAvailable21);
    EXPECT_EQ(WindowText(GetDlgItem(hwnd, IDC_DOWNLOAD_PROGRESS_TEXT)), "Download Progress");
    EXPECT_EQ(SendMessageA(GetDlgItem(hwnd, IDC_DOWNLOAD_PROGRESS), PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(Shown(hwnd, IDC_DOWNLOAD_LINK));
    EXPECT_FALSE(Enabled(hwnd, IDCANCEL));
  });
  EXPECT_TRUE(dialog.download_target().empty());
}

TEST_F(WebUpdateTest, NamesTakenOnTheDesktopKeepTheirFilesAndTheDownloadTakesTheNextOne) {
  // The user's own file and a folder of the installer's names: neither is touched.
  const std::string mine = desktop_.File("corvane21.exe");
  WriteFile(mine, "the user's own file");
  ASSERT_TRUE(CreateDirectoryA(desktop_.File("corvane21 (2).exe").c_str(), nullptr));
  const std::string installer = Installer();
  server_.Set("/files/corvane21.exe", {installer, true, 16 * 1024, 200});
  std::string target;
  {
    CWebUpdateDlg cancelled(server_.Url("/ver.txt"), ModulePath());
    RunChecked(cancelled, [&](HWND hwnd) {
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
      ASSERT_TRUE(WaitFor([&] { return desktop_.Files().size() == 3; }));
      gui_test::SendClick(hwnd, IDCANCEL);
      ASSERT_TRUE(WaitFor([&] { return Enabled(hwnd, IDOK); }));
    });
    EXPECT_TRUE(cancelled.download_target().empty());
  }
  EXPECT_EQ(ReadFile(mine), "the user's own file");
  EXPECT_EQ(desktop_.Files(), (std::vector<std::string>{"corvane21 (2).exe", "corvane21.exe"}));

  server_.Set("/files/corvane21.exe", {installer});
  {
    CWebUpdateDlg complete(server_.Url("/ver.txt"), ModulePath());
    RunChecked(complete, [&](HWND hwnd) {
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
      ASSERT_TRUE(WaitFor([&] { return Enabled(hwnd, IDOK); }));
    });
    target = complete.download_target();
  }
  EXPECT_EQ(target, desktop_.File("corvane21 (3).exe"));
  EXPECT_TRUE(ReadFile(target) == installer);
  EXPECT_EQ(ReadFile(mine), "the user's own file");
  EXPECT_TRUE(GetFileAttributesA(desktop_.File("corvane21 (2).exe").c_str()) &
              FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(desktop_.Files().size(), 3u);
  RemoveDirectoryA(desktop_.File("corvane21 (2).exe").c_str());
}

TEST_F(WebUpdateTest, InstallerUrlWithoutAFileNameIsReportedAndNothingIsFetched) {
  std::string message;
  // A URL that names no file: nothing is fetched or written.
  server_.Set("/ver.txt", {"LATEST VERSION: 9\r\nVERSION TO DISPLAY: 9\r\nFILE SIZE: 1 KB\r\n"
                           "FILE URL: " + server_.Url("/files/") + "\r\n"
                           "RELEASE DATE: x\r\nNEWS DATE: y\r\nNEW CHANGES TEXT: n\r\n"
                           "OLD CHANGES TEXT: o\r\nDESCRIPTION URL: " + server_.Url("/news.rtf")});
  CWebUpdateDlg nameless(server_.Url("/ver.txt"), ModulePath());
  RunChecked(nameless, [&](HWND hwnd) {
    gui_test::ModalAnswer answer("Corvane", [&](HWND box) {
      message = WindowText(GetDlgItem(box, 0xFFFF));
      return IDOK;
    });
    const int before = server_.requests();
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_EQ(server_.requests(), before);
    EXPECT_TRUE(Enabled(hwnd, IDOK));
  });
  EXPECT_NE(message.find("does not name a file"), std::string::npos) << message;
}

TEST_F(WebUpdateTest, ErrorPagesAreFailuresAndNeverTheInstallerOrTheNews) {
  // A complete update information file, but on an error page.
  const std::string page = "<html>Not here</html>";
  Serve("2.1", "", 500);
  CWebUpdateDlg info_error(server_.Url("/ver.txt"), ModulePath());
  RunChecked(info_error, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd), std::string(kFailed) + "\n\nThe server answered with HTTP status 500.");
    EXPECT_FALSE(Shown(hwnd, IDC_NEWS_LINK));
  });

  Serve("2.1");
  server_.Set("/news.rtf", {page, true, 0, 0, 0, 404});
  CWebUpdateDlg news_error(server_.Url("/ver.txt"), ModulePath());
  RunChecked(news_error, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd), std::string(kFailed) + kStatus404);
    EXPECT_FALSE(Shown(hwnd, IDC_DOWNLOAD_LINK));
  });

  server_.Set("/news.rtf", {kNews});
  server_.Set("/files/corvane21.exe", {page, true, 0, 0, 0, 404});
  std::string message;
  CWebUpdateDlg download_error(server_.Url("/ver.txt"), ModulePath());
  RunChecked(download_error, [&](HWND hwnd) {
    gui_test::ModalAnswer answer("Corvane", [&](HWND box) {
      message = WindowText(GetDlgItem(box, 0xFFFF));
      return IDOK;
    });
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_LINK, STN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return answer.answered() == 1 && Enabled(hwnd, IDOK); }));
    EXPECT_EQ(Info(hwnd), kAvailable21);
  });
  EXPECT_EQ(message, "The update could not be downloaded. The server answered with HTTP status 404.");
  EXPECT_TRUE(download_error.download_target().empty());
  EXPECT_TRUE(desktop_.Files().empty());
}

TEST_F(WebUpdateTest, NewsWithoutEndIsRefusedAndCancelEndsASlowOne) {
  server_.Set("/news.rtf", {std::string(64 * 1024, 'n'), false, 0, 0, 0, 200, true});
  CWebUpdateDlg endless(server_.Url("/ver.txt"), ModulePath());
  RunChecked(endless, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd), std::string(kFailed) + "\n\nThe news is larger than 1 MB.");
  });

  // A trickle that would take hours: Cancel ends the dialog at once.
  server_.Set("/news.rtf", {std::string(4096, 'n'), false, 8, 200, 0, 200, true});
  CWebUpdateDlg slow(server_.Url("/ver.txt"), ModulePath());
  const INT_PTR result = gui_test::RunModal(
      slow,
      [&](HWND hwnd) {
        ASSERT_TRUE(WaitFor([&] { return server_.requests() >= 2; }));
        gui_test::SendClick(hwnd, IDCANCEL);
      },
      20000);
  EXPECT_EQ(result, IDOK);
}

TEST_F(WebUpdateTest, CancelWhileFetchingEndsTheDialogWhenTheFetchReturns) {
  server_.Set("/slow.txt", {"LATEST VERSION: 2.1\r\n", true, 0, 0, 1500});
  CWebUpdateDlg dialog(server_.Url("/slow.txt"), ModulePath());
  INT_PTR result = gui_test::RunModal(
      dialog,
      [&](HWND hwnd) {
        EXPECT_EQ(Info(hwnd), "Please wait while downloading update information...");
        EXPECT_FALSE(Enabled(hwnd, IDOK));
        gui_test::SendClick(hwnd, IDCANCEL);
        EXPECT_EQ(Info(hwnd), "Cancelling web access ... please wait.");
      },
      60000);
  EXPECT_EQ(result, IDOK);
}

TEST_F(WebUpdateTest, WithoutTheInternetLibraryOnlyCancelCloses) {
  CWebUpdateDlg dialog(server_.Url("/ver.txt"), ModulePath(), nullptr,
                       "corvane_no_such_internet.dll");
  INT_PTR result = gui_test::RunModal(dialog, [&](HWND hwnd) {
    EXPECT_EQ(Info(hwnd),
              "Your computer does not seem to have a working Internet connection.  Please "
              "consult your Microsoft Windows documentation (WININET.DLL is not installed or "
              "configured).");
    EXPECT_FALSE(Enabled(hwnd, IDOK));
    EXPECT_TRUE(Enabled(hwnd, IDCANCEL));
    EXPECT_FALSE(Shown(hwnd, IDC_NEWS_LINK));
    gui_test::SendClick(hwnd, IDOK);
    EXPECT_TRUE(IsWindow(hwnd));
    gui_test::SendClick(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(server_.requests(), 0);
}

TEST(NewsViewer, HeadingsReplaceTheMarkersAndTheTextIsReadOnly) {
  CNewsDlg news;
  news.SetNewsText(kNews);
  news.SetHeadings("New since your version\\nof Corvane:\\n", "Already installed:\\n");
  news.SetInstalledVersion(corvane::CVersionNumber("2.0"));
  std::string text;
  bool read_only = false;
  gui_test::RunModal(news, [&](HWND hwnd) {
    EXPECT_EQ(WindowText(hwnd), "Corvane News");
    HWND edit = GetDlgItem(hwnd, IDC_NEWS_TEXT);
    text = WindowText(edit);
    read_only = (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY) != 0;
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(text,
            "New since your version\r\nof Corvane:\r\nFaster scans.\r\nReports in CSV.\r\n"
            "Already installed:\r\nFirst release of 2.0.\r\nOlder fixes.");
  EXPECT_TRUE(read_only);

  CNewsDlg plain;
  plain.SetNewsText("{\\rtf1\\ansi No markers here.\\par\nJust news.}");
  plain.SetHeadings("New:\\n", "Old:\\n");
  plain.SetInstalledVersion(corvane::CVersionNumber("2.0"));
  gui_test::RunModal(plain, [&](HWND hwnd) {
    text = WindowText(GetDlgItem(hwnd, IDC_NEWS_TEXT));
    gui_test::SendClick(hwnd, IDOK);
  });
  EXPECT_EQ(text, "No markers here.\r\nJust news.");
}

}  // namespace
