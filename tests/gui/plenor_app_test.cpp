// The application object over a scratch HKEY_CLASSES_ROOT with the fixture servers the build
// makes: the Register command through the real open-file dialog, and the "-R" and "-V" runs.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/message_dlg.h"
#include "app/plenor_app.h"
#include "app/settings.h"
#include "tests/gui/frame_fixture.h"
#include "tests/win32/scratch_classes.h"

namespace {

using gui_test::ModalAnswer;
using gui_test::WindowText;

const char kMessageCaption[] = "Corvane Message";
const char kOpenCaption[] = "Register ActiveX Controls or DLL Servers";
const char kControlClass[] = "CLSID\\{6E3A1C52-8F0B-4D27-9B1E-2C7D5A40F913}";

std::string BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }
std::string MessageText(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_MESSAGE_TEXT)); }

// The folder of a full path, without its last backslash.
std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

class PlenorAppTest : public FrameFixture {
 protected:
  PlenorAppTest() : saved_(corvane::AppSettings()) {
    corvane::AppSettings() = corvane::Settings();
  }
  ~PlenorAppTest() override { corvane::AppSettings() = saved_; }

  void OpenMain() {
    ASSERT_NE(nullptr, Open());
    app_.set_main_window(frame_);
  }
  void TearDown() override {
    app_.set_main_window(nullptr);  // no quit message when the frame goes
    FrameFixture::TearDown();
  }
  // Register Control/DLL, answered in the open-file dialog by going to the folder and then
  // typing the names; every message after it is recorded with the labels listed at that time.
  void RegisterThrough(const std::string& folder, const std::string& typed_names) {
    auto type = [](const std::string& text) {
      return [text](HWND dialog) {
        HWND name = GetDlgItem(dialog, cmb13);
        if (name == nullptr) name = GetDlgItem(dialog, edt1);
        SetWindowTextA(name, text.c_str());
        gui_test::PostClick(dialog, IDOK);
      };
    };
    gui_test::DialogDriver open({{kOpenCaption, type(folder)}, {kOpenCaption, type(typed_names)}},
                                [] {
                                  for (HWND open : gui_test::ThreadDialogs(kOpenCaption))
                                    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
                                });
    ModalAnswer messages(kMessageCaption, [this](HWND dialog) {
      messages_.push_back(MessageText(dialog));
      labels_at_message_.push_back(Labels());
      return IDOK;
    });
    frame_->SendMessage(WM_COMMAND, MAKEWPARAM(ID_REGISTER, 0), 0);
    EXPECT_EQ(2u, open.steps_done());
  }
  std::string SelectedLabel() {
    const int first = Tree()->list().GetNextItem(-1, LVNI_SELECTED);
    return first >= 0 ? Tree()->list().GetItemText(first, 0) : std::string();
  }

  corvane::Settings saved_;
  corvane::ScratchClasses classes_;
  CPlenorApp app_;
  std::vector<std::string> messages_;
  std::vector<std::vector<std::string>> labels_at_message_;
};

TEST_F(PlenorAppTest, RegisterCommandRegistersInTheOrderChosenThenRescansAndSelectsTheFirst) {
  const std::string control = corvane::FixturePath("corvane_fixture_control.ocx");
  OpenMain();
  ASSERT_TRUE(Labels().empty());
  RegisterThrough(FolderOf(control),
                  "\"corvane_fixture_second.ocx\" \"corvane_fixture_control.ocx\"");
  ASSERT_EQ(2u, messages_.size());
  const std::string done = "\n\nRegistered Successfully !";
  EXPECT_NE(std::string::npos, messages_[0].find("corvane_fixture_second.ocx" + done));
  EXPECT_NE(std::string::npos, messages_[1].find("corvane_fixture_control.ocx" + done));
  // One rescan, after the last file.
  EXPECT_TRUE(labels_at_message_[1].empty());
  EXPECT_EQ((std::vector<std::string>{"CorvaneFixture.Control.1", "CorvaneFixture.Second.1"}),
            Labels());
  EXPECT_EQ("CorvaneFixture.Second.1", SelectedLabel());
}

// A server that writes its keys and then reports failure: the failure is shown, and the list
// shows what the registry now holds.
TEST_F(PlenorAppTest, RegisterCommandRescansAfterAServerThatFailsAfterWritingItsKeys) {
  const std::string failing = corvane::FixturePath("corvane_fixture_failing.ocx");
  OpenMain();
  RegisterThrough(FolderOf(failing), "\"corvane_fixture_failing.ocx\"");
  ASSERT_EQ(1u, messages_.size());
  EXPECT_EQ(0u, messages_[0].rfind("'DllRegisterServer' failed in ", 0)) << messages_[0];
  EXPECT_EQ((std::vector<std::string>{"CorvaneFixture.Failing.1"}), Labels());
  EXPECT_EQ("CorvaneFixture.Failing.1", SelectedLabel());
}

TEST_F(PlenorAppTest, ViewDetailsOfAnUnregisteredFileOffersRegistrationThenSaysItIsNotFound) {
  const std::string plain = corvane::FixturePath("corvane_fixture_plain.dll");
  std::vector<std::string> questions;
  int answer = IDNO;
  ModalAnswer confirm("Confirm Registeration", [&](HWND box) {
    questions.push_back(BoxText(box));
    return answer;
  });
  ModalAnswer messages(kMessageCaption, [this](HWND dialog) {
    messages_.push_back(MessageText(dialog));
    return IDOK;
  });
  const corvane::StartRequest view{corvane::StartAction::kViewDetails, plain, false};
  app_.RunStartRequest(view);
  ASSERT_EQ(1u, questions.size());
  EXPECT_EQ("The control located in: " + plain +
                "\nDoes not seem to be registered.\n\nWould you like to register it now?",
            questions[0]);
  EXPECT_TRUE(messages_.empty());  // No: nothing more

  answer = IDYES;
  app_.RunStartRequest(view);
  ASSERT_EQ(2u, questions.size());
  ASSERT_EQ(2u, messages_.size());
  EXPECT_EQ("Failed to find 'DllRegisterServer' function in " + plain, messages_[0]);
  EXPECT_EQ("The control located in: " + plain +
                "\n\nCould not be located in the registry. Unable to display control details.",
            messages_[1]);
}

TEST_F(PlenorAppTest, BatchRegisterWaitsForOkAtZeroAndLeavesTheTimedMessageUpThreeSecondsAtOne) {
  const std::string control = corvane::FixturePath("corvane_fixture_control.ocx");
  const corvane::StartRequest run{corvane::StartAction::kRegister, control, false};
  bool registered_while_shown = false;
  {
    ModalAnswer ok(kMessageCaption, [&](HWND dialog) {
      messages_.push_back(MessageText(dialog));
      registered_while_shown = classes_.Exists(kControlClass);
      return IDOK;
    });
    app_.RunStartRequest(run);
    EXPECT_EQ(1, ok.answered());
  }
  EXPECT_TRUE(registered_while_shown);
  ASSERT_EQ(1u, messages_.size());
  EXPECT_EQ(control + "\n\nRegistered Successfully !", messages_[0]);

  corvane::AppSettings().after_register = 1;
  const auto start = std::chrono::steady_clock::now();
  app_.RunStartRequest(run);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(2900));
  ASSERT_NE(nullptr, TimedMessageWindow());
  EXPECT_TRUE(IsWindowVisible(TimedMessageWindow()->GetSafeHwnd()));
  EXPECT_EQ(control + "\n\nRegistered Successfully !",
            MessageText(TimedMessageWindow()->GetSafeHwnd()));
  DestroyTimedMessage();
}

}  // namespace
