#include "framework/cmd_target.h"

#include "framework/cmd_ui.h"

bool CCmdTarget::OnCmdMsg(UINT id, CCmdUI* ui) {
  if (ui != nullptr) {
    auto rule = updates_.find(id);
    if (rule != updates_.end()) {
      rule->second(*ui);
      return true;
    }
    if (commands_.count(id) == 0) return false;
    ui->Enable(true);
    return true;
  }
  auto handler = commands_.find(id);
  if (handler == commands_.end()) return false;
  // A copy: the handler may remap or destroy this target.
  auto run = handler->second;
  run();
  return true;
}

void CCmdTarget::MapCommand(UINT id, std::function<void()> handler) {
  commands_[id] = std::move(handler);
}

void CCmdTarget::MapUpdate(UINT id, std::function<void(CCmdUI&)> rule) {
  updates_[id] = std::move(rule);
}
