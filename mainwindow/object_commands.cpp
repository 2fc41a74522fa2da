// The commands of the object list: unregister, remove from the registry, the hand-overs to
// the file manager, the browser, an EXE server and the registry editor, and their enable rules.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/gui_platform.h"
#include "app/launcher.h"
#include "app/registry_editor.h"
#include "catalogue/class_removal.h"
#include "framework/cmd_ui.h"
#include "framework/frame_wnd.h"
#include "mainwindow/bulk_removal.h"
#include "mainwindow/object_tree.h"
#include "resources/resource.h"

using corvane::CRegisteredObject;

namespace {

const char kPageHead[] =
    "<html>\n<head>\n<title>\n"
    "Preview ActiveX Controls In Internet Explorer</title></head>\n"
    "<body>\n<p><small><font face=Verdana>\n"
    "<strong>Tip</strong>: You can save this page and use it as a starting point for your "
    "Intranet or Internet application.<BR>\n"
    "It contains the Object tag required for ActiveX Controls hosted in Internet Explorer."
    "<BR><HR>\n";

std::string PreviewObject(const CRegisteredObject& record) {
  return "Depending on the implementation of <strong>" + record.GetName() +
         "</strong> you might not see it.<BR>\n"
         "<object id=Control1 classid=clsid:" + record.GetBareClsid() + "\n" +
         "Width=300\nHeight=100>\n"
         "</object></p>\n";
}

// "Explorer " and the path up to its last backslash: the folder the file is in.
std::string FolderCommand(const std::string& path) {
  std::string command = "Explorer " + path;
  const std::size_t slash = command.rfind('\\');
  if (slash != std::string::npos) command.erase(slash);
  return command;
}

// Marks a loop over the list's records as running for its lifetime.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

void CObjectTree::MapObjectCommands() {
  auto has_selection = [this] { return list_.GetSelectedCount() > 0; };
  auto one_selected = [this] { return list_.GetSelectedCount() == 1; };
  auto rule = [this](UINT id, std::function<bool()> enabled) {
    MapUpdate(id, [enabled](CCmdUI& ui) { ui.Enable(enabled()); });
  };

  MapCommand(ID_UNREGISTER, [this] { OnUnregister(); });
  rule(ID_UNREGISTER, [=] { return has_selection() && category() != corvane::kExeServers; });
  MapCommand(ID_REMOVE_FROM_REGISTRY, [this] { OnRemoveFromRegistry(); });
  rule(ID_REMOVE_FROM_REGISTRY, has_selection);
  MapCommand(ID_GOTO_FILE_LOCATION, [this] { OnGotoFileLocation(); });
  rule(ID_GOTO_FILE_LOCATION, has_selection);
  MapCommand(ID_RUN_EXE_SERVER, [this] { OnRunExeServer(); });
  rule(ID_RUN_EXE_SERVER, [=] { return has_selection() && category() == corvane::kExeServers; });
  MapCommand(ID_VIEW_IN_IE, [this] { OnViewInIE(); });
  rule(ID_VIEW_IN_IE, [=] { return has_selection() && category() == corvane::kControls; });
  MapCommand(ID_SELECT_ALL, [this] { OnSelectAll(); });
  rule(ID_SELECT_ALL, [] { return true; });

  MapCommand(ID_JUMP_CLSID, [this] {
    if (CRegisteredObject* record = GetFirstSelectedRecord()) {
      const std::string path = "CLSID\\" + record->clsid();
      OpenInRegistryEditor(
          corvane::ShownClassesRoot(GuiPlatform().registry, path) + "\\" + path + "\\");
    }
  });
  MapCommand(ID_JUMP_PROGID, [this] {
    if (CRegisteredObject* record = GetFirstSelectedRecord())
      OpenInRegistryEditor("HKEY_CLASSES_ROOT\\" + record->GetAttribute(0) + "\\");
  });
  MapCommand(ID_JUMP_TYPELIB, [this] {
    if (CRegisteredObject* record = GetFirstSelectedRecord())
      OpenInRegistryEditor("HKEY_CLASSES_ROOT\\TypeLib\\" + record->GetAttribute(4) + "\\");
  });
  for (UINT id : {ID_JUMP_CLSID, ID_JUMP_PROGID, ID_JUMP_TYPELIB}) rule(id, one_selected);

  MapCommand(ID_COMPARE_SELECTED_WITH_COMPUTERS, [this] { OnCompareWithComputers(false); });
  rule(ID_COMPARE_SELECTED_WITH_COMPUTERS, has_selection);
  MapCommand(ID_COMPARE_ALL_WITH_COMPUTERS, [this] { OnCompareWithComputers(true); });
  rule(ID_COMPARE_ALL_WITH_COMPUTERS, [] { return true; });
  MapCommand(ID_COMPARE_WITH_NETWORK, [this] { OnCompareWithNetwork(); });
  rule(ID_COMPARE_WITH_NETWORK, has_selection);
}

void CObjectTree::RemoveFromView(CRegisteredObject* record) {
  for (int i = 0; i < list_.RowCount(); ++i) {
    if (RecordAt(i) != record) continue;
    list_.DeleteRow(i);
    break;
  }
  // Forgotten before the record goes, so that no remembered selection points at it.
  for (Remembered& remembered : remembered_) {
    if (remembered.record == record) remembered = Remembered();
  }
  catalogue_.RemoveFromCurrent(record);  // the returned owner deletes it
  ShowItemCount();
}

void CObjectTree::ReselectAfterRemoval(int anchor) {
  const int count = list_.RowCount();
  if (count > 0) {
    if (anchor >= count) anchor = count - 1;
    remembered_[catalogue_.current()] = Remembered{anchor, RecordAt(anchor)};
    filling_ = true;  // the details are shown once, below
    SelectItem(anchor);  // the items still selected stay so
    filling_ = false;
  }
  ShowRecordDetails();
}

void CObjectTree::OnUnregister() {
  if (busy_) return;
  BusyScope busy(busy_);
  std::vector<CRegisteredObject*> records;
  GetSelectedRecords(records);
  if (records.empty()) return;
  const int anchor = list_.GetNextItem(-1, LVNI_SELECTED);
  // The details follow the selection once, after the work, not after every deleted item.
  filling_ = true;
  for (CRegisteredObject* record : records) {
    if (record->exists() == 0) {
      const std::string text =
          "Can not unregister " + record->GetName() +
          ". The file it resides in was not found.\n\nYou can remove it from the Registry using "
          "the 'Remove From Registry' feature.";
      MessageBoxA(BoxOwner(), text.c_str(), "Can not unregister", MB_OK | MB_ICONINFORMATION);
      continue;
    }
    // A server may delete its keys and still report failure: the record goes with its key.
    if (record->Unregister() != 0 || !record->IsRegistered())
      RemoveFromView(record);
    else
      catalogue_.ForgetNames(record->clsid());
  }
  filling_ = false;
  ReselectAfterRemoval(anchor);
}

void CObjectTree::OnRemoveFromRegistry() {
  if (busy_) return;
  BusyScope busy(busy_);
  std::vector<CRegisteredObject*> records;
  GetSelectedRecords(records);
  if (records.empty()) return;
  if (!ConfirmBulkRemoval(records, GetParentFrame())) return;
  const int anchor = list_.GetNextItem(-1, LVNI_SELECTED);
  const bool exe = category() == corvane::kExeServers;
  // Several records get one summary at the end instead of one each.
  CBulkRemoval bulk(GetParentFrame(), records.size());
  filling_ = true;
  for (CRegisteredObject* record : records) {
    if (!bulk.Next(record->GetName())) break;
    if (record->exists() != 0) {
      const std::string advice =
          exe ? " is properly registered.\nIt is recommended that you uninstall the software via "
                "the vendors' uninstall program.\n\n"
              : " is properly registered.\nIt is recommended that you unregister it instead (Use "
                "the unregister button in the toolbar).\n\n";
      const std::string text = record->GetName() + advice +
                               "Would you like to delete it from the registry anyway?";
      if (MessageBoxA(BoxOwner(), text.c_str(), "Confirm Registry Removal",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        continue;
    }
    std::string log;
    if (record->RemoveFromRegistry(log) == 0) continue;
    bulk.Removed(record->backup_path());
    RemoveFromView(record);
  }
  bulk.Finish();
  filling_ = false;
  ReselectAfterRemoval(anchor);
}

void CObjectTree::OnGotoFileLocation() {
  std::vector<CRegisteredObject*> records;
  GetSelectedRecords(records);
  for (CRegisteredObject* record : records)
    Launcher().RunCommand(FolderCommand(record->GetFilePath()), SW_SHOWNORMAL);
}

void CObjectTree::OnRunExeServer() {
  if (CRegisteredObject* record = GetFirstSelectedRecord())
    Launcher().RunCommand(record->GetServerCommand(), SW_SHOWNORMAL);
}

void CObjectTree::OnSelectAll() {
  if (list_.RowCount() == 0) return;
  // Item -1 is every item; the focus goes to the last, as when each was selected in turn.
  list_.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
  list_.SetItemState(list_.RowCount() - 1, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CObjectTree::OnViewInIE() {
  char folder[MAX_PATH] = "";
  char temp[MAX_PATH] = "";
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder || GetTempFileNameA(folder, "axm", 0, temp) == 0)
    return;
  const std::string page = std::string(temp) + ".HTM";
  if (!MoveFileA(temp, page.c_str())) {
    DeleteFileA(temp);
    MessageBoxA(BoxOwner(), ("The preview page " + page + " could not be made.").c_str(),
                "Corvane", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::vector<CRegisteredObject*> records;
  GetSelectedRecords(records);
  std::string text = kPageHead;
  for (const CRegisteredObject* record : records) text += PreviewObject(*record);
  text += "</font></body></html>\n";
  // Text mode: each line break is written as a carriage return and a line feed.
  FILE* file = std::fopen(page.c_str(), "w");
  bool written = file != nullptr && std::fputs(text.c_str(), file) >= 0;
  if (file != nullptr) written = std::fclose(file) == 0 && written;
  if (!written) {
    MessageBoxA(BoxOwner(), ("The preview page " + page + " could not be written.").c_str(),
                "Corvane", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  Launcher().RunCommand("Explorer " + page, SW_SHOWNORMAL);
}
