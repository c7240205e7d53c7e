#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "device/clock.h"
#include "device/port.h"
#include "device/sim/optical_bench.h"
#include "device/sim/sim_port_box.h"

namespace rovanel::device {
namespace {

// Registers in memory; a scripted error fails the next operations.
class RegisterPort final : public TSmallPort {
 public:
  std::uint8_t regs[3] = {};
  std::int32_t openError = 0;
  std::int32_t opError = 0;
  int opens = 0, closes = 0;

 protected:
  std::int32_t DoOpen() override {
    ++opens;
    return openError;
  }
  void DoClose() override { ++closes; }
  std::int32_t DoRead(std::uint16_t a, std::uint8_t& v) override {
    if (opError != 0) return opError;
    if (a < ParaBase || a > ParaBase + 2) return kPortBadAddress;
    v = regs[a - ParaBase];
    return 0;
  }
  std::int32_t DoWrite(std::uint16_t a, std::uint8_t v) override {
    if (opError != 0) return opError;
    if (a < ParaBase || a > ParaBase + 2) return kPortBadAddress;
    regs[a - ParaBase] = v;
    return 0;
  }
};

TEST(SmallPort, StatusTopBitAndThreeControlBitsAreInvertedOnTheWire) {
  RegisterPort p;
  ASSERT_TRUE(p.Open());
  struct Row {
    std::uint8_t reg, status;
  };
  for (const Row& r : {Row{0x00, 0x80}, Row{0x80, 0x00}, Row{0x7F, 0xFF}, Row{0xF8, 0x78}}) {
    p.regs[1] = r.reg;
    EXPECT_EQ(p.ParaReadStatus(), r.status) << int(r.reg);
  }
  struct Ctl {
    std::uint8_t wire, reg;
  };
  // 0xCC is what the start of printing writes.
  for (const Ctl& c : {Ctl{0x00, 0x0B}, Ctl{0xCC, 0xC7}, Ctl{0x0B, 0x00}, Ctl{0xFF, 0xF4}}) {
    p.ParaWriteControl(c.wire);
    EXPECT_EQ(p.regs[2], c.reg) << int(c.wire);
  }
  p.ParaWriteData(0xF7);
  EXPECT_EQ(p.regs[0], 0xF7);  // data: no inversion
  EXPECT_EQ(p.ReadPort(888), 0xF7);
  EXPECT_EQ(p.regs[1], 0xF8);  // status untouched by the writes
}

TEST(SmallPort, LastOkAndLastErrorFollowEachOperation) {
  RegisterPort p;
  EXPECT_FALSE(p.Opened());
  EXPECT_FALSE(p.LastOk());
  EXPECT_EQ(p.LastError(), 0);

  // Closed: nothing reaches the backend.
  p.regs[1] = 0x55;
  EXPECT_EQ(p.ReadPort(889), 0);
  EXPECT_EQ(p.LastError(), kPortNotOpen);
  p.WritePort(888, 9);
  EXPECT_EQ(p.regs[0], 0);
  EXPECT_FALSE(p.LastOk());

  p.SetOpened(true);
  ASSERT_TRUE(p.Opened());
  EXPECT_EQ(p.LastError(), 0);  // cleared by the open
  EXPECT_EQ(p.ReadPort(1000), 0);
  EXPECT_FALSE(p.LastOk());
  EXPECT_EQ(p.LastError(), kPortBadAddress);
  EXPECT_EQ(p.ReadPort(889), 0x55);
  EXPECT_TRUE(p.LastOk());
  EXPECT_EQ(p.LastError(), kPortBadAddress);  // kept from the last failure

  p.opError = EIO;
  EXPECT_EQ(p.ParaReadStatus(), 0x80);  // a failed read gives 0
  EXPECT_EQ(p.LastError(), EIO);
  p.ParaWriteData(1);
  EXPECT_EQ(p.regs[0], 0);

  // Opening an open port closes it first.
  p.SetOpened(true);
  EXPECT_EQ(p.opens, 2);
  EXPECT_EQ(p.closes, 1);
  EXPECT_EQ(p.LastError(), 0);
  p.SetOpened(false);
  EXPECT_FALSE(p.Opened());
  EXPECT_EQ(p.closes, 2);
  p.SetOpened(false);
  EXPECT_EQ(p.closes, 2);

  p.openError = 5;
  EXPECT_FALSE(p.Open());
  EXPECT_FALSE(p.Opened());
  EXPECT_EQ(p.LastError(), 5);
}

TEST(NoPort, NeverOpensReadsZeroAndStatus0x80) {
  NoPort p;
  EXPECT_FALSE(p.Open());
  EXPECT_EQ(p.LastError(), kPortNoDriver);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p.ParaReadStatus(), 0x80);
    EXPECT_EQ(p.ReadPort(888 + i), 0);
    EXPECT_FALSE(p.LastOk());
    EXPECT_EQ(p.LastError(), kPortNotOpen);
  }
  p.ParaWriteControl(0xCC);
  EXPECT_FALSE(p.LastOk());
}

TEST(PpdevPort, AMissingOrWrongDeviceLeavesThePortClosed) {
  struct Row {
    const char* path;
    std::int32_t error;
  };
  // /dev/null opens but is no parallel port: the claim fails.
  for (const Row& r : {Row{"/nonexistent/parport0", ENOENT}, Row{"/dev/null", ENOTTY}}) {
    PpdevPort p(r.path);
    EXPECT_FALSE(p.Open()) << r.path;
    EXPECT_FALSE(p.Opened());
    EXPECT_EQ(p.LastError(), r.error) << r.path;
    EXPECT_EQ(p.ParaReadStatus(), 0x80);
    EXPECT_EQ(p.ReadPort(888), 0);
    EXPECT_EQ(p.LastError(), kPortNotOpen);
  }
  EXPECT_EQ(PpdevPort().Path(), "/dev/parport0");
  // The kernel hands over register bytes: no inversion of its own.
  EXPECT_EQ(kPpdevStatusToRegister, 0);
  EXPECT_EQ(kPpdevControlToRegister, 0);
}

TEST(PortKind, NamesBothWays) {
  struct Row {
    const char* name;
    PortKind kind;
  };
  for (const Row& r :
       {Row{"ppdev", PortKind::kPpdev}, Row{"sim", PortKind::kSim}, Row{"none", PortKind::kNone}}) {
    EXPECT_EQ(PortKindFromName(r.name), r.kind);
    EXPECT_EQ(PortKindName(r.kind), r.name);
  }
  EXPECT_FALSE(PortKindFromName("lpt1"));
  EXPECT_FALSE(PortKindFromName(""));
}

}  // namespace

namespace sim {
namespace {

constexpr int kBitRev4[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

struct BoxRig {
  ManualClock clock{1000};
  OpticalBench bench{Scene::Michelson, 7};
  SimPortBox box{clock, bench};
  BoxRig() { box.Open(); }
  void Param(std::uint8_t b) {
    box.ParaWriteData(0x10);
    box.ParaWriteData(b);
  }
};

TEST(SimPortBox, RegistersCarryTheWireInversions) {
  BoxRig r;
  r.box.ParaWriteControl(0xCC);
  EXPECT_EQ(r.box.ControlLines(), 0xCC);
  EXPECT_EQ(r.box.ReadPort(890), 0xC7);
  r.box.ParaWriteData(0x5A);
  EXPECT_EQ(r.box.DataLines(), 0x5A);
  EXPECT_EQ(r.box.ReadPort(888), 0x5A);
  // Power-up memory 0xFF: the high nibble 0xF on lines 7..4, 3..0 float high.
  EXPECT_EQ(r.box.StatusLines(), 0xFF);
  EXPECT_EQ(r.box.ReadPort(889), 0x7F);
  EXPECT_EQ(r.box.ParaReadStatus(), 0xFF);
  r.box.WritePort(889, 0);
  EXPECT_EQ(r.box.LastError(), kPortBadAddress);
  EXPECT_EQ(r.box.ReadPort(891), 0);
  EXPECT_FALSE(r.box.LastOk());
}

TEST(SimPortBox, SensitivityCommandTakesTheReversedCode) {
  BoxRig r;
  for (int s = 15; s >= 0; --s) {
    r.box.ParaWriteData(static_cast<std::uint8_t>(192 + kBitRev4[s]));
    EXPECT_EQ(r.box.Level(), s);
    EXPECT_DOUBLE_EQ(r.box.IntegrationMs(), 10.0 + 2.5 * s);
    r.box.ParaWriteData(0);
  }
  EXPECT_EQ(r.box.ParameterBytes(), 0);
}

TEST(SimPortBox, ParameterByteAfterTheStrobeSetsRateAndPoints) {
  struct Row {
    std::uint8_t byte;
    int rate, points;
  };
  const Row rows[] = {{0x00, 0, 4096},  {0x08, 1, 4096},  {0x04, 2, 4096},
                      {0x80, 16, 4096}, {0x40, 32, 4096}, {0x20, 0, 8192},
                      {0xEF, 63, 8192}, {0xCF, 63, 4096},  // not a sensitivity command here
                      {0xA6, 22, 8192}};
  BoxRig r;
  r.box.ParaWriteData(192 + 8);  // level 1
  int n = 0;
  for (const Row& row : rows) {
    r.Param(row.byte);
    EXPECT_EQ(r.box.RateCode(), row.rate) << int(row.byte);
    EXPECT_EQ(r.box.Points(), row.points) << int(row.byte);
    EXPECT_EQ(r.box.ParameterBytes(), ++n);
    EXPECT_EQ(r.box.Level(), 1);
  }
}

TEST(SimPortBox, StoresOneSamplePerRatePeriodFromTheBench) {
  BoxRig r;
  OpticalBench twin{Scene::Michelson, 7};
  r.box.ParaWriteData(192 + 4);  // level 2: 15 ms
  r.Param(0x08);                 // r = 1: a sample every 30 ms
  EXPECT_EQ(r.box.SamplePeriodUs(), 30000);
  EXPECT_EQ(r.box.Stored(), 0);
  r.clock.AdvanceUs(29999);
  EXPECT_EQ(r.box.Stored(), 0);
  r.clock.AdvanceUs(1);
  EXPECT_EQ(r.box.Stored(), 1);
  r.clock.AdvanceUs(30000 * 5000);
  EXPECT_EQ(r.box.Stored(), 4096);  // the series ends at its point count
  std::uint8_t two[2];
  for (int k = 0; k < 4096; ++k) {
    twin.Series(15.0, 2, two);
    ASSERT_EQ(r.box.Memory(k), 255 - two[1]) << k;
  }
  for (int k = 4096; k < 8192; ++k) ASSERT_EQ(r.box.Memory(k), 0xFF) << k;
}

TEST(SimPortBox, HandshakeWalksTheNibblesOnEdgesOfBit4) {
  BoxRig r;
  r.bench.NoiseSigma = 0;
  r.Param(0x00);
  r.clock.AdvanceUs(10000 * 4096);
  ASSERT_EQ(r.box.Stored(), 4096);
  auto nib = [&](int k, bool low) {
    const std::uint8_t b = r.box.Memory(k);
    return static_cast<std::uint8_t>((low ? b & 15 : b >> 4) << 4 | 0x0F);
  };
  EXPECT_EQ(r.box.StatusLines(), nib(0, false));  // shown before any handshake
  r.box.ParaWriteData(0x30);
  EXPECT_EQ(r.box.StatusLines(), nib(0, true));
  r.box.ParaWriteData(0x30);  // the same level again: no edge
  EXPECT_EQ(r.box.Address(), 0);
  r.box.ParaWriteData(0x35);  // other lines move, bit 4 stays up
  EXPECT_EQ(r.box.StatusLines(), nib(0, true));
  r.box.ParaWriteData(0x25);
  EXPECT_EQ(r.box.Address(), 1);
  EXPECT_EQ(r.box.StatusLines(), nib(1, false));
  r.box.ParaWriteData(0x10);  // bit 5 down: a strobe, not a handshake
  EXPECT_EQ(r.box.Address(), 1);
  r.box.ParaWriteData(0x20);  // so this is a parameter: a new series
  EXPECT_EQ(r.box.Address(), 0);
  EXPECT_EQ(r.box.Points(), 8192);
  EXPECT_EQ(r.box.Stored(), 0);
}

}  // namespace
}  // namespace sim
}  // namespace rovanel::device
