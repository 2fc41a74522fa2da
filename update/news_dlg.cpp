#include "update/news_dlg.h"

#include <richedit.h>

#include <cstring>
#include <vector>

#include "update/news_markers.h"
#include "resources/resource.h"

namespace {

const LONG kMarkerLength = static_cast<LONG>(sizeof corvane::kNewsMarker - 1);

// The rich edit classes come with their library, loaded once for the process.
void InitRichEdit() {
  static HMODULE library = LoadLibraryA("riched20.dll");
  (void)library;
}

}  // namespace

CNewsDlg::CNewsDlg(CWnd* parent) : CDialog(IDD_NEWS, parent) { InitRichEdit(); }

void CNewsDlg::SetHeadings(const std::string& new_changes, const std::string& old_changes) {
  new_heading_ = corvane::ExpandHeading(new_changes);
  old_heading_ = corvane::ExpandHeading(old_changes);
}

DWORD CALLBACK CNewsDlg::StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* copied) {
  CNewsDlg* dialog = reinterpret_cast<CNewsDlg*>(cookie);
  *copied = 0;
  if (dialog->stream_finished_) {
    dialog->stream_finished_ = false;
    dialog->stream_position_ = 0;
    return 0;
  }
  const std::size_t rest = dialog->news_.size() - dialog->stream_position_;
  const std::size_t count = size > 0 && static_cast<std::size_t>(size) < rest
                                ? static_cast<std::size_t>(size)
                                : rest;
  std::memcpy(buffer, dialog->news_.data() + dialog->stream_position_, count);
  dialog->stream_position_ += count;
  if (dialog->stream_position_ == dialog->news_.size()) dialog->stream_finished_ = true;
  *copied = static_cast<LONG>(count);
  return 0;
}

BOOL CNewsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  stream_finished_ = false;
  stream_position_ = 0;
  rich_edit_ = GetDlgItem(IDC_NEWS_TEXT);
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(this), 0, StreamIn};
  ::SendMessageA(rich_edit_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  if (!news_.empty()) ReplaceMarkers();
  ::SendMessageA(rich_edit_, EM_SETREADONLY, TRUE, 0);
  // The reader starts at the top with nothing selected; the dialog manager's own focus would
  // select the whole text.
  CHARRANGE top = {0, 0};
  ::SendMessageA(rich_edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&top));
  ::SendMessageA(rich_edit_, EM_SCROLLCARET, 0, 0);
  SetFocus(rich_edit_);
  return FALSE;
}

std::string CNewsDlg::TextRange(LONG first, LONG last) const {
  if (last < 0) last = GetWindowTextLengthA(rich_edit_) + 1;
  if (last <= first) return std::string();
  std::vector<char> text(static_cast<std::size_t>(last - first) * 2 + 2, '\0');
  TEXTRANGEA range = {{first, last}, text.data()};
  ::SendMessageA(rich_edit_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  return text.data();
}

void CNewsDlg::ReplaceMarkers() {
  corvane::NewsMarkerRule rule(installed_);
  LONG search = 0;
  // Every pass removes a marker line, so there are never more passes than markers fit into
  // the text; the bound only stops a control that refuses to change.
  for (LONG passes = GetWindowTextLengthA(rich_edit_) / kMarkerLength + 1; passes > 0; --passes) {
    FINDTEXTEXA find = {{search, -1}, corvane::kNewsMarker, {0, 0}};
    const LONG found = static_cast<LONG>(
        ::SendMessageA(rich_edit_, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
    if (found < 0) break;
    const LONG line =
        static_cast<LONG>(::SendMessageA(rich_edit_, EM_EXLINEFROMCHAR, 0, found));
    const LONG start = static_cast<LONG>(::SendMessageA(rich_edit_, EM_LINEINDEX, line, 0));
    const LONG next = static_cast<LONG>(::SendMessageA(rich_edit_, EM_LINEINDEX, line + 1, 0));
    const std::string version = TextRange(found + kMarkerLength, next);

    CHARRANGE whole = {start, next};
    ::SendMessageA(rich_edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&whole));
    switch (rule.Next(version)) {
      case corvane::MarkerAction::kNewChangesHeading:
        ::SendMessageA(rich_edit_, EM_REPLACESEL, FALSE,
                       reinterpret_cast<LPARAM>(new_heading_.c_str()));
        break;
      case corvane::MarkerAction::kOldChangesHeading:
        ::SendMessageA(rich_edit_, EM_REPLACESEL, FALSE,
                       reinterpret_cast<LPARAM>(old_heading_.c_str()));
        break;
      case corvane::MarkerAction::kRemove:
        ::SendMessageA(rich_edit_, WM_CLEAR, 0, 0);
        break;
    }
    // Past what was put in, so a heading that names a marker itself is not taken for one.
    CHARRANGE caret = {0, 0};
    ::SendMessageA(rich_edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    search = caret.cpMax > start ? caret.cpMax : start;
  }
}
