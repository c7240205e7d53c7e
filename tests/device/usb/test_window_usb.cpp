// The window model on the real USB path: libftdi1 and libusb against the
// emulated FT232R carrying the simulated box.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "support/recording_port.h"
#include "support/sim_fixture.h"
#include "usb_rig.h"

namespace rovanel::support::usb {
namespace {

using app::BoxKind;

// A window on a box, started in English.
struct Window {
  Window(device::FtDriver& driver, device::Clock& clock, BoxKind kind)
      : box(driver, clock, kind), fp(box, port) {
    fp.SetForcedLanguage(2);
  }
  void Start() {
    fp.FormCreate();
    fp.FormShow();
  }
  app::Box box;
  RecordingPort port;
  app::TFp fp;
};

// The window over the emulated USB box.
struct UsbWindow {
  explicit UsbWindow(double timeScale = 1.0) : rig(timeScale) { w.Start(); }
  int Brightest() const {
    const auto& c = w.fp.Curves().Raw(1);
    return *std::max_element(c.begin(), c.end());
  }
  UsbRig rig;
  Window w{*rig.driver, device::RealClock(), BoxKind::Usb};
};

TEST(WindowOverUsb, SingleAndAveragedFramesEqualTheSimulatedBoxs) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbWindow usb;
  SimRig sim;
  Window ref(sim.box, sim.clock, BoxKind::Sim);
  ref.Start();
  EXPECT_TRUE(usb.w.port.status.empty()) << usb.w.port.status.front();
  for (bool averaged : {false, true}) {
    if (averaged) {
      usb.w.fp.Click("moyenne");
      ref.fp.Click("moyenne");
    }
    usb.w.fp.Click("acquisition");
    ref.fp.Click("acquisition");
    EXPECT_EQ(usb.w.fp.LastAcquisition(), 0) << averaged;
    EXPECT_EQ(usb.w.fp.Curves().Raw(1), ref.fp.Curves().Raw(1)) << averaged;
    EXPECT_GT(usb.Brightest(), 150) << averaged;
  }
  usb.w.fp.FormClose();
  EXPECT_EQ(usb.rig.Register(5), 0);
}

TEST(WindowOverUsb, AfterAReplugTheFirstAcquisitionSeriesAndLiveViewWork) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbWindow usb(0.01);
  app::TFp& fp = usb.w.fp;
  UsbRig& rig = usb.rig;
  auto replug = [&] {
    rig.bed.Unplug(rig.chip);
    rig.bed.Replug(rig.chip);
  };

  replug();
  fp.Click("acquisition");
  EXPECT_EQ(fp.LastAcquisition(), 0);
  EXPECT_GT(usb.Brightest(), 150);

  replug();
  fp.Click("mi");
  fp.Click("startmi");
  EXPECT_EQ(fp.LastSeries(), 0);
  EXPECT_GT(fp.Mi().NbPoints, 0);
  EXPECT_GT(fp.Stores().MiSerieRaw.GetValue(100), 0);

  replug();
  fp.Click("spectro");
  int live = -1;
  usb.w.port.onPump = [&](int) {
    if (live >= 0) return;
    const auto& c = fp.Curves().Shown(fp.Curves().Count());
    live = *std::max_element(c.begin(), c.begin() + 512);
    fp.Click("rt");
  };
  fp.Click("rt");
  EXPECT_GT(live, 100);
  EXPECT_EQ(usb.w.box.GetBoard().Reconnects(), 3);
  fp.FormClose();
}

TEST(WindowOverUsb, ABoxThatMayNotBeOpenedIsSaidSoWithTheUdevRule) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbRig rig;
  rig.bed.RefuseOpen(rig.chip, true);
  Window w(*rig.driver, device::RealClock(), BoxKind::Usb);
  const std::string said =
      "The box is plugged in but you may not open it: install the udev rule (README, “A real "
      "box”): sudo cp " +
      w.fp.ShippedFolder() + app::kBoxRuleFile + " /etc/udev/rules.d/";
  const bool refused = WithoutFileAccessRights([&] {
    w.Start();
    w.fp.Click("acquisition");
  });
  if (!refused) GTEST_SKIP() << "this thread cannot lower its file access rights";
  EXPECT_TRUE(rig.driver->OpenDenied());
  ASSERT_EQ(w.port.status.size(), 2u);
  for (const std::string& text : w.port.status) EXPECT_EQ(text.rfind(said, 0), 0u) << text;

  // With the rule installed, the next acquisition opens the box.
  rig.bed.RefuseOpen(rig.chip, false);
  w.fp.Click("acquisition");
  EXPECT_FALSE(rig.driver->OpenDenied());
  EXPECT_EQ(w.port.status.back(), "Box reconnected.");
  EXPECT_EQ(w.fp.LastAcquisition(), 0);
  w.fp.FormClose();
}

}  // namespace
}  // namespace rovanel::support::usb
