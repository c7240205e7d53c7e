// What the window says when the box cannot be used: what happened and what
// to do, in the window's language, with the driver's code last; box:id
// fails with the same line.
#include <gtest/gtest.h>

#include <sstream>

#include "app/main_window.h"
#include "app/script/action_runner.h"
#include "support/recording_port.h"
#include "support/scripted_driver.h"

namespace rovanel::app {
namespace {

// A USB device this user may not open (no udev rule).
struct DeniedDriver : support::ScriptedDriver {
  using ScriptedDriver::ScriptedDriver;
  bool OpenDenied() const override { return true; }
};

TEST(BoxStatus, SaysWhatHappenedWhatToDoAndTheCodeLast) {
  enum class Fault { Silent, Absent, Denied };
  const struct {
    Fault fault;
    const char* english;  // with {rule} for the shipped rule's path
  } rows[] = {
      {Fault::Silent,
       "The device found does not answer as the box, so nothing more is sent to it: check that it "
       "is the box, plug it in again and acquire (status -150)."},
      {Fault::Absent,
       "No box found: plug the box in (the next acquisition uses it), or start the program with "
       "--box sim for the simulated box (status 2)."},
      {Fault::Denied,
       "The box is plugged in but you may not open it: install the udev rule (README, “A real "
       "box”): sudo cp {rule} /etc/udev/rules.d/ && sudo udevadm control --reload && sudo "
       "udevadm trigger, then plug it in again (status 3)."},
  };
  const char* codeWord[] = {"code", "status", "Status"};  // fr, en, de
  for (const auto& row : rows) {
    for (int language = 1; language <= 3; ++language) {
      device::ManualClock clock;
      DeniedDriver denied(&clock);
      support::ScriptedDriver plain(&clock);  // opens, then never answers
      support::ScriptedDriver& driver = row.fault == Fault::Denied ? denied : plain;
      if (row.fault == Fault::Absent) driver.Fail("FT_Open", device::FT_DEVICE_NOT_FOUND);
      if (row.fault == Fault::Denied) driver.Fail("FT_Open", device::FT_DEVICE_NOT_OPENED);
      Box box(driver, clock, BoxKind::Usb);
      support::RecordingPort port;
      TFp fp(box, port);
      fp.SetForcedLanguage(language);
      fp.FormCreate();
      fp.FormShow();
      ASSERT_EQ(port.status.size(), 1u) << row.english;
      const std::string said = port.status[0];
      const std::string code = said.substr(said.rfind('('));
      EXPECT_EQ(code.substr(0, code.find(' ')), std::string("(") + codeWord[language - 1]) << said;
      EXPECT_EQ(said.find("ID_"), std::string::npos) << said;
      if (language == 2) {
        std::string expected = row.english;
        if (const auto at = expected.find("{rule}"); at != std::string::npos)
          expected.replace(at, 6, fp.ShippedFolder() + kBoxRuleFile);
        EXPECT_EQ(said, expected);
      }
      std::ostringstream out, err;
      script::ActionRunner runner(fp, out, err);
      EXPECT_FALSE(runner.Run("box:id"));
      EXPECT_EQ(err.str(), "rovanel: " + said + "\n");
    }
  }
}

TEST(BoxStatus, WithNoBoxChosenSaysHowToChooseOne) {
  device::ManualClock clock;
  BoxOptions options;
  options.kind = BoxKind::None;
  Box box(options, clock);
  support::RecordingPort port;
  TFp fp(box, port);
  fp.SetForcedLanguage(2);
  fp.FormCreate();
  fp.FormShow();
  const std::string chosen =
      "No box chosen (--box none): to measure, start the program with --box usb, or --box sim for "
      "the simulated box (status 2).";
  ASSERT_FALSE(port.status.empty());
  EXPECT_EQ(port.status.front(), chosen);
  fp.Click("acquisition");
  EXPECT_EQ(port.status.back(), chosen);
  fp.FormClose();
}

}  // namespace
}  // namespace rovanel::app
