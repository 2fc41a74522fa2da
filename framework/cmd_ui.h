// The state of one command's menu item or toolbar button, as update rules set it.
#pragma once
#include <windows.h>

class CCmdTarget;

class CCmdUI {
 public:
  explicit CCmdUI(UINT id) : id_(id) {}
  virtual ~CCmdUI() = default;

  UINT id() const { return id_; }
  virtual void Enable(bool on = true) = 0;
  // 0 unchecked, 1 checked, 2 indeterminate.
  virtual void SetCheck(int state = 1) = 0;
  virtual void SetRadio(bool on = true) = 0;

  // Asks the target for the rule; a command nobody handles is disabled.
  void DoUpdate(CCmdTarget& target);

 private:
  UINT id_;
};

// A menu item, by position in its popup.
class CMenuCmdUI : public CCmdUI {
 public:
  CMenuCmdUI(HMENU menu, UINT index, UINT id) : CCmdUI(id), menu_(menu), index_(index) {}
  void Enable(bool on) override;
  void SetCheck(int state) override;
  void SetRadio(bool on) override;

 private:
  HMENU menu_;
  UINT index_;
};

// A toolbar button, by command id.
class CToolCmdUI : public CCmdUI {
 public:
  CToolCmdUI(HWND toolbar, UINT id) : CCmdUI(id), toolbar_(toolbar) {}
  void Enable(bool on) override;
  void SetCheck(int state) override;
  void SetRadio(bool on) override { SetCheck(on ? 1 : 0); }

 private:
  HWND toolbar_;
};

// Only records the answer: used to ask whether a command may run.
class CTestCmdUI : public CCmdUI {
 public:
  using CCmdUI::CCmdUI;
  void Enable(bool on) override { enabled = on; }
  void SetCheck(int) override {}
  void SetRadio(bool) override {}
  bool enabled = true;
};
