// Test support: the main frame opened through the document template as the program opens it,
// and a message pump for the windows a test drives.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/doc_template.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_doc.h"
#include "mainwindow/splitter_frame.h"
#include "resources/resource.h"
#include "tests/gui/modal_driver.h"

using gui_test::Pump;

class FrameFixture : public testing::Test {
 protected:
  template <class Frame = CSplitterFrame, class Tree = CObjectTree>
  CSplitterFrame* Open() {
    doc_template_ = std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, [] { return new CPlenorDoc; }, [] { return new Frame; },
        [] { return new Tree; });
    frame_ = dynamic_cast<CSplitterFrame*>(doc_template_->OpenNewDocument(SW_SHOWNORMAL));
    Pump();
    return frame_;
  }
  CObjectTree* Tree() { return frame_->GetObjectTree(); }
  // The object list's item texts, in order.
  std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (int i = 0; i < Tree()->list().GetItemCount(); ++i)
      labels.push_back(Tree()->list().GetItemText(i, 0));
    return labels;
  }
  // Clicks a category tab as the user does: the tab control changes and tells its parent.
  void ChooseTab(int index) {
    Tree()->tabs().SetCurSel(index);
    NMHDR change = {Tree()->tabs().GetSafeHwnd(), IDC_CATEGORY_TABS, TCN_SELCHANGE};
    SendMessageA(*Tree(), WM_NOTIFY, IDC_CATEGORY_TABS, reinterpret_cast<LPARAM>(&change));
  }
  void TearDown() override {
    if (frame_ != nullptr) DestroyWindow(frame_->GetSafeHwnd());
    Pump();
  }

  std::unique_ptr<CSingleDocTemplate> doc_template_;
  CSplitterFrame* frame_ = nullptr;
};
