// Whole-file reading and the replacing write of the curve files.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/files/curve_files.h"
#include "support/unprivileged.h"

namespace rovanel::app {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class CurveFileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/rovanel-curves-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    file_ = root_ + "/a.CCD";
  }
  void TearDown() override {
    ::chmod(root_.c_str(), 0755);
    fs::remove_all(root_);
  }
  void Write(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  }
  std::size_t Entries() const {
    return std::distance(fs::directory_iterator(root_), fs::directory_iterator());
  }
  std::string root_, file_;
};

TEST_F(CurveFileIo, WritingReplacesTheFileWholeAndReadingGivesItBack) {
  Write(file_, Bytes(9000, 0xAA));  // longer: replaced, not overwritten in place
  const Bytes b = EncodeCcd({});
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(file_, b, error)) << error;
  Bytes back{1};
  ASSERT_TRUE(ReadWholeFile(file_, back, error)) << error;
  EXPECT_EQ(back, b);
  EXPECT_EQ(Entries(), 1u);
  EXPECT_FALSE(ReadWholeFile(file_, back, error, 5631));
  EXPECT_EQ(error, "the file is larger than a curve file can be (5632 bytes, at most 5631)");
  EXPECT_EQ(back, b);
}

TEST_F(CurveFileIo, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryOne) {
  const Bytes old(40, 0x11), b = EncodeCcd({});
  Write(file_, old);
  ::chmod(file_.c_str(), 0666);  // the unprivileged child may write it
  const auto child = [&](mode_t folder, std::function<void()> limit) {
    ::chmod(root_.c_str(), folder);
    return test::RunUnprivileged([&] {
      limit();
      std::string why;
      return WriteFileReplacing(file_, b, why) ? std::string("written") : why;
    });
  };
  EXPECT_EQ(child(0555, [] {}), std::strerror(EACCES));  // read-only folder
  EXPECT_EQ(child(0777,
                  [] {  // as on a full disk: writes past 100 bytes fail
                    ::signal(SIGXFSZ, SIG_IGN);
                    const rlimit cap{100, 100};
                    ::setrlimit(RLIMIT_FSIZE, &cap);
                  }),
            std::strerror(EFBIG));
  std::ifstream in(file_, std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), old);
  EXPECT_EQ(Entries(), 1u);
}

// A file nobody may write is refused as a text editor would, whoever runs
// the program; a link is written through to its target; a writable file
// keeps its permissions.
TEST_F(CurveFileIo, ReadOnlyFilesAreRefusedAndLinksWrittenThrough) {
  const Bytes old(40, 0x11), b = EncodeCcd({});
  std::string why;
  Write(file_, old);
  ::chmod(file_.c_str(), 0444);
  EXPECT_FALSE(WriteFileReplacing(file_, b, why));
  EXPECT_EQ(why, "the file is read-only");
  std::ifstream in(file_, std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), old);
  EXPECT_EQ(fs::status(file_).permissions(), fs::perms(0444));

  const std::string target = root_ + "/real.CCD", link = root_ + "/link.CCD";
  Write(target, old);
  ::chmod(target.c_str(), 0600);
  fs::create_symlink("real.CCD", link);
  ASSERT_TRUE(WriteFileReplacing(link, b, why)) << why;
  EXPECT_TRUE(fs::is_symlink(link));
  Bytes back;
  ASSERT_TRUE(ReadWholeFile(target, back, why)) << why;
  EXPECT_EQ(back, b);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));
  EXPECT_EQ(Entries(), 3u);  // no temporary file left
}

}  // namespace
}  // namespace rovanel::app
