#include "framework/tool_bar.h"

#include <commctrl.h>

#include "framework/cmd_ui.h"

namespace {
const WORD kToolbarResourceType = 241;
}

bool CToolBar::CreateEx(CWnd* parent, DWORD toolbar_style, DWORD window_style, DWORD bar_style,
                        UINT id) {
  bar_style_ = bar_style;
  DWORD style = window_style | toolbar_style | CCS_NODIVIDER | CCS_NORESIZE |
                CCS_NOPARENTALIGN | TBSTYLE_TRANSPARENT;
  if ((bar_style & CBRS_TOOLTIPS) != 0) style |= TBSTYLE_TOOLTIPS;
  RECT rect = {0, 0, 0, 0};
  if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, "", style, rect, parent->GetSafeHwnd(), id))
    return false;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(parent->GetSafeHwnd()));
  return true;
}

bool CToolBar::LoadToolBar(UINT resource_id) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resource_id),
                              MAKEINTRESOURCEA(kToolbarResourceType));
  if (found == nullptr) return false;
  DWORD size = SizeofResource(instance, found);
  auto* data = static_cast<const WORD*>(LockResource(LoadResource(instance, found)));
  // Version, button width, button height, count, then the commands.
  if (data == nullptr || size < 8 || data[0] != 1) return false;
  WORD width = data[1], height = data[2], count = data[3];
  if (size < 8u + 2u * count) return false;

  std::vector<UINT> commands(data + 4, data + 4 + count);
  int images = 0;
  for (UINT command : commands) images += command != 0;
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
  TBADDBITMAP bitmap = {instance, resource_id};
  if (SendMessage(TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;

  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (UINT command : commands) {
    TBBUTTON button = {};
    if (command == 0) {
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = image++;
      button.idCommand = static_cast<int>(command);
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(button);
  }
  if (!SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
    return false;
  commands_ = commands;
  SendMessage(TB_AUTOSIZE);
  return true;
}

void CToolBar::UpdateButtons(CCmdTarget& target) {
  for (UINT command : commands_) {
    if (command == 0) continue;
    CToolCmdUI ui(hwnd_, command);
    ui.DoUpdate(target);
  }
}
