// The command-line front-end as its own process on the emulated USB box:
// the whole program's USB start-up, then a frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_fixture.h"
#include "usb_rig.h"

namespace rovanel::support::usb {
namespace {

// Runs the command (its environment is this process's: the testbed's
// folder and the preload); returns its standard output, its errors in `err`.
std::string RunProgram(const std::string& command, std::string& err, int& rc) {
  const std::string errFile = ::testing::TempDir() + "rovanel-cli-usb.err";
  FILE* p = ::popen((command + " 2>" + errFile).c_str(), "r");
  std::string out;
  char buf[4096];
  for (std::size_t n; p != nullptr && (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
    out.append(buf, n);
  rc = p == nullptr ? -1 : ::pclose(p);
  std::ifstream in(errFile);
  std::stringstream text;
  text << in.rdbuf();
  err = text.str();
  return out;
}

TEST(CliOverUsb, StartsOnTheBoxAndReadsAFrame) {
  SKIP_WITHOUT_USB_EMULATION();
  UsbRig rig;
  std::string err;
  int rc = 0;
  const std::string out =
      RunProgram(std::string(ROVANEL_BIN_DIR) +
                     "/rovanel-cli --box usb --lang 2 click:acquisition dump:RawBuf",
                 err, rc);
  ASSERT_EQ(rc, 0) << err;
  EXPECT_EQ(err.find("status:"), std::string::npos) << err;  // nothing said: the box answered
  // What the simulated box shows first.
  SimRig sim;
  device::UsbLink link(sim.box, sim.clock);
  device::Board board(link);
  ASSERT_EQ(board.Connect(), device::FT_OK);
  std::vector<std::uint16_t> frame(kFrameBlockSize);
  ASSERT_EQ(board.ReadFrame(frame), device::FT_OK);
  std::string want;
  for (int i = 0; i < kPixels; ++i) want += std::to_string(frame[i]) + "\n";
  EXPECT_EQ(out, want);
  // Identified, told its integration time, asked for the frame, closed.
  const std::vector<std::uint8_t> wire = rig.chip.Received();
  ASSERT_GE(wire.size(), 3u);
  EXPECT_EQ(std::vector<std::uint8_t>(wire.begin(), wire.begin() + 3),
            (std::vector<std::uint8_t>{0xF0, 0x00, 0x0F}));
  EXPECT_EQ(rig.Register(5), 0);
  EXPECT_EQ(rig.bed.Releases(rig.chip), rig.bed.Claims(rig.chip));
}

}  // namespace
}  // namespace rovanel::support::usb
