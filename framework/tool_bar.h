// A comctl32 toolbar loaded from a toolbar resource (button size, then the command of each
// button, 0 for a separator) and its bitmap of the same id.
#pragma once
#include <vector>

#include "framework/wnd.h"

// Bar styles of the framework, apart from the window styles.
constexpr DWORD CBRS_TOP = 0x0001;           // docked at the top
constexpr DWORD CBRS_GRIPPER = 0x0002;       // a gripper to move the band by
constexpr DWORD CBRS_TOOLTIPS = 0x0004;      // tooltips from the commands' strings
constexpr DWORD CBRS_FLYBY = 0x0008;         // prompts in the status bar under the pointer
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0010;  // the band may be resized by the user

class CToolBar : public CWnd {
 public:
  bool CreateEx(CWnd* parent, DWORD toolbar_style, DWORD window_style, DWORD bar_style,
                UINT id);
  // False when the resource or its bitmap is missing or malformed.
  bool LoadToolBar(UINT resource_id);
  void UpdateButtons(CCmdTarget& target);

  DWORD bar_style() const { return bar_style_; }
  // The commands in button order, 0 for separators.
  const std::vector<UINT>& commands() const { return commands_; }

 private:
  DWORD bar_style_ = 0;
  std::vector<UINT> commands_;
};
