// A static text control that acts as a link: coloured by state, underlined, with a hand cursor
// and a tooltip showing its target, opened in the shell when clicked or on the space bar.
// CHyperLinkDL only marks itself visited and leaves the action to its dialog.
#pragma once
#include <windows.h>

#include <string>

#include "framework/static_ctrl.h"
#include "framework/wnd.h"

// Link flags.
constexpr DWORD kLinkUnderline = 0x01;
constexpr DWORD kLinkHoverColour = 0x02;
constexpr DWORD kLinkFitToText = 0x04;
constexpr DWORD kLinkFollowOnDown = 0x08;
constexpr DWORD kLinkTakeFocus = 0x10;
constexpr DWORD kLinkDefaultCursor = 0x20;
constexpr DWORD kLinkIgnoreFocusColour = 0x40;
constexpr DWORD kDefaultLinkFlags = kLinkUnderline | kLinkFitToText | kLinkTakeFocus;

// The colours every link of the process shares.
struct LinkColours {
  COLORREF link;
  COLORREF focus;
  COLORREF visited;
  COLORREF hover;
};

// The text colour for a link's state.
COLORREF ChooseLinkColour(const LinkColours& colours, DWORD flags, bool mouse_over, bool focused,
                          bool visited);
// The message for a failed open: "Can't open link:" and the reason for the code.
std::string LinkErrorText(int code);
// A browser's open command with its %1 cut off and the URL appended, quoted.
std::string BrowserCommandLine(const std::string& command, const std::string& url);
// Opens the URL in the shell, else through the browser that opens .htm files; the result is
// the shell's or WinExec's code, above 32 on success.
int OpenUrl(const std::string& url, int show);

class CHyperLink : public CStatic {
 public:
  CHyperLink();
  ~CHyperLink() override;

  // Binds the control and sets the link up on it.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(UINT id, CWnd* parent);

  void SetURL(const std::string& url);
  const std::string& GetURL() const { return url_; }
  void SetLinkText(const std::string& text);
  // Takes the face of the given font; the underline follows the flags.
  void SetFont(HFONT font);
  HFONT font() const { return font_; }
  // Flags become values | (flags & ~mask).
  void SetLinkFlags(DWORD mask, DWORD values, bool redraw = true);
  DWORD GetLinkFlags() const { return flags_; }
  bool visited() const { return visited_; }
  HWND tool_tip() const { return tool_tip_.GetSafeHwnd(); }

  // Opens the URL; on success the link counts as visited.
  virtual void FollowLink();

  static LinkColours GetColours();
  static void SetColours(const LinkColours& colours);
  // The hand cursor, loaded once per process; null when there is none.
  static HCURSOR HandCursor();

  bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 protected:
  // Called once the window is bound.
  virtual void OnSubclassed();
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // Marks the link visited and shows it so.
  void MarkVisited();

 private:
  void OnMouseMove(POINT point);
  bool InClient(POINT point) const;
  void OnButtonDown();
  void OnButtonUp();
  void LeaveHover();
  bool UseHandCursor() const;
  void ApplyFont(HFONT base);
  void Refit();
  void CreateToolTip();
  void UpdateToolTipText();
  void UpdateToolTipRect();
  void RelayToToolTip(UINT msg, WPARAM wp, LPARAM lp);
  void Repaint();
  void ShowError(int code);

  std::string url_;
  bool pressed_ = false;
  bool focused_ = false;
  bool mouse_over_ = false;
  bool visited_ = false;
  DWORD flags_ = kDefaultLinkFlags;
  HFONT font_ = nullptr;
  CWnd tool_tip_;
};

// A link whose click only marks it visited; the dialog acts on the control's click notification.
class CHyperLinkDL : public CHyperLink {
 public:
  void FollowLink() override;
};
