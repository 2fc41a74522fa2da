// The left pane: the category tabs over the object list. It owns the catalogue, rescans the
// registry, fills the list by the display settings and remembers a selection per category.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "catalogue/object_lists.h"
#include "framework/form_view.h"
#include "framework/tab_ctrl.h"
#include "mainwindow/object_list_ctrl.h"

class CProgressWnd;

class CObjectTree : public CFormView {
 public:
  CObjectTree();
  ~CObjectTree() override;

  void OnInitialUpdate() override;

  // Rescans the registry into the catalogue and refills the list; refused while an unregister
  // or removal runs.
  void Refresh(bool show_wait, CProgressWnd* progress, bool restore_selection);
  // Refills the list from the catalogue; refused while an unregister or removal runs.
  void FillList(bool restore_selection);
  // Selects the first item whose record's file is path (case-blind); false when none.
  bool SelectByFile(const std::string& path);
  void GetSelectedRecords(std::vector<corvane::CRegisteredObject*>& records) const;
  corvane::CRegisteredObject* GetFirstSelectedRecord() const;
  // Shows the first selected record in the attributes pane and the details tabs, or empties
  // them when nothing is selected.
  void ShowRecordDetails();
  // The text of the selected tab.
  std::string GetCategoryName() const;
  int category() const { return catalogue_.current(); }

  corvane::CObjectLists& catalogue() { return catalogue_; }
  CObjectListCtrl& list() { return list_; }
  CTabCtrl& tabs() { return tabs_; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // The commands on the selected records (object_commands.cpp).
  void MapObjectCommands();
  void OnUnregister();
  void OnRemoveFromRegistry();
  void OnGotoFileLocation();
  void OnRunExeServer();
  void OnSelectAll();
  void OnViewInIE();
  // The main window: it owns the commands' message boxes, so it is disabled while they are up.
  HWND BoxOwner() const { return GetAncestor(hwnd_, GA_ROOT); }
  // Takes the record out of the list and the catalogue and deletes it.
  void RemoveFromView(corvane::CRegisteredObject* record);
  // After a removal: selects the item at the anchor, or the last one, and shows its details.
  void ReselectAfterRemoval(int anchor);

  struct Remembered {
    int index = 0;
    const corvane::CRegisteredObject* record = nullptr;
  };

  void BuildImageList();
  void Layout(int width, int height);
  bool OnNotify(NMHDR* header, LRESULT* result);
  void OnItemChanged(const NMLISTVIEW& change);
  // A range of rows changed state at once (a shift-click in the virtual list).
  void OnRangeChanged(const NMLVODSTATECHANGE& change);
  // Remembers the first selected row (-1: none) and shows its details.
  void FollowSelection(int first);
  void OnRightClick();
  void OnKeyDown(WORD key);
  void RestoreSelection(int category);
  void SelectItem(int index);
  corvane::CRegisteredObject* RecordAt(int index) const;
  void ShowItemCount();
  // Compare with other computers (computer_commands.cpp): the selected records or every item
  // of the list with the computer list, or the selected ones with the network's computers.
  void OnCompareWithComputers(bool all);
  void OnCompareWithNetwork();

  HIMAGELIST images_ = nullptr;
  corvane::CObjectLists catalogue_;
  bool filling_ = false;
  // An unregister or removal loop is running over records of the list: nothing may rebuild or
  // delete records until it ends.
  bool busy_ = false;
  Remembered remembered_[corvane::kCategoryCount];
  CObjectListCtrl list_;
  CTabCtrl tabs_;
};
