// A window object bound to one HWND. Every window the program makes or adopts is subclassed
// to CWnd::WindowProc, so derived classes see its messages and the default goes on to the
// window's own procedure.
#pragma once
#include <windows.h>

#include <string>

#include "framework/cmd_target.h"

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The object bound to a window, or null for a window the program did not bind.
  static CWnd* FromHandle(HWND hwnd);

  HWND GetSafeHwnd() const { return hwnd_; }
  operator HWND() const { return hwnd_; }

  // Creates the window (class registered by the caller or the system) bound to this object.
  bool CreateEx(DWORD ex_style, const char* window_class, const char* text, DWORD style,
                const RECT& rect, HWND parent, UINT id_or_menu, void* param = nullptr);
  // Binds an existing window, such as a dialog's control.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(UINT id, CWnd* parent);
  void DestroyWindow();

  virtual bool PreCreateWindow(CREATESTRUCTA& cs);
  // Called before the message is translated and dispatched; true when it was consumed.
  virtual bool PreTranslateMessage(MSG* msg);
  // Messages a parent forwards to this child (owner drawing, colours, notifications).
  virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

  CWnd* GetParent() const;
  HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }
  DWORD GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)); }
  void ModifyStyle(DWORD remove, DWORD add);
  LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return ::SendMessageA(hwnd_, msg, wp, lp);
  }

 protected:
  // The message handler; call the base for what a class does not handle itself.
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The window's own procedure, for messages the object passes on.
  LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // After the window is gone; windows that own themselves delete themselves here.
  virtual void PostNcDestroy() {}

  // Prepares binding for the next window the calling thread creates (used by dialogs).
  void BindNextWindow();

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK StandardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp);
  void Attach(HWND hwnd);
  void Detach();
  LRESULT ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, bool* done);

  WNDPROC previous_proc_ = nullptr;
};

// Registers a window class of the program once; returns its name.
const char* RegisterFrameworkClass(const char* name, UINT class_style, HBRUSH background,
                                   HICON icon);
