// Turns the WOW64 file-system redirection off for one scope, so that a 32-bit process on
// 64-bit Windows sees the real System32 (the 64-bit files). Does nothing in a 64-bit
// process or on 32-bit Windows, where kernel32 has no such calls or they fail.
#pragma once

namespace corvane {

class Wow64RedirectionOff {
 public:
  Wow64RedirectionOff();
  ~Wow64RedirectionOff();
  Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
  Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;

  // True while the redirection is off because of this object.
  bool active() const { return active_; }

 private:
  void* old_value_ = nullptr;
  bool active_ = false;
};

// True when this is a 32-bit process on 64-bit Windows (IsWow64Process).
bool RunningUnderWow64();

}  // namespace corvane
