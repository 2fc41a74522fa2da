// Test support for controls: a top-level window for them to live in, one such window shared
// by a suite, and where a control sits and what its tooltip says.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/wnd.h"

namespace gui_test {

// A top-level window of a class of its own, so that each kind of host keeps its background.
class TestHost : public CWnd {
 public:
  TestHost(const char* class_name, const char* caption, DWORD style, const RECT& rect,
           HBRUSH background) {
    const char* name = RegisterFrameworkClass(class_name, 0, background, nullptr);
    CreateEx(0, name, caption, style, rect, nullptr, 0);
  }
  ~TestHost() override { DestroyWindow(); }
};

// One host for the suite: making and destroying top-level windows is slow under Wine.
template <class Host>
class HostedTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { shared_host_ = new Host; }
  static void TearDownTestSuite() {
    delete shared_host_;
    shared_host_ = nullptr;
  }

  inline static Host* shared_host_ = nullptr;
  Host& host_ = *shared_host_;
};

// The child's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// What the tooltip shows for its tool over the whole control (tool id 1).
inline std::string ToolTipText(HWND tool_tip, HWND control) {
  char text[1024] = "";
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = control;
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageA(tool_tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

}  // namespace gui_test
