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
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kChunk = 4095;
constexpr DWORD kProgressInterval = 1000;
// How many "name (n).ext" names are tried when the installer's own name is taken.
constexpr int kMaxNumberedNames = 100;
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

HINTERNET CWebUpdateDlg::OpenUrl(HINTERNET session, const std::string& url, DWORD flags) {
  HINTERNET file = internet_.open_url(session, url.c_str(), nullptr, 0, flags, 0);
  if (file == nullptr) return nullptr;
  // An error page is no answer: only a success status counts.
  const DWORD status = internet_.StatusCode(file);
  if (status == 0 || (status >= 200 && status <= 299)) return file;
  internet_.close_handle(file);
  failure_detail_ = "The server answered with HTTP status " + std::to_string(status) + ".";
  return nullptr;
}

corvane::ChunkReader CWebUpdateDlg::Reader(HINTERNET handle) const {
  return [this, handle](char* buffer, std::uint32_t size, std::uint32_t* read) {
    if (cancel_requested_) return false;
    DWORD got = 0;
    if (!internet_.ReadAvailable(handle, buffer, size < kChunk ? size : kChunk, &got))
      return false;
    *read = got;
    return true;
  };
}

bool CWebUpdateDlg::ReadUrl(HINTERNET session, const std::string& url, std::size_t limit,
                            std::string* text) {
  HINTERNET file = OpenUrl(session, url, kInformationFlags);
  if (file == nullptr) return false;
  const bool read = corvane::ReadUpTo(Reader(file), limit, text);
  internet_.close_handle(file);
  return read;
}

WPARAM CWebUpdateDlg::FetchInformation() {
  failure_detail_.clear();
  HINTERNET session = OpenSession();
  if (session == nullptr) return kWebFailed;
  const WPARAM status = FetchInSession(session);
  internet_.close_handle(session);
  return status;
}

WPARAM CWebUpdateDlg::FetchInSession(HINTERNET session) {
  std::string text;
  if (!ReadUrl(session, url_, corvane::kUpdateInfoLimit, &text)) return kWebFailed;
  info_ = corvane::ParseUpdateInfo(text);
  if (!info_.Complete()) return kWebFailed;
  update_available_ = corvane::CVersionNumber(info_[corvane::kLatestVersion]).Compare(installed_) >=
                      corvane::kVersionFourthNewer;
  // One byte over the limit tells a document that is too large from one that just fits.
  if (!ReadUrl(session, info_[corvane::kDescriptionUrl], corvane::kNewsLimit + 1, &news_)) {
    news_.clear();
    return kWebFailed;
  }
  if (news_.size() > corvane::kNewsLimit) {
    news_.clear();
    failure_detail_ = "The news is larger than 1 MB.";
    return kWebFailed;
  }
  return kFetchSucceeded;
}

WPARAM CWebUpdateDlg::Download() {
  failure_text_ = LoadResourceString(IDS_UPDATE_FAILED);
  failure_detail_.clear();
  HINTERNET session = OpenSession();
  if (session == nullptr) return kWebFailed;
  HINTERNET url = OpenUrl(session, info_[corvane::kFileUrl], kDownloadFlags);
  if (url == nullptr) {
    internet_.close_handle(session);
    if (!failure_detail_.empty())
      failure_text_ = "The update could not be downloaded. " + failure_detail_;
    return kWebFailed;
  }
  const DWORD total = internet_.ContentLength(url);
  // The download goes to a new file of its own beside the target, so that no file the user
  // has is opened, replaced or deleted.
  char partial[MAX_PATH] = "";
  HANDLE file = INVALID_HANDLE_VALUE;
  if (GetTempFileNameA(download_folder_.c_str(), "cvu", 0, partial) != 0) {
    file = CreateFileA(partial, GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) DeleteFileA(partial);
  }
  const std::string cannot_write =
      "The update could not be saved in the folder \"" + download_folder_ + "\".";
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
    if (!internet_.ReadAvailable(url, chunk, kChunk, &got)) {
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
  if (!CloseHandle(file) && !failed) {
    failure_text_ = cannot_write;
    failed = true;
  }
  // A connection that ends early delivers nothing more, just as a complete one does.
  if (cancel_requested_ || failed || (total != 0 && bytes != total)) {
    DeleteFileA(partial);
    return cancel_requested_ ? kDownloadCancelled : kWebFailed;
  }
  if (StoreDownload(partial)) return kDownloadComplete;
  DeleteFileA(partial);
  failure_text_ = cannot_write;
  return kWebFailed;
}

bool CWebUpdateDlg::StoreDownload(const std::string& partial) {
  // A name that is taken stays with its file: the next free one is chosen instead.
  for (int n = 1; n <= kMaxNumberedNames; ++n) {
    const std::string candidate =
        download_folder_ + corvane::NumberedFileName(download_name_, n);
    if (MoveFileA(partial.c_str(), candidate.c_str())) {
      target_path_ = candidate;
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS &&
        error != ERROR_ACCESS_DENIED)
      return false;
  }
  return false;
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

void CWebUpdateDlg::ShowFailure() {
  std::string text = LoadResourceString(IDS_UPDATE_FAILED);
  if (!failure_detail_.empty()) {
    text += "\n\n" + failure_detail_;
    // The links stay hidden after a failure: the text may take their place.
    HWND info = GetDlgItem(IDC_UPDATE_INFO);
    RECT box = {}, link = {};
    GetWindowRect(info, &box);
    GetWindowRect(GetDlgItem(IDC_DOWNLOAD_LINK), &link);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&box), 2);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&link), 2);
    MoveWindow(info, box.left, box.top, box.right - box.left, link.bottom - box.top, TRUE);
  }
  ShowInfo(text);
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
    ShowFailure();
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
  download_folder_ = desktop + (desktop.back() == '\\' ? "" : "\\");
  download_name_ = name;
  target_path_.clear();
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
    if (status == kDownloadCancelled) info_text_ = UpdateAvailableText();
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
  if (MessageBoxA(DefaultOwnerWindow(), text, "Update ready for installation",
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
