#include "app/plenor_app.h"

#include <objbase.h>
#include <commdlg.h>

#include <memory>
#include <vector>

#include "app/about_dlg.h"
#include "app/gui_platform.h"
#include "app/message_dlg.h"
#include "app/options_dlg.h"
#include "app/settings.h"
#include "app/shell_integration.h"
#include "app/shell_tools.h"
#include "update/web_update_dlg.h"
#include "catalogue/object_lists.h"
#include "catalogue/registry_scan.h"
#include "catalogue/server_registration.h"
#include "framework/cmd_ui.h"
#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "mainwindow/com_file_details_dlg.h"
#include "mainwindow/layout_hold.h"
#include "mainwindow/object_list_rules.h"
#include "mainwindow/object_tree.h"
#include "mainwindow/plenor_doc.h"
#include "mainwindow/splitter_frame.h"
#include "resources/resource.h"
#include "tools/compare_files_dlg.h"
#include "tools/computers_dlg.h"
#include "tools/inventory_report_dlg.h"
#include "tools/missing_dependencies_dlg.h"
#include "tools/restore_backups_dlg.h"

namespace {

const int kTimedMessageWait = 3000;
const std::size_t kOpenFileBuffer = 2600;

struct ViewCommand {
  UINT id;
  corvane::RegistryView view;
};
const ViewCommand kViewCommands[] = {{ID_VIEW_32BIT_CLASSES, corvane::RegistryView::k32},
                                     {ID_VIEW_64BIT_CLASSES, corvane::RegistryView::k64}};

struct DisplayCommand {
  UINT id;
  int label;
};
const DisplayCommand kDisplayCommands[] = {{ID_DISPLAY_PROGID, corvane::kLabelProgId},
                                           {ID_DISPLAY_CLSID, corvane::kLabelClsid},
                                           {ID_DISPLAY_TYPELIB, corvane::kLabelTypeLib},
                                           {ID_DISPLAY_FILE_LOCATION, corvane::kLabelFilePath}};

}  // namespace

CPlenorApp::CPlenorApp() {
  MapCommand(ID_APP_ABOUT, [] {
    CAboutDlg about;
    about.DoModal();
  });
  MapCommand(ID_REGISTER, [this] { OnRegister(); });
  MapUpdate(ID_REGISTER, [this](CCmdUI& ui) {
    CObjectTree* tree = ObjectTree();
    ui.Enable(tree != nullptr && (tree->category() == corvane::kControls ||
                                  tree->category() == corvane::kDllServers));
  });
  MapCommand(ID_REFRESH_LIST, [this] { OnRefreshList(); });
  MapCommand(ID_COMPUTER_LIST, [] {
    CComputersDlg computers(corvane::AppSettings().computers);
    computers.DoModal();
  });
  MapCommand(ID_OPTIONS, [this] { OnOptions(); });
  MapCommand(ID_FIND_MISSING_DEPENDENCIES, [this] { OnFindMissingDependencies(); });
  MapCommand(ID_FIND_BROKEN_TYPELIBS, [this] { OnFindBrokenTypeLibs(); });
  MapCommand(ID_RESTORE_REMOVED, [this] { OnRestoreRemoved(); });
  MapCommand(ID_GENERATE_REPORT, [this] { OnGenerateReport(); });
  MapCommand(ID_HELP_CONTENTS, [] { HelpContents(); });
  MapCommand(ID_WEB_SITE, [] { OpenMakerWebSite(); });
  MapCommand(ID_CHECK_FOR_UPDATES, [] { CheckForUpdates(); });
  for (const DisplayCommand& display : kDisplayCommands) {
    MapCommand(display.id, [this, display] { OnDisplay(display.label); });
    MapUpdate(display.id, [display](CCmdUI& ui) {
      int current = corvane::AppSettings().display_in_list;
      // Values without a choice of their own label like the ProgID.
      if (current < corvane::kLabelProgId || current > corvane::kLabelTypeLib)
        current = corvane::kLabelProgId;
      ui.Enable(true);
      ui.SetRadio(current == display.label);
    });
  }
  for (const ViewCommand& choice : kViewCommands) {
    MapCommand(choice.id, [this, choice] { OnChooseView(choice.view); });
    MapUpdate(choice.id, [choice](CCmdUI& ui) {
      // 32-bit Windows has one registry: nothing to choose.
      const corvane::Registry& registry = GuiPlatform().registry;
      ui.Enable(registry.HasTwoViews());
      ui.SetRadio(registry.HasTwoViews() && registry.view() == choice.view);
    });
  }
}

bool CPlenorApp::InitInstance() {
  com_ready_ = SUCCEEDED(CoInitialize(nullptr));

  char name[256] = "";
  DWORD size = 255;
  if (GetComputerNameA(name, &size)) computer_name_ = name;

  corvane::LoadSettings(GuiPlatform().registry, corvane::AppSettings());
  if (GuiPlatform().registry.HasTwoViews())
    corvane::ChooseView(GuiPlatform(),
                        corvane::SettingsView(corvane::AppSettings().registry_view));

  corvane::StartRequest request = corvane::ParseStartRequest(arguments_);
  if (request.action != corvane::StartAction::kUserInterface) {
    RunStartRequest(request);
    return false;
  }
  if (request.rewrite_shell_verbs) RegisterProgramShellVerbs();
  return OpenMainWindow();
}

void CPlenorApp::RunStartRequest(const corvane::StartRequest& request) {
  const corvane::Platform& platform = GuiPlatform();
  const corvane::Settings& settings = corvane::AppSettings();
  switch (request.action) {
    case corvane::StartAction::kRegister:
      corvane::RegisterServerFile(platform, request.path);
      // The timed message is painted once and must stay up before the process ends.
      if (settings.after_register == kNotifyTimed) Sleep(kTimedMessageWait);
      break;
    case corvane::StartAction::kUnregister:
      corvane::UnregisterServerFile(platform, request.path);
      if (settings.after_unregister == kNotifyTimed) Sleep(kTimedMessageWait);
      break;
    case corvane::StartAction::kViewDetails:
      ShowFileDetails(request.path);
      break;
    case corvane::StartAction::kCompare: {
      CCompareFilesDlg compare(request.path);
      compare.DoModal();
      break;
    }
    default:
      break;
  }
}

void CPlenorApp::ShowFileDetails(const std::string& path) {
  const corvane::Platform& platform = GuiPlatform();
  std::unique_ptr<corvane::CRegisteredObject> record = corvane::FindObjectByFile(platform, path);
  if (record == nullptr) {
    std::string question = "The control located in: " + path +
                           "\nDoes not seem to be registered.\n\nWould you like to register it now?";
    if (MessageBoxA(nullptr, question.c_str(), "Confirm Registeration",
                    MB_ICONQUESTION | MB_YESNO) != IDYES) {
      return;
    }
    corvane::RegisterServerFile(platform, path);
    record = corvane::FindObjectByFile(platform, path);
    if (record == nullptr) {
      ShowMessage("The control located in: " + path +
                  "\n\nCould not be located in the registry. Unable to display control details.");
      return;
    }
  }
  CComFileDetailsDlg details(*record);
  details.DoModal();
}

bool CPlenorApp::OpenMainWindow() {
  AddDocTemplate(std::make_unique<CSingleDocTemplate>(
      IDR_MAINFRAME, [] { return new CPlenorDoc; }, [] { return new CSplitterFrame; },
      [] { return new CObjectTree; }));
  if (!OnFileNew()) return false;

  CWnd* main = main_window();
  ShowView();
  RECT place = CentredPlacement(GetSystemMetrics(SM_CXFULLSCREEN),
                                GetSystemMetrics(SM_CYFULLSCREEN), 0.9);
  SetLayoutHold(false);
  MoveWindow(*main, place.left, place.top, place.right - place.left, place.bottom - place.top,
             TRUE);
  return true;
}

int CPlenorApp::ExitInstance() {
  DestroyTimedMessage();
  corvane::SaveSettings(GuiPlatform().registry, corvane::AppSettings());
  if (com_ready_) CoUninitialize();
  com_ready_ = false;
  return CWinApp::ExitInstance();
}

CObjectTree* CPlenorApp::ObjectTree() const {
  CSplitterFrame* frame = dynamic_cast<CSplitterFrame*>(main_window());
  return frame != nullptr ? frame->GetObjectTree() : nullptr;
}

void CPlenorApp::OnFindMissingDependencies() {
  CObjectTree* tree = ObjectTree();
  if (tree == nullptr) return;
  CMissingDependenciesDlg search(tree->list(), tree->GetCategoryName().substr(0, 63));
  search.DoModal();
}

void CPlenorApp::OnFindBrokenTypeLibs() {
  CObjectTree* tree = ObjectTree();
  if (tree == nullptr) return;
  CBrokenTypeLibsDlg search(tree->list(), tree->GetCategoryName().substr(0, 63));
  search.DoModal();
}

void CPlenorApp::OnRestoreRemoved() {
  CRestoreBackupsDlg restore;
  restore.DoModal();
  if (restore.restored()) OnRefreshList();
}

void CPlenorApp::OnGenerateReport() {
  CObjectTree* tree = ObjectTree();
  if (tree == nullptr) return;
  CInventoryReportDlg report(tree->list().Records(), tree->GetCategoryName(), computer_name_);
  report.DoModal();
}

void CPlenorApp::OnRegister() {
  if (last_register_folder_.empty()) {
    char system[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(system, MAX_PATH - 1);
    if (length > 0 && length < MAX_PATH) last_register_folder_ = system;
  }
  std::vector<char> buffer(kOpenFileBuffer, '\0');
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = DefaultOwnerWindow();
  dialog.lpstrFilter = "OCX or DLL Files(*.OCX,*.DLL)\0*.OCX;*.DLL\0";
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
  dialog.lpstrInitialDir = last_register_folder_.c_str();
  dialog.lpstrTitle = "Register ActiveX Controls or DLL Servers";
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameA(&dialog)) return;

  std::string folder;
  std::vector<std::string> files =
      corvane::ChosenFiles(buffer.data(), buffer.size(), dialog.nFileOffset, &folder);
  if (files.empty()) return;
  last_register_folder_ = folder;
  // A server may write keys and still fail: every call that reached its entry point counts.
  bool any_called = false;
  for (const std::string& file : files) {
    bool called = false;
    corvane::RegisterServerFile(GuiPlatform(), file, &called);
    any_called = any_called || called;
  }
  CObjectTree* tree = ObjectTree();
  if (!any_called || tree == nullptr) return;
  tree->Refresh(true, nullptr, false);
  tree->SelectByFile(files.front());
}

void CPlenorApp::OnRefreshList() {
  if (CObjectTree* tree = ObjectTree()) tree->Refresh(true, nullptr, true);
}

void CPlenorApp::OnOptions() {
  COptionsDlg dialog(corvane::AppSettings());
  if (dialog.DoModal() != IDOK) return;
  if (CObjectTree* tree = ObjectTree()) tree->FillList(true);
}

void CPlenorApp::OnChooseView(corvane::RegistryView view) {
  const corvane::Platform& platform = GuiPlatform();
  if (!platform.registry.HasTwoViews() || platform.registry.view() == view) return;
  corvane::AppSettings().registry_view = view == corvane::RegistryView::k64 ? 64 : 32;
  corvane::ChooseView(platform, view);
  ShowView();
  if (CObjectTree* tree = ObjectTree()) tree->Refresh(true, nullptr, true);
}

void CPlenorApp::ShowView() {
  CSplitterFrame* frame = dynamic_cast<CSplitterFrame*>(main_window());
  if (frame == nullptr) return;
  std::string caption = LoadResourceString(IDS_APP_VERSION_TITLE);
  const corvane::Registry& registry = GuiPlatform().registry;
  if (registry.HasTwoViews()) {
    const std::string title = corvane::ViewTitle(registry.view());
    caption += " - " + title;
    frame->SetViewText(title);
  }
  frame->SetWindowText(caption);
}

void CPlenorApp::OnDisplay(int label) {
  corvane::AppSettings().display_in_list = label;
  if (CObjectTree* tree = ObjectTree()) tree->FillList(true);
}
