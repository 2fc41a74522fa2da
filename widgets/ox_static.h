// A static text control with its own text colour and font, a solid or shaded background that
// fades to black, an optional tooltip and an optional sizing that fits the control to its text.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/static_ctrl.h"
#include "framework/wnd.h"

// Background colour that paints no background at all.
constexpr COLORREF kNoBackground = 0xFFFFFFFF;

enum ShadeMode {
  kShadeSolid = 0,
  kShadeFromRight = 1,
  kShadeFromCentre = 2,
  kShadeFromLeft = 3,
};

// One vertical band of a background, [left, right) in client coordinates.
struct ShadeStrip {
  int left;
  int right;
  COLORREF colour;
};

// The colour at distance from the bright edge of a fade over width pixels.
COLORREF ShadeColour(COLORREF colour, int distance, int width);
// The bands that paint a background of width pixels; the last band, to the far edge, is black.
std::vector<ShadeStrip> ShadeStrips(COLORREF colour, int mode, int width);

class COXStatic : public CStatic {
 public:
  COXStatic();
  ~COXStatic() override;

  void SetBackgroundColour(COLORREF colour, bool redraw = true);
  COLORREF background_colour() const { return background_colour_; }
  void SetBackgroundMode(int mode, bool redraw = true);
  int background_mode() const { return background_mode_; }
  void SetTextColour(COLORREF colour, bool redraw = true);
  COLORREF text_colour() const { return text_colour_; }

  // Replaces the own font; false when the font cannot be made.
  bool SetFont(const LOGFONTA& description, bool redraw = true);
  // Copies the window's current font into the own font.
  bool TakeWindowFont();
  HFONT font() const { return has_font_ ? font_ : nullptr; }

  void SetFitToText(bool fit);
  bool fit_to_text() const { return fit_to_text_; }
  // The rectangle in parent coordinates that the control has while it is not fitted.
  const RECT& saved_rect() const { return saved_rect_; }

  void SetToolTipsActive(bool active);
  // An explicit tooltip text; without one the tooltip shows the window text.
  void SetToolTipText(const std::string& text);
  // The text the tooltip shows.
  std::string tool_tip_text() const;
  HWND tool_tip() const { return tool_tip_.GetSafeHwnd(); }

  // Only left, centre, right, simple and no-wrap statics show text.
  bool IsTextControl() const;

  bool PreTranslateMessage(MSG* msg) override;
  bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintBackground(HDC dc);
  void ReplaceFont(HFONT font);
  void Refit();
  RECT FittedRect();
  RECT WindowRectInParent() const;
  void CreateToolTip();
  void UpdateToolTipRect();
  void UpdateToolTipText();
  void RedrawNow();

  COLORREF background_colour_;
  int background_mode_ = kShadeSolid;
  COLORREF text_colour_;
  HFONT font_ = nullptr;
  bool has_font_ = false;
  bool tool_tips_active_ = false;
  std::string tool_tip_text_;
  CWnd tool_tip_;
  bool fit_to_text_ = false;
  RECT saved_rect_ = {0, 0, 0, 0};
  bool tool_tip_text_explicit_ = false;
  bool tool_tip_created_ = false;
};
