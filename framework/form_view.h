// A view made from a child dialog template, with dialog keyboard handling.
#pragma once
#include "framework/view.h"

class CFormView : public CView {
 public:
  explicit CFormView(UINT template_id) : template_id_(template_id) {}

  bool Create(CWnd* parent, UINT id, const RECT& rect, CCreateContext* context) override;
  bool PreTranslateMessage(MSG* msg) override;
  UINT template_id() const { return template_id_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
  UINT template_id_;
};
