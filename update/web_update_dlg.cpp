#include "update/web_update_dlg.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "app/gui_platform.h"
#include "app/launcher.h"
#include "update/news_dlg.h"
#include "update/version_info.h"
#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kChunk = 4095;
constexpr DWORD kProgressInterval = 1000;
constexpr DWORD kInformationFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kDownloadFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY;

// When the last progress message of any download went out.
DWORD last_progress_tick = 0;

// A string of the string table filled like printf.
std::string FormatString(UINT id, ...) {
  const std::string pattern = LoadResourceString(id);
  va_list args;
  va_start(args, id);
  std::vector<char> text(pattern.size() + 1024);
  std::vsnprintf(text.data(), text.size(), pattern.c_str(), args);
  va_end(args);
  return text.data();
}

std::string DesktopFolder(HWND owner) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &list)) || list == nullptr)
    return std::string();
  char path[MAX_PATH] = "";
  const BOOL found = SHGetPathFromIDListA(list, path);
  CoTaskMemFree(list);
  return found ? path : std::string();
}

// Reads through the loaded InternetReadFile.
corvane::ChunkReader InternetReader(const CWinInetApi& internet, HINTERNET handle) {
  return [&internet, handle](char* buffer, std::uint32_t size, std::uint32_t* read) {
    DWORD got = 0;
    if (!internet.read_file(handle, buffer, size, &got)) return false;
    *read = got;
    return true;
  };
}

}  // namespace

CWebUpdateDlg::CWebUpdateDlg(const std::string& url, const std::string& module_path,
                             CWnd* parent, const char* library)
    : CDialog(IDD_WEB_UPDATE, parent), library_(library), module_path_(module_path), url_(url) {
  MapCommand(IDC_NEWS_LINK, [this] { OnNewsLink(); });
  MapCommand(IDC_DOWNLOAD_LINK, [this] { OnDownloadLink(); });
}

CWebUpdateDlg::~CWebUpdateDlg() {
  // A dialog ended from outside while a worker runs must not leave it with freed fields.
  cancel_requested_ = true;
  JoinWorker();
}

BOOL CWebUpdateDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  news_link_.SubclassDlgItem(IDC_NEWS_LINK, this);
  download_link_.SubclassDlgItem(IDC_DOWNLOAD_LINK, this);
  ::SendMessageA(GetDlgItem(IDC_DOWNLOAD_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, 100));

  if (!internet_.Load(library_)) {
    ShowInfo(LoadResourceString(IDS_NO_WININET));
    return TRUE;
  }
  if (agent_.empty()) agent_ = LoadResourceString(AFX_IDS_APP_TITLE);
  CVersionInfo(module_path_).GetFixedVersion(&installed_);
  ShowInfo(LoadResourceString(IDS_FETCHING_UPDATE));
  busy_ = true;
  if (!StartWorker(InformationThread)) OnInformationFetched(kWebFailed);
  return TRUE;
}

bool CWebUpdateDlg::StartWorker(LPTHREAD_START_ROUTINE routine) {
  JoinWorker();
  DWORD id = 0;
  worker_ = CreateThread(nullptr, 0, routine, this, 0, &id);
  return worker_ != nullptr;
}

// The worker has posted its last message and is ending; wait for it before the next one.
void CWebUpdateDlg::JoinWorker() {
  if (worker_ == nullptr) return;
  WaitForSingleObject(worker_, INFINITE);
  CloseHandle(worker_);
  worker_ = nullptr;
}

DWORD WINAPI CWebUpdateDlg::InformationThread(LPVOID self) {
  auto* dialog = static_cast<CWebUpdateDlg*>(self);
  PostMessageA(dialog->GetSafeHwnd(), WM_UPDATE_INFORMATION, dialog->FetchInformation(), 0);
  return 0;
}

DWORD WINAPI CWebUpdateDlg::DownloadThread(LPVOID self) {
  auto* dialog = static_cast<CWebUpdateDlg*>(self);
  PostMessageA(dialog->GetSafeHwnd(), WM_UPDATE_DOWNLOADED, dialog->Download(), 0);
  return 0;
}

HINTERNET CWebUpdateDlg::OpenSession() const {
  if (internet_.attempt_connect(0) != ERROR_SUCCESS) return nullptr;
  return internet_.open(agent_.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

WPARAM CWebUpdateDlg::FetchInformation() {
  HINTERNET session = OpenSession();
  if (session == nullptr) return kWebFailed;
  HINTERNET file = internet_.open_url(session, url_.c_str(), nullptr, 0, kInformationFlags, 0);
  if (file == nullptr) {
    internet_.close_handle(session);
    return kWebFailed;
  }
  std::string text;
  const bool read = corvane::ReadUpTo(InternetReader(internet_, file), corvane::kUpdateInfoLimit,
                                      &text);
  internet_.close_handle(file);
  info_ = corvane::ParseUpdateInfo(text);
  if (!read || !info_.Complete()) {
    internet_.close_handle(session);
    return kWebFailed;
  }
  update_available_ = corvane::CVersionNumber(info_[corvane::kLatestVersion]).Compare(installed_) >=
                      corvane::kVersionFourthNewer;

  news_.clear();
  HINTERNET news = internet_.open_url(session, info_[corvane::kDescriptionUrl].c_str(), nullptr,
                                      0, kInformationFlags, 0);
  if (news == nullptr) {
    internet_.close_handle(session);
    return kWebFailed;
  }
  char chunk[kChunk];
  DWORD got = 0;
  while (internet_.read_file(news, chunk, kChunk, &got) && got > 0) news_.append(chunk, got);
  internet_.close_handle(news);
  internet_.close_handle(session);
  return kFetchSucceeded;
}

WPARAM CWebUpdateDlg::Download() {
  failure_text_ = LoadResourceString(IDS_UPDATE_FAILED);
  HINTERNET session = OpenSession();
  if (session == nullptr) return kWebFailed;
  HINTERNET url = internet_.open_url(session, info_[corvane::kFileUrl].c_str(), nullptr, 0,
                                     kDownloadFlags, 0);
  if (url == nullptr) {
    internet_.close_handle(session);
    return kWebFailed;
  }
  const DWORD total = internet_.ContentLength(url);
  HANDLE file = CreateFileA(target_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const std::string cannot_write =
      "The update could not be saved as the file \"" + target_path_ + "\".";
  if (file == INVALID_HANDLE_VALUE) {
    internet_.close_handle(url);
    internet_.close_handle(session);
    failure_text_ = cannot_write;
    return kWebFailed;
  }

  char chunk[kChunk];
  DWORD bytes = 0;
  bool failed = false;
  for (;;) {
    DWORD got = 0;
    if (!internet_.read_file(url, chunk, kChunk, &got)) {
      failed = true;
      break;
    }
    DWORD written = 0;
    if (got > 0 && (!WriteFile(file, chunk, got, &written, nullptr) || written != got)) {
      failure_text_ = cannot_write;
      failed = true;
      break;
    }
    bytes += got;
    const DWORD now = GetTickCount();
    if (now - last_progress_tick > kProgressInterval || bytes == total) {
      PostMessageA(hwnd_, WM_UPDATE_PROGRESS, bytes, total);
      last_progress_tick = now;
    }
    if (got == 0 || cancel_requested_) break;
  }
  internet_.close_handle(url);
  internet_.close_handle(session);
  CloseHandle(file);
  if (cancel_requested_) return kDownloadCancelled;
  // A connection that ends early delivers nothing more, just as a complete one does.
  if (failed || (total != 0 && bytes != total)) {
    DeleteFileA(target_path_.c_str());
    return kWebFailed;
  }
  return kDownloadComplete;
}

LRESULT CWebUpdateDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_UPDATE_PROGRESS:
      OnProgress(static_cast<DWORD>(wp), static_cast<DWORD>(lp));
      return 0;
    case WM_UPDATE_INFORMATION:
      OnInformationFetched(wp);
      return 0;
    case WM_UPDATE_DOWNLOADED:
      OnDownloadEnded(wp);
      return 0;
    default:
      return CDialog::WindowProc(msg, wp, lp);
  }
}

void CWebUpdateDlg::ShowInfo(const std::string& text) {
  info_text_ = text;
  ::SetDlgItemTextA(hwnd_, IDC_UPDATE_INFO, info_text_.c_str());
  ShowItem(IDC_UPDATE_INFO, true);
}

void CWebUpdateDlg::ShowItem(int id, bool show) {
  ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE);
}

void CWebUpdateDlg::SetBusyButtons(bool busy) {
  const int active = busy ? IDCANCEL : IDOK;
  const int other = busy ? IDOK : IDCANCEL;
  HWND active_button = GetDlgItem(active);
  HWND other_button = GetDlgItem(other);
  EnableWindow(active_button, TRUE);
  ::SendMessageA(hwnd_, DM_SETDEFID, active, 0);
  for (HWND button : {other_button, active_button}) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE));
    const DWORD type = button == active_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    ::SendMessageA(button, BM_SETSTYLE, (style & ~BS_TYPEMASK & 0xFFFF) | type, TRUE);
  }
  // The focus leaves the button that is about to be disabled.
  if (GetFocus() == other_button || GetFocus() == nullptr) SetFocus(active_button);
  EnableWindow(other_button, FALSE);
}

std::string CWebUpdateDlg::UpdateAvailableText() const {
  return FormatString(IDS_UPDATE_AVAILABLE, info_[corvane::kVersionToDisplay].c_str(),
                      info_[corvane::kReleaseDate].c_str(), info_[corvane::kFileSize].c_str());
}

void CWebUpdateDlg::OnInformationFetched(WPARAM status) {
  JoinWorker();
  busy_ = false;
  SetBusyButtons(false);
  if (cancel_requested_) {
    EndDialog(IDOK);
    return;
  }
  if (status != kFetchSucceeded) {
    ShowInfo(LoadResourceString(IDS_UPDATE_FAILED));
    return;
  }
  news_link_.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
  news_link_.SetLinkText(FormatString(IDS_NEWS_LINK, info_[corvane::kNewsDate].c_str()));
  news_link_.SetURL(LoadResourceString(IDS_NEWS_LINK_TIP));
  ShowItem(IDC_NEWS_LINK, true);
  if (update_available_) {
    info_text_ = UpdateAvailableText();
    ShowItem(IDC_DOWNLOAD_PROGRESS_TEXT, true);
    ShowItem(IDC_DOWNLOAD_PROGRESS, true);
    download_link_.SetLinkFlags(kLinkHoverColour, kLinkHoverColour);
    download_link_.SetLinkText(FormatString(IDS_DOWNLOAD_LINK, info_[corvane::kFileSize].c_str()));
    download_link_.SetURL(info_[corvane::kFileUrl]);
    ShowItem(IDC_DOWNLOAD_LINK, true);
  } else {
    info_text_ = FormatString(IDS_NO_UPDATES, info_[corvane::kNewsDate].c_str());
  }
  ShowInfo(info_text_);
}

void CWebUpdateDlg::OnNewsLink() {
  CNewsDlg news(this);
  news.SetNewsText(news_);
  news.SetHeadings(info_[corvane::kNewChangesText], info_[corvane::kOldChangesText]);
  news.SetInstalledVersion(installed_);
  news.DoModal();
}

void CWebUpdateDlg::OnDownloadLink() {
  if (busy_ || !update_available_) return;
  const std::string name = corvane::UpdateFileName(info_[corvane::kFileUrl]);
  const std::string desktop = DesktopFolder(hwnd_);
  if (name.empty() || desktop.empty()) {
    MessageBoxA(hwnd_,
                ("The update cannot be saved on your Windows Desktop: \"" +
                 info_[corvane::kFileUrl] + "\" does not name a file that can be stored there.")
                    .c_str(),
                LoadResourceString(AFX_IDS_APP_TITLE).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  target_path_ = desktop + (desktop.back() == '\\' ? "" : "\\") + name;
  cancel_requested_ = false;
  failure_text_.clear();
  busy_ = true;
  SetBusyButtons(true);
  if (!StartWorker(DownloadThread)) {
    failure_text_ = LoadResourceString(IDS_UPDATE_FAILED);
    OnDownloadEnded(kWebFailed);
  }
}

void CWebUpdateDlg::OnProgress(DWORD bytes, DWORD total) {
  const corvane::DownloadProgress progress =
      corvane::DescribeProgress(bytes, total, LoadResourceString(IDS_DOWNLOADING));
  ::SetDlgItemTextA(hwnd_, IDC_DOWNLOAD_PROGRESS_TEXT, progress.text.c_str());
  ::SendMessageA(GetDlgItem(IDC_DOWNLOAD_PROGRESS), PBM_SETPOS, progress.percent, 0);
}

void CWebUpdateDlg::OnDownloadEnded(WPARAM status) {
  JoinWorker();
  busy_ = false;
  const std::string at_rest = LoadResourceString(IDS_DOWNLOAD_PROGRESS);
  if (status == kDownloadComplete) {
    info_text_ = LoadResourceString(IDS_DOWNLOAD_DONE);
    for (int id : {IDC_DOWNLOAD_PROGRESS_TEXT, IDC_DOWNLOAD_PROGRESS, IDC_NEWS_LINK,
                   IDC_DOWNLOAD_LINK}) {
      ShowItem(id, false);
    }
  } else {
    ::SetDlgItemTextA(hwnd_, IDC_DOWNLOAD_PROGRESS_TEXT, at_rest.c_str());
    ::SendMessageA(GetDlgItem(IDC_DOWNLOAD_PROGRESS), PBM_SETPOS, 0, 0);
    if (status == kDownloadCancelled) {
      DeleteFileA(target_path_.c_str());
      info_text_ = UpdateAvailableText();
    }
  }
  SetBusyButtons(false);
  ShowInfo(info_text_);
  if (status != kDownloadComplete) target_path_.clear();
  if (status == kWebFailed && !failure_text_.empty()) {
    MessageBoxA(hwnd_, failure_text_.c_str(), LoadResourceString(AFX_IDS_APP_TITLE).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
  }
}

void CWebUpdateDlg::OnOK() {
  if (!busy_) EndDialog(IDOK);
}

void CWebUpdateDlg::OnCancel() {
  if (!busy_) {
    EndDialog(IDCANCEL);
    return;
  }
  cancel_requested_ = true;
  ShowInfo(LoadResourceString(IDS_CANCELLING));
}

void CheckForUpdates() {
  const std::string url = corvane::ReadUpdateUrl(GuiPlatform().registry);
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, MAX_PATH);
  CWebUpdateDlg dialog(url, module);
  dialog.DoModal();
  const std::string& target = dialog.download_target();
  if (target.empty()) return;
  const std::string name = target.substr(target.find_last_of("\\/") + 1);
  char text[1024] = "";
  std::snprintf(text, sizeof text,
                "The update has been downloaded to your Windows Desktop as \"%s\".\n\n"
                "Install it now? Corvane closes so that the installer can replace it.\n\n"
                "Otherwise, exit this program later and execute that file. After installing, "
                "you may delete it or move it to a different location.",
                name.c_str());
  if (MessageBoxA(nullptr, text, "Update ready for installation",
                  MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
    return;
  if (Launcher().RunShell(target, "", "", SW_SHOWNORMAL) <= 32) {
    AppMessageBox("The installer \"" + name + "\" could not be started. Exit this program and "
                  "execute it from your Windows Desktop.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // The installer replaces this program's files, which it can do only once Corvane has ended.
  if (CWnd* main = AfxGetMainWnd()) PostMessageA(main->GetSafeHwnd(), WM_CLOSE, 0, 0);
}
