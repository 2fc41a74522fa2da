#include "mainwindow/object_tree.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "app/gui_platform.h"
#include "app/settings.h"
#include "catalogue/registry_scan.h"
#include "framework/cmd_ui.h"
#include "framework/win_app.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/attribute_rows_list.h"
#include "mainwindow/object_list_rules.h"
#include "mainwindow/pane_layout.h"
#include "mainwindow/progress_wnd.h"
#include "mainwindow/plenor_view.h"
#include "mainwindow/splitter_frame.h"
#include "mainwindow/tab_view.h"
#include "resources/resource.h"
#include "tools/compare_files_dlg.h"

using corvane::CRegisteredObject;

namespace {

const COLORREF kTeal = RGB(0, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);

void AddMaskedBitmap(HIMAGELIST images, UINT id, COLORREF mask) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  if (bitmap == nullptr) return;
  ImageList_AddMasked(images, bitmap, mask);
  DeleteObject(bitmap);
}

// A sequence of calls that must not see the list redrawn until it ends.
class NoRedraw {
 public:
  explicit NoRedraw(HWND hwnd) : hwnd_(hwnd) { SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0); }
  ~NoRedraw() {
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
  }

 private:
  HWND hwnd_;
};

}  // namespace

CObjectTree::CObjectTree() : CFormView(IDD_OBJECT_TREE) {
  MapCommand(ID_COMPARE_WITH, [this] {
    CRegisteredObject* record = GetFirstSelectedRecord();
    if (record == nullptr) return;
    CCompareFilesDlg compare(record->GetFilePath(), this);
    compare.DoModal();
  });
  MapUpdate(ID_COMPARE_WITH, [this](CCmdUI& ui) {
    CRegisteredObject* record = GetFirstSelectedRecord();
    ui.Enable(list_.GetSelectedCount() == 1 && record != nullptr && record->exists() == 1);
  });
  MapObjectCommands();
}

CObjectTree::~CObjectTree() {
  if (images_ != nullptr) ImageList_Destroy(images_);
}

void CObjectTree::BuildImageList() {
  images_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 6, 0);
  AddMaskedBitmap(images_, IDB_CONTROL, kTeal);
  AddMaskedBitmap(images_, IDB_DLL_SERVER, kTeal);
  AddMaskedBitmap(images_, IDB_EXE_SERVER, kTeal);
  AddMaskedBitmap(images_, IDB_MISBEHAVED, kWhite);
  AddMaskedBitmap(images_, IDB_MISSING_DEPENDENCY, kWhite);
  AddMaskedBitmap(images_, IDB_BROKEN_TYPELIB, kWhite);
}

void CObjectTree::OnInitialUpdate() {
  list_.SubclassDlgItem(IDC_OBJECT_LIST, this);
  tabs_.SubclassDlgItem(IDC_CATEGORY_TABS, this);
  corvane::WaitCursor wait(GuiPlatform().notice);

  CProgressWnd progress;
  bool progress_shown = progress.Open(this);

  BuildImageList();
  list_.SetImageList(images_, LVSIL_SMALL);
  tabs_.SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));

  list_.InsertColumn(0, "Objects", LVCFMT_LEFT);
  const char* categories[] = {"Controls", "DLL Servers", "EXE Servers"};
  for (int i = 0; i < corvane::kCategoryCount; ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(categories[i]);
    item.iImage = i;
    tabs_.SendMessage(TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }

  // The first scan runs whether or not the start-up window could be shown.
  Refresh(false, progress_shown ? &progress : nullptr, true);
  if (progress_shown) progress.DestroyWindow();
  PostMessageA(hwnd_, WM_APP, 0, 0);
}

void CObjectTree::Refresh(bool show_wait, CProgressWnd* progress, bool restore_selection) {
  if (busy_) return;
  const corvane::Platform& platform = GuiPlatform();
  corvane::WaitCursor wait(platform.notice);
  if (show_wait) platform.notice.ShowWaitDialog();
  if (progress != nullptr) progress->SetLine("Initializing Object Lists");
  // The remembered records are deleted with the catalogue: forget them, so that item 0 of
  // each category is selected after the rescan.
  for (Remembered& remembered : remembered_) remembered = Remembered();
  // Nor may the list or the panes show a record while it is deleted.
  list_.SetRows({}, corvane::AppSettings().display_in_list);
  catalogue_.Clear();
  if (progress != nullptr) progress->SetLine("Searching the Registry for COM Objects");
  corvane::ScanRegistry(platform, catalogue_);
  if (progress != nullptr) progress->SetLine("Initializing the User Interface");
  FillList(restore_selection);
  if (progress != nullptr) progress->SetLine("Done.");
  if (show_wait) platform.notice.HideWaitDialog();
}

void CObjectTree::FillList(bool restore_selection) {
  if (busy_) return;
  corvane::WaitCursor wait(GuiPlatform().notice);
  const corvane::Settings& settings = corvane::AppSettings();
  int category = tabs_.GetCurSel();
  if (category < 0) category = catalogue_.current();
  catalogue_.set_current(category);
  corvane::CObjectLists::Records* records = catalogue_.GetCurrent();
  filling_ = true;
  {
    NoRedraw hold(list_);
    std::vector<CObjectListCtrl::Row> rows;
    if (records != nullptr) {
      // Sorted here: the list only shows the rows it is given.
      std::vector<std::pair<std::string, CRegisteredObject*>> shown;
      for (const auto& record : *records) {
        if (corvane::RecordShown(*record, settings.display_installed, settings.display_missing))
          shown.emplace_back(corvane::RecordLabel(*record, settings.display_in_list), record.get());
      }
      std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
        return lstrcmpiA(a.first.c_str(), b.first.c_str()) < 0;
      });
      rows.reserve(shown.size());
      for (const auto& entry : shown)
        rows.push_back({entry.second, corvane::RecordImage(*entry.second, category)});
    }
    list_.SetRows(std::move(rows), settings.display_in_list);
  }
  // The vertical scroll bar may have come or gone with the redraw: the one column fills the
  // list again.
  list_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
  // The selection made here shows its details once, below, rather than on its notification.
  if (restore_selection) RestoreSelection(category);
  filling_ = false;
  ShowItemCount();
  ShowRecordDetails();
}

void CObjectTree::ShowRecordDetails() {
  auto* frame = dynamic_cast<CSplitterFrame*>(GetParentFrame());
  CPlenorView* attributes = frame != nullptr ? frame->GetPlenorView() : nullptr;
  CTabView* tabs = frame != nullptr ? frame->GetTabView() : nullptr;
  if (attributes == nullptr || tabs == nullptr || attributes->list().GetSafeHwnd() == nullptr ||
      tabs->registry_page().GetSafeHwnd() == nullptr ||
      tabs->dependency_page().GetSafeHwnd() == nullptr) {
    return;
  }
  CListCtrl& rows = attributes->list();
  CRegistryPage& registry = tabs->registry_page();
  CDependencyPage& dependencies = tabs->dependency_page();
  NoRedraw hold_rows(rows);
  NoRedraw hold_keys(registry.tree());
  NoRedraw hold_dependencies(dependencies.tree());
  rows.DeleteAllItems();
  registry.Clear();
  dependencies.Clear();
  tabs->typelib_page().Clear();
  if (CRegisteredObject* record = GetFirstSelectedRecord()) {
    tabs->typelib_page().Show(*record);
    AttributeRowsList sink(rows);
    record->FillAttributes(sink);
    dependencies.Fill(*record);
    record->FillRegistryTree(registry.key_tree());
    // Records keep the names they were built with; an edit of the class's values renews them
    // on every tab. Kept by CLSID: the record itself may be gone by the time of an edit.
    registry.OnValueWritten([this, clsid = record->clsid()] {
      catalogue_.ForgetNames(clsid);
      InvalidateRect(list_, nullptr, TRUE);
    });
    FitNameValueColumns(rows);
  }
}

void CObjectTree::ShowItemCount() {
  corvane::CObjectLists::Records* records = catalogue_.GetCurrent();
  long count = records != nullptr ? static_cast<long>(records->size()) : 0;
  if (CSplitterFrame* frame = dynamic_cast<CSplitterFrame*>(GetParentFrame()))
    frame->SetItemCountText(corvane::ItemCountText(count));
}

CRegisteredObject* CObjectTree::RecordAt(int index) const { return list_.RecordAt(index); }

void CObjectTree::SelectItem(int index) {
  list_.SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list_.SendMessage(LVM_ENSUREVISIBLE, index, FALSE);
}

void CObjectTree::RestoreSelection(int category) {
  int count = list_.RowCount();
  if (count == 0) return;
  Remembered& remembered = remembered_[category];
  if (remembered.record != nullptr) {
    bool still_there =
        remembered.index < count && RecordAt(remembered.index) == remembered.record;
    if (!still_there) {
      int found = -1;
      for (int i = 0; i < count && found < 0; ++i) {
        if (RecordAt(i) == remembered.record) found = i;
      }
      if (found >= 0) {
        remembered.index = found;
      } else {
        remembered = Remembered{0, RecordAt(0)};
      }
    }
  }
  if (remembered.index >= count) remembered.index = 0;
  SelectItem(remembered.index);
  remembered.record = RecordAt(remembered.index);
}

bool CObjectTree::SelectByFile(const std::string& path) {
  int count = list_.RowCount();
  for (int i = 0; i < count; ++i) {
    CRegisteredObject* record = RecordAt(i);
    if (record == nullptr || lstrcmpiA(record->GetFilePath().c_str(), path.c_str()) != 0)
      continue;
    list_.SetItemState(-1, 0, LVIS_SELECTED);
    SelectItem(i);
    remembered_[catalogue_.current()] = Remembered{i, record};
    return true;
  }
  return false;
}

void CObjectTree::GetSelectedRecords(std::vector<CRegisteredObject*>& records) const {
  records.clear();
  for (int i = list_.GetNextItem(-1, LVNI_SELECTED); i >= 0;
       i = list_.GetNextItem(i, LVNI_SELECTED)) {
    records.push_back(RecordAt(i));
  }
}

CRegisteredObject* CObjectTree::GetFirstSelectedRecord() const {
  int first = list_.GetNextItem(-1, LVNI_SELECTED);
  return first >= 0 ? RecordAt(first) : nullptr;
}

std::string CObjectTree::GetCategoryName() const {
  char text[64] = "";
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  tabs_.SendMessage(TCM_GETITEMA, tabs_.GetCurSel(), reinterpret_cast<LPARAM>(&item));
  return text;
}

void CObjectTree::OnItemChanged(const NMLISTVIEW& change) {
  if (filling_ || (change.uChanged & LVIF_STATE) == 0) return;
  const int first = list_.GetNextItem(-1, LVNI_SELECTED);
  // Item -1 is every item at once (select or clear all).
  if (first < 0 || change.iItem == -1 || first == change.iItem) FollowSelection(first);
}

void CObjectTree::OnRangeChanged(const NMLVODSTATECHANGE& change) {
  if (filling_) return;
  const int first = list_.GetNextItem(-1, LVNI_SELECTED);
  if (first < 0 || (first >= change.iFrom && first <= change.iTo)) FollowSelection(first);
}

void CObjectTree::FollowSelection(int first) {
  // With nothing selected any more the panes must not keep showing the old record.
  if (first >= 0) remembered_[catalogue_.current()] = Remembered{first, RecordAt(first)};
  ShowRecordDetails();
}

void CObjectTree::OnRightClick() {
  LVHITTESTINFO hit = {};
  GetCursorPos(&hit.pt);
  POINT screen = hit.pt;
  ScreenToClient(list_, &hit.pt);
  list_.SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem < 0 || (hit.flags & LVHT_ONITEM) == 0) return;
  CWnd* main = AfxGetMainWnd();
  CFrameWnd* frame = GetParentFrame();
  if (frame == nullptr || main == nullptr) return;
  HMENU edit = GetSubMenu(frame->menu(), 1);
  TrackPopupMenu(edit, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, *main, nullptr);
}

void CObjectTree::OnKeyDown(WORD key) {
  if (key == VK_F5) {
    Refresh(true, nullptr, true);
  } else if (key == VK_DELETE) {
    if (CFrameWnd* frame = GetParentFrame())
      frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_REMOVE_FROM_REGISTRY, 0), 0);
  }
}

bool CObjectTree::OnNotify(NMHDR* header, LRESULT* result) {
  if (header->idFrom == IDC_CATEGORY_TABS && header->code == TCN_SELCHANGING) {
    *result = busy_ ? TRUE : FALSE;  // the loop works on the current category's records
    return true;
  }
  if (header->idFrom == IDC_CATEGORY_TABS && header->code == TCN_SELCHANGE) {
    FillList(true);  // takes the new category from the tabs
    *result = 0;
    return true;
  }
  if (header->idFrom != IDC_OBJECT_LIST) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
      OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(header));
      break;
    case LVN_ODSTATECHANGED:
      OnRangeChanged(*reinterpret_cast<NMLVODSTATECHANGE*>(header));
      break;
    case NM_DBLCLK:
      if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_GOTO_FILE_LOCATION, 0), 0);
      break;
    case NM_RCLICK:
      OnRightClick();
      break;
    case LVN_KEYDOWN:
      OnKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      break;
    default:
      return false;
  }
  *result = 0;
  return true;
}

void CObjectTree::Layout(int width, int height) {
  if (tabs_.GetSafeHwnd() == nullptr || list_.GetSafeHwnd() == nullptr) return;
  RECT body = PlaceTabsOnTop(tabs_, width, height);
  MoveWindow(list_, body.left, body.top, body.right - body.left, body.bottom - body.top, TRUE);
  list_.SendMessage(LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

LRESULT CObjectTree::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(reinterpret_cast<NMHDR*>(lp), &result)) return result;
      break;
    }
    case WM_APP:
      ShowRecordDetails();
      return 0;
    case WM_DESTROY:
      catalogue_.Clear();
      break;
    default:
      break;
  }
  LRESULT result = CFormView::WindowProc(msg, wp, lp);
  if (msg == WM_SIZE && !LayoutHeld()) Layout(LOWORD(lp), HIWORD(lp));
  return result;
}
