// The application object: start-up and shutdown hooks, the message loop with idle-time
// command updates, the document template, and the last stop of command routing.
#pragma once
#include <memory>
#include <string>

#include "framework/wnd.h"

class CSingleDocTemplate;

class CWinApp : public CCmdTarget {
 public:
  CWinApp();
  ~CWinApp() override;

  // The one application object of the process, or null.
  static CWinApp* Current();

  virtual bool InitInstance();
  virtual int ExitInstance();
  // The message loop until WM_QUIT; returns ExitInstance's code.
  virtual int Run();
  // Called when the queue is empty; updates the main window's bars.
  virtual void OnIdle();
  // Gives windows their pre-translation (accelerators, dialog keys); true when consumed.
  bool PreTranslateMessage(MSG* msg);

  CWnd* main_window() const { return main_window_; }
  void set_main_window(CWnd* wnd) { main_window_ = wnd; }

  void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> doc_template);
  CSingleDocTemplate* doc_template() const { return doc_template_.get(); }
  // Creates the document with its frame and views; false when that fails.
  bool OnFileNew();

 private:
  CWnd* main_window_ = nullptr;
  std::unique_ptr<CSingleDocTemplate> doc_template_;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// A string of the string table; empty when there is none.
std::string LoadResourceString(UINT id);
// A message box captioned with the application's name, owned by the running modal dialog or
// else the main window.
int AppMessageBox(const std::string& text, UINT type = MB_OK);
