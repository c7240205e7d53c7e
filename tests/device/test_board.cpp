#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "device/board.h"
#include "support/fault_driver.h"
#include "support/scripted_driver.h"

namespace rovanel::device {
namespace {

using support::FaultDriver;
using support::ScriptedDriver;
using Bytes = std::vector<std::uint8_t>;

// Script of a well-behaved box for one command: sync pair and echo.
void Command(ScriptedDriver& drv, std::uint8_t c, Bytes extra = {}) {
  drv.Then(0xF0, {0xF0});
  Bytes reply{c};
  reply.insert(reply.end(), extra.begin(), extra.end());
  drv.Then(c, reply);
}
void Register(ScriptedDriver& drv, std::uint8_t reg, std::uint8_t value) {
  Command(drv, 4);
  drv.Then(reg).Then(value).Then(0x0F, {0x0F});
}
Bytes RegisterBytes(std::uint8_t reg, std::uint8_t value) {
  return {0xF0, 0x04, reg, value, 0x0F};
}
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
// Counts of the FT_Read calls, in order.
std::vector<std::uint64_t> ReadSizes(const ScriptedDriver& drv) {
  std::vector<std::uint64_t> out;
  for (const auto& c : drv.calls)
    if (c.fn == "FT_Read") out.push_back(c.args[0]);
  return out;
}

// The identification exchange of a box that answers it.
void IdentifyScript(ScriptedDriver& drv) {
  Command(drv, 0, {0x48, 0x20});
  drv.Then(0x0F, {0x0F});
  Register(drv, 5, 255);
}

// Start-up of a scripted box: opened, identified and told the integration
// time; then those calls are forgotten.
void OpenAndIdentify(ScriptedDriver& drv, Board& board) {
  EXPECT_EQ(board.BoardOpen(), FT_OK);
  IdentifyScript(drv);
  Register(drv, 1, 0xFE);
  Register(drv, 0, 0x78);
  std::int32_t id = 0;
  EXPECT_EQ(board.GetBoardId(id), FT_OK);
  EXPECT_EQ(board.SetIntegrationTime(10.0), FT_OK);
  EXPECT_TRUE(board.Identified());
  EXPECT_TRUE(drv.ScriptDone());
  drv.calls.clear();
}

// A scripted, identified box behind an open link, on virtual time.
struct OpenBoard {
  explicit OpenBoard(std::int64_t spinQuantumUs = 1) : clock(spinQuantumUs) {
    OpenAndIdentify(drv, board);
  }
  ManualClock clock;
  ScriptedDriver drv{&clock};
  UsbLink link{drv, clock};
  Board board{link};
};

struct BoardFixture : ::testing::Test, OpenBoard {
  void SetUp() override { drv.calls.clear(); }
  void ExpectScriptFollowed() {
    EXPECT_TRUE(drv.ScriptDone());
    EXPECT_TRUE(drv.Mismatches.empty()) << drv.Mismatches.front();
    EXPECT_EQ(drv.QueueSize(), 0u);
  }
};

TEST_F(BoardFixture, SendCommandIsSyncPairThenEcho) {
  Command(drv, 6);
  EXPECT_EQ(board.SendCommand(6), FT_OK);
  EXPECT_EQ(drv.Written(), (Bytes{0xF0, 0x06}));
  EXPECT_EQ(ReadSizes(drv), (std::vector<std::uint64_t>{1, 1}));
  ExpectScriptFollowed();
}

TEST_F(BoardFixture, SendAndCheckComparesTheAnswer) {
  drv.Then(0x0F, {0x0F}).Then(0x0F, {0x0E});
  EXPECT_EQ(board.SendAndCheck(0x0F, 0x0F), FT_OK);
  EXPECT_EQ(board.SendAndCheck(0x0F, 0x0F), kWrongEcho);
  drv.ShortWrite(0, drv.Writes() + 1);
  EXPECT_EQ(board.SendAndCheck(0x0F, 0x0F), kShortWrite);
  EXPECT_EQ(drv.Count("FT_Read"), 2);  // nothing read after the failed write
}

TEST_F(BoardFixture, WriteRegisterReadsNothingBetweenRegisterAndValue) {
  Register(drv, 2, 0x55);
  EXPECT_EQ(board.WriteRegister(2, 0x55), FT_OK);
  EXPECT_EQ(drv.Written(), RegisterBytes(2, 0x55));
  const auto names = drv.CallNames(false);
  EXPECT_EQ(names, (std::vector<std::string>{"FT_Write", "FT_Read", "FT_Write", "FT_Read",
                                             "FT_Write", "FT_Write", "FT_Write", "FT_Read"}));
  ExpectScriptFollowed();
}

TEST_F(BoardFixture, GetBoardIdLowByteFirstThenRegister5) {
  Command(drv, 0, {0x34, 0x12});
  drv.Then(0x0F, {0x0F});
  Register(drv, 5, 255);
  std::int32_t id = -1;
  EXPECT_EQ(board.GetBoardId(id), FT_OK);
  EXPECT_EQ(id, 0x1234);
  EXPECT_EQ(drv.Written(), Cat({{0xF0, 0x00, 0x0F}, RegisterBytes(5, 0xFF)}));
  ExpectScriptFollowed();
}

TEST(BoardIntegration, CountIsNearestQuotientHalvesToEven) {
  EXPECT_EQ(Board::IntegrationCount(10.0), 65144);  // 390.625 -> 391
  EXPECT_EQ(Board::IntegrationCount(20.0), 64754);  // 781.25 -> 781
  EXPECT_EQ(Board::IntegrationCount(40.0), 63973);  // 1562.5 -> 1562
  EXPECT_EQ(Board::IntegrationCount(47.5), 63680);  // 1855.46875 -> 1855
  EXPECT_EQ(Board::IntegrationCount(0.0), 65535);
}

TEST(BoardIntegration, RegisterValuesOnTheWire) {
  const struct {
    double ms;
    std::uint8_t hi, lo;
  } rows[] = {{10.0, 0xFE, 0x78}, {20.0, 0xFC, 0xF2}, {40.0, 0xF9, 0xE5}, {47.5, 0xF8, 0xC0}};
  for (const auto& row : rows) {
    OpenBoard open;
    auto& [clock, drv, link, board] = open;
    Register(drv, 1, row.hi);
    Register(drv, 0, row.lo);
    EXPECT_EQ(board.SetIntegrationTime(row.ms), FT_OK) << row.ms;
    EXPECT_EQ(drv.Written(), Cat({RegisterBytes(1, row.hi), RegisterBytes(0, row.lo)})) << row.ms;
    EXPECT_TRUE(drv.Mismatches.empty());
    EXPECT_EQ(board.IntegrationMs(), row.ms);
  }
}

TEST_F(BoardFixture, SetIntegrationTimeStopsAtTheFirstFailure) {
  drv.Then(0xF0, {0xF0}).Then(0x04, {0x05});
  EXPECT_EQ(board.SetIntegrationTime(20.0), kWrongEcho);
  EXPECT_EQ(drv.Written(), (Bytes{0xF0, 0x04}));
  EXPECT_EQ(board.IntegrationMs(), kDefaultIntegrationMs);
}

TEST_F(BoardFixture, IntegrationTimesOutsideTheRegisterAreRefused) {
  // 65535 counts is 1677.696 ms; negative times would need counts above it.
  EXPECT_EQ(board.SetIntegrationTime(1678.0), FT_INVALID_PARAMETER);
  EXPECT_EQ(board.SetIntegrationTime(-1.0), FT_INVALID_PARAMETER);
  EXPECT_EQ(board.SetIntegrationTime(NAN), FT_INVALID_PARAMETER);
  EXPECT_EQ(board.SetIntegrationTime(INFINITY), FT_INVALID_PARAMETER);
  EXPECT_TRUE(drv.calls.empty());
  EXPECT_EQ(Board::IntegrationCount(1e30), std::numeric_limits<std::int32_t>::min());
}

TEST_F(BoardFixture, SetNbSamplesWritesCountPlusOneLowByteFirst) {
  Register(drv, 2, 0x00);
  Register(drv, 3, 0x20);
  Register(drv, 4, 0x00);
  EXPECT_EQ(board.SetNbSamples(8191), FT_OK);
  EXPECT_EQ(drv.Written(),
            Cat({RegisterBytes(2, 0x00), RegisterBytes(3, 0x20), RegisterBytes(4, 0x00)}));
  ExpectScriptFollowed();
  EXPECT_EQ(board.SampleCount(), 8191);

  drv.calls.clear();
  Register(drv, 2, 0xFF);
  Register(drv, 3, 0xFF);
  Register(drv, 4, 0xFF);
  EXPECT_EQ(board.SetNbSamples(0xFFFFFE), FT_OK);
  EXPECT_EQ(drv.Written(),
            Cat({RegisterBytes(2, 0xFF), RegisterBytes(3, 0xFF), RegisterBytes(4, 0xFF)}));
}

TEST_F(BoardFixture, SetNbSamplesStopsAtFailureAndRefusesUnsendableCounts) {
  Register(drv, 2, 0x65);
  drv.Then(0xF0, {0xF0}).Then(0x04, {0x04}).Then(0x03).Then(0x00).Then(0x0F, {0x00});
  EXPECT_EQ(board.SetNbSamples(100), kWrongEcho);
  EXPECT_EQ(drv.Written(), Cat({RegisterBytes(2, 0x65), RegisterBytes(3, 0x00)}));
  EXPECT_EQ(board.SampleCount(), 0);
  drv.calls.clear();
  EXPECT_EQ(board.SetNbSamples(-1), FT_INVALID_PARAMETER);
  EXPECT_EQ(board.SetNbSamples(0xFFFFFF), FT_INVALID_PARAMETER);
  EXPECT_EQ(board.SetNbSamples(std::numeric_limits<std::int32_t>::max()), FT_INVALID_PARAMETER);
  EXPECT_TRUE(drv.calls.empty());
}

Bytes FrameBlock() {
  Bytes block(kFrameBlockSize);
  for (int i = 0; i < kFrameBlockSize; ++i) block[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return block;
}

TEST_F(BoardFixture, ReadFrameInvertsPixels39To2086) {
  const Bytes block = FrameBlock();
  Command(drv, 6, block);
  drv.Then(0x0F, {0x0F});
  std::vector<std::uint16_t> dest(2100, 0xBEEF);
  EXPECT_EQ(board.ReadFrame(dest), FT_OK);
  for (int i = 0; i < 2048; ++i) ASSERT_EQ(dest[i], 255 - ((39 + i) * 7 + 3) % 256) << i;
  for (int i = 2048; i < 2100; ++i) EXPECT_EQ(dest[i], 0xBEEF);
  EXPECT_EQ(drv.Written(), (Bytes{0xF0, 0x06, 0x0F}));
  EXPECT_EQ(ReadSizes(drv), (std::vector<std::uint64_t>{1, 1, 2100, 1}));
  ExpectScriptFollowed();
}

TEST_F(BoardFixture, ReadFrameAckStatusIsTheResult) {
  Command(drv, 6, FrameBlock());
  drv.Then(0x0F, {0xF0});
  std::vector<std::uint16_t> dest(2100, 0);
  EXPECT_EQ(board.ReadFrame(dest), kWrongEcho);
  EXPECT_EQ(dest[0], 255 - (39 * 7 + 3) % 256);  // the pixels were stored all the same
}

TEST_F(BoardFixture, FailedExchangeIsPurgedAndDrainedBeforeTheNextCommand) {
  // The frame comes only after the host stopped waiting for it.
  drv.Then(0xF0, {0xF0}).Then(0x06, {0x06});
  std::vector<std::uint16_t> dest(2100, 0);
  EXPECT_EQ(board.ReadFrame(dest), kNoByte);
  EXPECT_TRUE(board.ResyncPending());
  drv.ArriveAt(clock.NowUs() + 200'000, FrameBlock());
  drv.calls.clear();
  Command(drv, 6, FrameBlock());
  drv.Then(0x0F, {0x0F});
  EXPECT_EQ(board.ReadFrame(dest), FT_OK);
  ExpectScriptFollowed();
  EXPECT_EQ(board.DroppedBytes(), 2100u);
  // Both queues purged, then the late block read and dropped, then the command.
  const auto names = drv.CallNames(false);
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], "FT_Purge");
  EXPECT_EQ(drv.calls[0].args[0], FT_PURGE_RX);
  EXPECT_EQ(names[1], "FT_Purge");
  EXPECT_EQ(names[2], "FT_Read");
  EXPECT_EQ(names[3], "FT_Write");
  EXPECT_EQ(drv.Written(), (Bytes{0xF0, 0x06, 0x0F}));
}

TEST_F(BoardFixture, LostDeviceIsClosedAndOnlyIdentifiedAgainBeforeAnythingIsSent) {
  drv.Then(0xF0, {0xF0});
  drv.Fail("FT_GetStatus", FT_IO_ERROR);
  std::vector<std::uint16_t> dest(2100, 0);
  // The byte wait reports its failed poll as -150; the link still knows why.
  EXPECT_EQ(board.ReadFrame(dest), kNoByte);
  EXPECT_FALSE(link.UsbOpened);
  EXPECT_FALSE(board.Identified());
  drv.ClearFailures();
  drv.calls.clear();
  // The next command tries once to open and identify what is there; the
  // device opened does not answer: it hears the synchronisation byte alone,
  // is closed again, and the command is not sent.
  EXPECT_EQ(board.ReadFrame(dest), FT_DEVICE_NOT_OPENED);
  EXPECT_EQ(drv.Written(), Bytes{0xF0});
  EXPECT_FALSE(link.UsbOpened);
  EXPECT_EQ(board.Reconnects(), 0);
  // Not lost this time, only silent: nothing is tried until Connect.
  drv.calls.clear();
  EXPECT_EQ(board.SetIntegrationTime(20.0), FT_DEVICE_NOT_OPENED);
  EXPECT_TRUE(drv.calls.empty());
  // Connect opens, identifies, and the next frame first restores 20 ms.
  IdentifyScript(drv);
  EXPECT_EQ(board.Connect(0), FT_OK);
  Register(drv, 1, 0xFC);
  Register(drv, 0, 0xF2);
  Command(drv, 6, FrameBlock());
  drv.Then(0x0F, {0x0F});
  EXPECT_EQ(board.ReadFrame(dest), FT_OK);
  ExpectScriptFollowed();
}

Bytes Series(std::size_t n) {
  Bytes s(n);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<std::uint8_t>(i * 13 + i / 256);
  return s;
}

struct SeriesCase {
  std::int32_t n;
  std::vector<std::uint64_t> reads;
};

TEST(BoardSeries, ChunksOf32768ThenRemainderThenAck) {
  const SeriesCase cases[] = {
      {5, {1, 1, 1, 5, 1}},
      {0, {1, 1, 1, 1}},  // leading byte, empty block (no read), acknowledgement
      {32768, {1, 1, 1, 32768, 1}},
      {32769, {1, 1, 1, 32768, 1, 1}},
      {65537, {1, 1, 1, 32768, 32768, 1, 1}},
  };
  for (const auto& c : cases) {
    OpenBoard open;
    auto& [clock, drv, link, board] = open;
    drv.calls.clear();
    const Bytes series = Series(c.n);
    Bytes reply{0xA7};  // leading byte, ignored
    reply.insert(reply.end(), series.begin(), series.end());
    Command(drv, 8, reply);
    drv.Then(0x0F, {0x0F});
    std::vector<std::uint16_t> dest(c.n + 3, 0xBEEF);
    EXPECT_EQ(board.ReadSamples(dest, c.n), FT_OK) << c.n;
    EXPECT_EQ(drv.Written(), (Bytes{0xF0, 0x08, 0x0F})) << c.n;
    EXPECT_EQ(ReadSizes(drv), c.reads) << c.n;
    for (std::int32_t k = 0; k < c.n; ++k) ASSERT_EQ(dest[k], 255 - series[k]) << c.n << " " << k;
    EXPECT_EQ(dest[c.n], 0xBEEF);
    EXPECT_TRUE(drv.ScriptDone());
    EXPECT_TRUE(drv.Mismatches.empty());
  }
}

TEST_F(BoardFixture, ReadSamplesRefusesNegativeCounts) {
  std::uint16_t dest[1] = {7};
  EXPECT_EQ(board.ReadSamples(dest, -1), FT_INVALID_PARAMETER);
  EXPECT_TRUE(drv.calls.empty());
}

TEST(BoardSeries, LongSeriesWaitsForItsDurationButNotForever) {
  // 2000 samples of 10 ms: the data come 20 s after the command.
  for (bool boxAnswers : {true, false}) {
    OpenBoard open(1000);
    auto& [clock, drv, link, board] = open;
    Register(drv, 1, 0xFE);
    Register(drv, 0, 0x78);
    Register(drv, 2, 0xD1);
    Register(drv, 3, 0x07);
    Register(drv, 4, 0x00);
    ASSERT_EQ(board.SetIntegrationTime(10.0), FT_OK);
    ASSERT_EQ(board.SetNbSamples(2000), FT_OK);
    const std::int64_t start = clock.NowUs();
    Command(drv, 8, {0x00});
    drv.Then(0x0F, {0x0F});
    if (boxAnswers) drv.ArriveAt(start + 20'000'000, Series(2000));
    std::vector<std::uint16_t> dest(2000);
    const Status s = board.ReadSamples(dest, 2000);
    if (boxAnswers) {
      EXPECT_EQ(s, FT_OK);
      EXPECT_EQ(dest[1999], 255 - Series(2000)[1999]);
    } else {
      EXPECT_EQ(s, kNoByte);
      // Gave up after the series' duration and the time-out, well before a minute.
      EXPECT_GT(clock.NowUs() - start, 20'500'000);
      EXPECT_LT(clock.NowUs() - start, 60'000'000);
    }
  }
}

TEST(BoardSeries, AllowanceIsSeriesDurationPlusMargin) {
  EXPECT_EQ(Board::SeriesAllowanceMs(0, 10.0), 100);
  EXPECT_EQ(Board::SeriesAllowanceMs(2000, 10.0), 21100);  // 20 s + 5 % + 100 ms
  EXPECT_EQ(Board::SeriesAllowanceMs(-5, 10.0), 100);
}

TEST_F(BoardFixture, BoardOpenIsOpenUsb) {
  EXPECT_EQ(board.BoardOpen(), FT_OK);
  EXPECT_EQ(drv.CallNames().front(), "FT_ResetDevice");  // already open: FT_Open skipped
  ManualClock clock2;
  ScriptedDriver drv2(&clock2);
  UsbLink link2(drv2, clock2);
  Board board2(link2);
  drv2.Fail("FT_Open", FT_DEVICE_NOT_FOUND);
  EXPECT_EQ(board2.BoardOpen(), FT_DEVICE_NOT_FOUND);
}

TEST_F(BoardFixture, BoardCloseClearsRegister5ThenCloses) {
  Register(drv, 5, 0);
  EXPECT_EQ(board.BoardClose(), FT_OK);
  EXPECT_EQ(drv.Written(), RegisterBytes(5, 0));
  EXPECT_EQ(drv.CallNames().back(), "FT_Close");
  EXPECT_FALSE(link.UsbOpened);
}

TEST_F(BoardFixture, BoardCloseClosesEvenWhenTheWriteFails) {
  drv.Then(0xF0, {0x00});
  EXPECT_EQ(board.BoardClose(), kWrongEcho);
  EXPECT_FALSE(link.UsbOpened);
  EXPECT_EQ(drv.Count("FT_Close"), 1);
}

// Every operation, with the script of a box that answers it correctly.
struct Operation {
  std::string name;
  std::uint8_t code;
  std::function<void(ScriptedDriver&)> script;
  std::function<Status(Board&)> run;
};

std::vector<Operation> Operations(std::int32_t seriesLength = 5) {
  static std::vector<std::uint16_t> dest(70000);
  static std::int32_t id;
  return {
      {"SendCommand", 6, [](ScriptedDriver& d) { Command(d, 6); },
       [](Board& b) { return b.SendCommand(6); }},
      {"WriteRegister", 4, [](ScriptedDriver& d) { Register(d, 3, 0x44); },
       [](Board& b) { return b.WriteRegister(3, 0x44); }},
      {"GetBoardId", 0,
       [](ScriptedDriver& d) {
         Command(d, 0, {1, 2});
         d.Then(0x0F, {0x0F});
         Register(d, 5, 255);
       },
       [](Board& b) { return b.GetBoardId(id); }},
      {"SetIntegrationTime", 4,
       [](ScriptedDriver& d) {
         Register(d, 1, 0xFC);
         Register(d, 0, 0xF2);
       },
       [](Board& b) { return b.SetIntegrationTime(20.0); }},
      {"SetNbSamples", 4,
       [](ScriptedDriver& d) {
         Register(d, 2, 0x00);
         Register(d, 3, 0x20);
         Register(d, 4, 0x00);
       },
       [](Board& b) { return b.SetNbSamples(8191); }},
      {"ReadFrame", 6,
       [](ScriptedDriver& d) {
         Command(d, 6, FrameBlock());
         d.Then(0x0F, {0x0F});
       },
       [](Board& b) { return b.ReadFrame(dest); }},
      {"ReadSamples", 8,
       [seriesLength](ScriptedDriver& d) {
         Bytes reply{0x00};
         const Bytes s = Series(seriesLength);
         reply.insert(reply.end(), s.begin(), s.end());
         Command(d, 8, reply);
         d.Then(0x0F, {0x0F});
       },
       [seriesLength](Board& b) { return b.ReadSamples(dest, seriesLength); }},
      {"BoardClose", 4, [](ScriptedDriver& d) { Register(d, 5, 0); },
       [](Board& b) { return b.BoardClose(); }},
  };
}

// A box under test: scripted box, fault decorator, link and protocol.
struct Rig {
  explicit Rig(bool pollsCostTime = true)
      : drv(&clock), fault(drv), link(fault, clock), board(link) {
    drv.pollsCostTime = pollsCostTime;
    clock.SetSpinQuantumUs(1000);
    OpenAndIdentify(drv, board);
    fault.Disarm();  // byte positions count from here
  }
  ManualClock clock;
  ScriptedDriver drv;
  FaultDriver fault;
  UsbLink link;
  Board board;
};

TEST(BoardFaults, WrongCommandEchoGivesMinusOneAfterFourBytes) {
  for (const Operation& op : Operations()) {
    Rig rig;
    rig.drv.OnWrite = [](std::uint8_t b) { return Bytes{b == 0xF0 ? b : std::uint8_t(b ^ 0x80)}; };
    rig.drv.calls.clear();
    EXPECT_EQ(op.run(rig.board), kWrongEcho) << op.name;
    EXPECT_EQ(rig.drv.Written(), (Bytes{0xF0, op.code})) << op.name;
    EXPECT_EQ(rig.fault.BytesRead(), 2u) << op.name;
  }
}

TEST(BoardFaults, UnpluggedAtAnyByteGivesAStatus) {
  for (const Operation& op : Operations()) {
    // Bytes moved by a clean run.
    std::uint64_t total = 0;
    {
      Rig rig;
      op.script(rig.drv);
      rig.fault.Disarm();
      ASSERT_EQ(op.run(rig.board), FT_OK) << op.name;
      total = rig.fault.BytesWritten() + rig.fault.BytesRead();
      ASSERT_TRUE(rig.drv.ScriptDone()) << op.name;
    }
    for (auto mode : {FaultDriver::Unplug::kIoError, FaultDriver::Unplug::kSilent}) {
      for (std::uint64_t k = 0; k < total; ++k) {
        Rig rig;
        op.script(rig.drv);
        rig.fault.UnplugAfter(k, mode);
        const Status s = op.run(rig.board);
        EXPECT_NE(s, FT_OK) << op.name << " unplugged after byte " << k;
        if (mode == FaultDriver::Unplug::kIoError)
          EXPECT_TRUE(s == FT_IO_ERROR || s == kNoByte || s == kShortWrite) << op.name << k;
        else
          EXPECT_TRUE(s == kNoByte || s == kShortWrite) << op.name << " " << k << ": " << s;
      }
    }
  }
}

TEST(BoardFaults, UnpluggedInsideALongSeries) {
  const Operation op = Operations(32770)[6];
  for (std::uint64_t k : {4ull, 5ull, 6ull, 1000ull, 32772ull, 32773ull, 32774ull, 32775ull}) {
    Rig rig;
    op.script(rig.drv);
    rig.fault.UnplugAfter(k);
    EXPECT_NE(op.run(rig.board), FT_OK) << k;
  }
}

TEST(BoardFaults, OtherFaultsAtEveryPosition) {
  for (const Operation& op : Operations()) {
    std::uint64_t written = 0, read = 0, polls = 0;
    {
      Rig rig;
      op.script(rig.drv);
      ASSERT_EQ(op.run(rig.board), FT_OK);
      written = rig.fault.BytesWritten();
      read = rig.fault.BytesRead();
      polls = static_cast<std::uint64_t>(rig.drv.Count("FT_GetStatus"));
    }
    for (std::uint64_t k = 0; k < written; ++k) {
      Rig rig;
      op.script(rig.drv);
      rig.fault.ShortWriteAt(k);
      EXPECT_EQ(op.run(rig.board), kShortWrite) << op.name << " short write " << k;
    }
    for (std::uint64_t k = 0; k < written; ++k) {
      Rig rig;
      op.script(rig.drv);
      rig.fault.NoAnswerAfterWrite(k);
      EXPECT_EQ(op.run(rig.board), kNoByte) << op.name << " silent after " << k;
    }
    for (std::uint64_t n = 1; n <= polls; ++n) {
      Rig rig;
      op.script(rig.drv);
      rig.fault.FailStatusAt(n, FT_IO_ERROR);
      const Status s = op.run(rig.board);
      EXPECT_TRUE(s == kNoByte || s == FT_IO_ERROR) << op.name << " poll " << n << ": " << s;
    }
    // A corrupted echo or acknowledgement is caught; a corrupted data byte is not.
    int wrong = 0;
    for (std::uint64_t k = 0; k < read; ++k) {
      Rig rig;
      op.script(rig.drv);
      rig.fault.WrongEchoAt(k);
      const Status s = op.run(rig.board);
      EXPECT_TRUE(s == kWrongEcho || s == FT_OK) << op.name << " byte " << k;
      wrong += s == kWrongEcho;
    }
    EXPECT_GT(wrong, 0) << op.name;
  }
}

TEST(BoardFaults, NoAnswerAtAllEndsWithMinus150OnEitherBound) {
  for (bool timed : {true, false}) {
    Rig rig(timed);
    rig.fault.NoAnswerAfterWrite(0);
    EXPECT_EQ(rig.board.SendCommand(0), kNoByte);
    EXPECT_EQ(rig.link.LastPollCount, timed ? 502u : 500001u);
  }
}

}  // namespace
}  // namespace rovanel::device
