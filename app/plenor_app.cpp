#include "app/plenor_app.h"

#include <objbase.h>

#include <memory>

#include "app/message_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "framework/doc_template.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_doc.h"
#include "mainwindow/splitter_frame.h"
#include "resources/resource.h"

CPlenorApp::CPlenorApp() { MapCommand(ID_OPTIONS, [this] { OnOptions(); }); }

bool CPlenorApp::InitInstance() {
  com_ready_ = SUCCEEDED(CoInitialize(nullptr));

  char name[256] = "";
  DWORD size = 255;
  if (GetComputerNameA(name, &size)) computer_name_ = name;

  corvane::LoadSettings(registry_, corvane::AppSettings());

  AddDocTemplate(std::make_unique<CSingleDocTemplate>(
      IDR_MAINFRAME, [] { return new CPlenorDoc; }, [] { return new CSplitterFrame; },
      [] { return new CObjectTree; }));
  if (!OnFileNew()) return false;

  CWnd* main = main_window();
  main->SetWindowText(LoadResourceString(IDS_APP_VERSION_TITLE));
  RECT place = CentredPlacement(GetSystemMetrics(SM_CXFULLSCREEN),
                                GetSystemMetrics(SM_CYFULLSCREEN), 0.9);
  SetLayoutHold(false);
  MoveWindow(*main, place.left, place.top, place.right - place.left, place.bottom - place.top,
             TRUE);
  return true;
}

int CPlenorApp::ExitInstance() {
  DestroyTimedMessage();
  corvane::SaveSettings(registry_, corvane::AppSettings());
  if (com_ready_) CoUninitialize();
  return CWinApp::ExitInstance();
}

void CPlenorApp::OnOptions() {
  COptionsDlg dialog(corvane::AppSettings());
  dialog.DoModal();
}
