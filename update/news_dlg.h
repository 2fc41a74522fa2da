// The news viewer: the news document (rich text) in a read-only rich edit control, its
// "@@Version" marker lines replaced by a heading above the changes newer than the installed
// version and one above the changes of the installed and older versions.
#pragma once
#include <windows.h>

#include <string>

#include "update/version_number.h"
#include "framework/dialog.h"

class CNewsDlg : public CDialog {
 public:
  explicit CNewsDlg(CWnd* parent = nullptr);

  void SetNewsText(const std::string& rtf) { news_ = rtf; }
  // Each backslash-and-n in a heading becomes a line break.
  void SetHeadings(const std::string& new_changes, const std::string& old_changes);
  void SetInstalledVersion(const corvane::CVersionNumber& version) { installed_ = version; }

 protected:
  BOOL OnInitDialog() override;

 private:
  static DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* copied);
  void ReplaceMarkers();
  // The control's text from `first` to `last` (-1: to the end).
  std::string TextRange(LONG first, LONG last) const;

  HWND rich_edit_ = nullptr;
  corvane::CVersionNumber installed_;
  std::string news_;
  bool stream_finished_ = false;
  std::size_t stream_position_ = 0;
  std::string new_heading_;
  std::string old_heading_;
};
