#include "widgets/tool_tip.h"

#include <commctrl.h>

namespace {

const UINT_PTR kToolId = 1;

// The smaller structure, so that the tool is accepted by every comctl32 version.
TTTOOLINFOA ToolOf(HWND owner) {
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = kToolId;
  return tool;
}

}  // namespace

bool CreateControlToolTip(CWnd& tip, HWND owner, const std::string& text, int max_width) {
  RECT nowhere = {0, 0, 0, 0};
  if (!tip.CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, nowhere, owner, 0))
    return false;
  TTTOOLINFOA tool = ToolOf(owner);
  GetClientRect(owner, &tool.rect);
  tool.lpszText = const_cast<char*>(text.c_str());
  tip.SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  tip.SendMessage(TTM_SETMAXTIPWIDTH, 0, max_width);
  return true;
}

void SetControlToolTipText(CWnd& tip, HWND owner, const std::string& text) {
  if (tip.GetSafeHwnd() == nullptr) return;
  TTTOOLINFOA tool = ToolOf(owner);
  tool.lpszText = const_cast<char*>(text.c_str());
  tip.SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FitControlToolTip(CWnd& tip, HWND owner) {
  if (tip.GetSafeHwnd() == nullptr) return;
  TTTOOLINFOA tool = ToolOf(owner);
  GetClientRect(owner, &tool.rect);
  tip.SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}
