#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/config.h"
#include "support/unprivileged.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// 1.5 and -2.25 as IEEE doubles, written out by hand, little-endian.
constexpr std::uint8_t kOnePointFive[8] = {0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
constexpr std::uint8_t kMinusTwoQuarter[8] = {0, 0, 0, 0, 0, 0, 0x02, 0xC0};

Bytes Record(std::size_t size, std::uint8_t portBox, std::uint8_t language) {
  Bytes b(size, 0);
  for (std::size_t i = 0; i < 8 && i < size; ++i) b[i] = kOnePointFive[i];
  for (std::size_t i = 0; i < 8 && 8 + i < size; ++i) b[8 + i] = kMinusTwoQuarter[i];
  if (size > 41) b[41] = portBox;
  if (size > 48) b[48] = language;
  return b;
}

// Sets or unsets an environment variable for the life of the object.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~EnvGuard() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/rovanel-cfg-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    ::chmod(root_.c_str(), 0755);  // the unprivileged child goes in
    dir_ = root_ + "/";
  }
  void TearDown() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    for (const auto& e : fs::recursive_directory_iterator(root_))
      if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(root_);
  }
  std::string File() const { return dir_ + std::string(kConfigFile); }
  void Write(const Bytes& b) {
    std::ofstream(File(), std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  }
  Bytes Read() const {
    std::ifstream in(File(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string root_, dir_;
};

TEST(Config, EncodeLaysTheFieldsOutByteByByte) {
  const auto bytes = EncodeConfig({1.5, -2.25, 1, 3});
  Bytes want = Record(kConfigSize, 1, 3);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), want);
  // A negative language keeps all four bytes.
  const auto neg = EncodeConfig({0, 0, 0, -2});
  EXPECT_EQ(Bytes(neg.begin() + 48, neg.begin() + 52), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(Config, DecodeFillsOnlyTheStartOfTheRecord) {
  struct Case {
    std::size_t size;
    double slope, offset;
    int portBox, language;
  };
  const Case cases[] = {
      {312, 1.5, -2.25, 1, 3},
      {400, 1.5, -2.25, 1, 3},
      {40, 1.5, -2.25, 0, 0},
      {42, 1.5, -2.25, 1, 0},
      {50, 1.5, -2.25, 1, 3},  // the language's two low bytes
      {15, 1.5, std::ldexp(1.0, -1025), 0, 0},  // offset bits 0x0002000000000000
      {4, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const ConfigRec r = DecodeConfig(Record(c.size, 1, 3));
    EXPECT_EQ(r.CfgSlope, c.slope);
    EXPECT_EQ(r.CfgOffset, c.offset);
    EXPECT_EQ(r.CfgPortBox, c.portBox);
    EXPECT_EQ(r.CfgLanguage, c.language);
  }
  // Reserved bytes are not looked at.
  Bytes noisy = Record(kConfigSize, 0, 2);
  for (std::size_t i : {16u, 40u, 42u, 47u, 53u, 311u}) noisy[i] = 0xAA;
  const ConfigRec r = DecodeConfig(noisy);
  EXPECT_EQ(r.CfgPortBox, 0);
  EXPECT_EQ(r.CfgLanguage, 2);
}

TEST(Config, TheCsvStyleLivesInTheFirstReservedByteAfterTheLanguage) {
  ConfigRec rec{1.5, -2.25, 1, 3};
  rec.CfgCsvStyle = 2;
  const auto bytes = EncodeConfig(rec);
  Bytes want = Record(kConfigSize, 1, 3);
  want[52] = 2;
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), want);
  EXPECT_EQ(DecodeConfig(want).CfgCsvStyle, 2);
  // An older file's zero, or a value no style has, reads as none chosen.
  for (std::uint8_t b : {0, 3, 0xAA}) {
    want[52] = b;
    EXPECT_EQ(DecodeConfig(want).CfgCsvStyle, 0) << int(b);
  }
}

TEST(Config, FieldsForTheDump) {
  const auto fields = ConfigFields({0.1, -2.25, 1, 3});
  const std::vector<std::pair<std::string, std::string>> want = {{"CfgSlope", "0.10000000000000001"},
                                                                 {"CfgOffset", "-2.25"},
                                                                 {"CfgPortBox", "1"},
                                                                 {"CfgLanguage", "3"},
                                                                 {"CfgCsvStyle", "0"}};
  EXPECT_EQ(fields, want);
}

TEST_F(ConfigFile, FilesOf43Or299BytesAreDeletedOthersKept) {
  for (std::size_t size : {43u, 299u}) {
    Write(Bytes(size, 7));
    EXPECT_TRUE(DeleteStaleConfig(dir_)) << size;
    EXPECT_FALSE(fs::exists(File())) << size;
    ConfigRec rec{9, 9, 9, 9};
    EXPECT_FALSE(ReadConfig(dir_, rec));
  }
  for (std::size_t size : {0u, 40u, 42u, 44u, 298u, 300u, 312u}) {
    Write(Bytes(size, 7));
    EXPECT_FALSE(DeleteStaleConfig(dir_)) << size;
    EXPECT_TRUE(fs::exists(File())) << size;
  }
  fs::remove(File());
  EXPECT_FALSE(DeleteStaleConfig(dir_));
}

TEST_F(ConfigFile, ReadTakesWhatTheFileHolds) {
  Write(Record(40, 1, 3));
  ConfigRec rec{9, 9, 9, 9};
  ASSERT_TRUE(ReadConfig(dir_, rec));
  EXPECT_EQ(rec.CfgSlope, 1.5);
  EXPECT_EQ(rec.CfgOffset, -2.25);
  EXPECT_EQ(rec.CfgPortBox, 0);
  EXPECT_EQ(rec.CfgLanguage, 0);

  Write(Record(kConfigSize, 1, 3));
  ASSERT_TRUE(ReadConfig(dir_, rec));
  EXPECT_EQ(rec.CfgSlope, 1.5);
  EXPECT_EQ(rec.CfgPortBox, 1);
  EXPECT_EQ(rec.CfgLanguage, 3);
}

TEST_F(ConfigFile, WriteReplacesTheFileWithTheRecordsBytes) {
  std::string error;
  ASSERT_TRUE(WriteConfig(dir_, {1.5, -2.25, 1, 3}, error)) << error;
  EXPECT_EQ(Read(), Record(kConfigSize, 1, 3));
  Write(Bytes(500, 0xAA));  // a longer file is replaced, not overwritten in place
  ASSERT_TRUE(WriteConfig(dir_, {}, error)) << error;
  EXPECT_EQ(Read(), Bytes(kConfigSize, 0));
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(ConfigFile, AReadOnlyFolderFailsWithAReasonAndLeavesNothing) {
  ASSERT_EQ(::chmod(root_.c_str(), 0555), 0);
  const std::string got = test::RunUnprivileged([&] {
    std::string error;
    const bool ok = WriteConfig(dir_, {1.5, -2.25, 1, 3}, error);
    return std::string(ok ? "written" : "failed") + ": " + error;
  });
  EXPECT_EQ(got, std::string("failed: ") + std::strerror(EACCES));
  EXPECT_TRUE(fs::is_empty(root_));
}

TEST_F(ConfigFile, AWriteCutShortLeavesTheOldFileAndNoTemporaryOne) {
  Write(Record(40, 0, 0));
  ASSERT_EQ(::chmod(root_.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(File().c_str(), 0666), 0);  // the unprivileged child may write it
  const std::string got = test::RunUnprivileged([&] {
    // As on a full disk: writes past 100 bytes fail.
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    return WriteConfig(dir_, {1.5, -2.25, 1, 3}, error) ? std::string("written") : error;
  });
  EXPECT_EQ(got, std::strerror(EFBIG));
  EXPECT_EQ(Read(), Record(40, 0, 0));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(ConfigFile, AFolderInTheFilesPlaceFailsWithAReason) {
  fs::create_directories(File() + "/inside");
  std::string error;
  EXPECT_FALSE(WriteConfig(dir_, {1.5, -2.25, 1, 3}, error));
  EXPECT_EQ(error, std::strerror(EISDIR));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
}

TEST_F(ConfigFile, UserDirPrefersTheHomeVariableThenTheProgramFolder) {
  const std::string program = root_ + "/bin";
  const std::string home = root_ + "/home/deep";
  const std::string xdg = root_ + "/xdg";
  fs::create_directories(program);
  fs::create_directories(xdg);
  fs::permissions(xdg, fs::perms::all);  // the unprivileged child creates in it
  EnvGuard xdgVar("XDG_DATA_HOME", xdg.c_str());
  {
    EnvGuard homeVar("ROVANEL_HOME", home.c_str());
    EXPECT_EQ(UserDir(program), home + "/");
    EXPECT_TRUE(fs::is_directory(home));
  }
  {
    EnvGuard homeVar("ROVANEL_HOME", "");
    EXPECT_EQ(UserDir(program + "/"), program + "/");
  }
  EnvGuard homeVar("ROVANEL_HOME", nullptr);
  EXPECT_EQ(UserDir(program), program + "/");
  ASSERT_EQ(::chmod(program.c_str(), 0555), 0);
  EXPECT_EQ(test::RunUnprivileged([&] { return UserDir(program); }), xdg + "/rovanel/");
  EXPECT_TRUE(fs::is_directory(xdg + "/rovanel"));
  {
    EnvGuard noXdg("XDG_DATA_HOME", nullptr);
    EnvGuard user("HOME", xdg.c_str());
    EXPECT_EQ(test::RunUnprivileged([&] { return UserDir(program); }),
              xdg + "/.local/share/rovanel/");
  }
}

}  // namespace
}  // namespace rovanel::app
