// Check for Updates: the update information fetched from the maker's web site, the latest
// version compared with the running one, the news, and the installer downloaded to the
// desktop. Each fetch runs on a worker thread that reports only by messages posted here.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "update/update_info.h"
#include "update/version_number.h"
#include "update/wininet_api.h"
#include "framework/dialog.h"
#include "widgets/hyper_link.h"

// Posted by the workers. Progress: wParam bytes so far, lParam the total (0 when unknown).
constexpr UINT WM_UPDATE_PROGRESS = WM_APP;
// wParam kFetchSucceeded or kWebFailed.
constexpr UINT WM_UPDATE_INFORMATION = WM_APP + 1;
// wParam kWebFailed, kDownloadCancelled or kDownloadComplete.
constexpr UINT WM_UPDATE_DOWNLOADED = WM_APP + 2;

constexpr WPARAM kFetchSucceeded = 0;
constexpr WPARAM kWebFailed = 2;
constexpr WPARAM kDownloadCancelled = 4;
constexpr WPARAM kDownloadComplete = 5;

class CWebUpdateDlg : public CDialog {
 public:
  // `library` is the internet library's name; tests name one that does not load.
  CWebUpdateDlg(const std::string& url, const std::string& module_path, CWnd* parent = nullptr,
                const char* library = "WININET.DLL");
  ~CWebUpdateDlg() override;

  // The installer on the desktop after a complete download; empty otherwise.
  const std::string& download_target() const { return target_path_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static DWORD WINAPI InformationThread(LPVOID self);
  static DWORD WINAPI DownloadThread(LPVOID self);
  WPARAM FetchInformation();
  WPARAM FetchInSession(HINTERNET session);
  WPARAM Download();
  // Renames the complete download to the installer's name, or the first free numbered one.
  bool StoreDownload(const std::string& partial);
  // Opens the session, or 0 when there is no connection.
  HINTERNET OpenSession() const;
  // Opens a URL; null when it fails or the server answers with anything but success, which
  // failure_detail_ then names.
  HINTERNET OpenUrl(HINTERNET session, const std::string& url, DWORD flags);
  // Reads of what has arrived that stop when Cancel is pressed.
  corvane::ChunkReader Reader(HINTERNET handle) const;
  // The document at url, at most `limit` bytes of it; false when it can't be read.
  bool ReadUrl(HINTERNET session, const std::string& url, std::size_t limit, std::string* text);
  bool StartWorker(LPTHREAD_START_ROUTINE routine);
  void JoinWorker();

  void OnInformationFetched(WPARAM status);
  void OnProgress(DWORD bytes, DWORD total);
  void OnDownloadEnded(WPARAM status);
  void OnNewsLink();
  void OnDownloadLink();

  void ShowInfo(const std::string& text);
  // The failed fetch's text with what went wrong, when that is known.
  void ShowFailure();
  void ShowItem(int id, bool show);
  // Enables one of Close and Cancel, makes it the default button and gives it the focus.
  void SetBusyButtons(bool busy);
  std::string UpdateAvailableText() const;

  CWinInetApi internet_;
  const char* library_;
  std::string info_text_;
  std::string module_path_;
  std::string agent_;
  std::string url_;
  corvane::UpdateInfo info_;
  std::string news_;
  std::string target_path_;
  // Where the download goes and the name it should have there.
  std::string download_folder_;
  std::string download_name_;
  corvane::CVersionNumber installed_;
  bool update_available_ = false;
  bool busy_ = false;
  std::atomic<bool> cancel_requested_{false};

  // Written by the workers before their final message.
  std::string failure_text_;
  std::string failure_detail_;
  HANDLE worker_ = nullptr;
  CHyperLinkDL news_link_;
  CHyperLinkDL download_link_;
};

// The Check for Updates command: the dialog over the URL of the settings, then, after a
// complete download, the offer to run the installer on the desktop; when it starts, the main
// window closes so that the installer can replace the program.
void CheckForUpdates();
