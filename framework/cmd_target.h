// Something that handles commands and their user-interface updates, by command id.
#pragma once
#include <windows.h>

#include <functional>
#include <map>

class CCmdUI;

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;

  // Runs the command (ui null) or its update (ui set); false when this target has neither.
  // A command with a handler but no update rule counts as enabled.
  virtual bool OnCmdMsg(UINT id, CCmdUI* ui);

 protected:
  void MapCommand(UINT id, std::function<void()> handler);
  void MapUpdate(UINT id, std::function<void(CCmdUI&)> rule);

 private:
  std::map<UINT, std::function<void()>> commands_;
  std::map<UINT, std::function<void(CCmdUI&)>> updates_;
};
