#include "framework/cmd_ui.h"

#include <commctrl.h>

#include "framework/cmd_target.h"

void CCmdUI::DoUpdate(CCmdTarget& target) {
  if (!target.OnCmdMsg(id_, this)) Enable(false);
}

void CMenuCmdUI::Enable(bool on) {
  EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void CMenuCmdUI::SetCheck(int state) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  GetMenuItemInfoA(menu_, index_, TRUE, &info);
  info.fType &= ~MFT_RADIOCHECK;
  info.fState &= ~MFS_CHECKED;
  if (state != 0) info.fState |= MFS_CHECKED;
  SetMenuItemInfoA(menu_, index_, TRUE, &info);
}

void CMenuCmdUI::SetRadio(bool on) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  GetMenuItemInfoA(menu_, index_, TRUE, &info);
  info.fType |= MFT_RADIOCHECK;
  info.fState &= ~MFS_CHECKED;
  if (on) info.fState |= MFS_CHECKED;
  SetMenuItemInfoA(menu_, index_, TRUE, &info);
}

void CToolCmdUI::Enable(bool on) {
  // Only touch the button when it changes, so that idle updates do not make it flicker.
  bool now = SendMessageA(toolbar_, TB_ISBUTTONENABLED, id(), 0) != 0;
  if (now != on) SendMessageA(toolbar_, TB_ENABLEBUTTON, id(), MAKELPARAM(on ? TRUE : FALSE, 0));
}

void CToolCmdUI::SetCheck(int state) {
  bool now = SendMessageA(toolbar_, TB_ISBUTTONCHECKED, id(), 0) != 0;
  if (now != (state != 0))
    SendMessageA(toolbar_, TB_CHECKBUTTON, id(), MAKELPARAM(state != 0 ? TRUE : FALSE, 0));
}
