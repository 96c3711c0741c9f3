#include "platform/system.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/process.h"

using testing_support::ReadFile;

TEST(TickMs, FormulaAndWrap) {
  EXPECT_EQ(TickMsFromTime(0, 999), 0u);
  EXPECT_EQ(TickMsFromTime(12, 345000), 12345u);
  // Only the low 24 bits of the seconds count.
  EXPECT_EQ(TickMsFromTime(0x1000000 + 5, 0), 5000u);
  // The product wraps modulo 2^32 after 4294 seconds: the value falls back.
  const u32 before = TickMsFromTime(4294, 967000);
  const u32 after = TickMsFromTime(4295, 0);
  EXPECT_GT(before, after);
  EXPECT_NEAR(TickMsSince(before, after), 33u, 1u);
  EXPECT_EQ(TickMsSince(100, 5100), 5000u);
}

namespace {

// A fake browser writes its first two arguments and any inherited
// descriptors to the file "out".
class OpenUrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("FAKE_BROWSER_OUT", (dir_ / "out").c_str(), 1);
    // The browser's grandchild comes back to this process when its parent
    // ends, so the test can collect its exit status.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    prctl(PR_SET_CHILD_SUBREAPER, 0);
  }

  void MakeBrowser(const std::string& name) {
    ASSERT_EQ(symlink(FAKE_BROWSER, (dir_ / name).c_str()), 0);
  }

  // Opens the address with PATH set and returns the browser's exit code
  // (-1 when it did not exit normally in time).
  int Open(const std::string& address, const std::string& path) {
    setenv("PATH", path.c_str(), 1);
    const pid_t pid = OpenURL(address.c_str());
    EXPECT_GT(pid, 0);
    int status = -1;
    for (int i = 0; i < 500; ++i) {
      if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  testing_support::TempDir dir_;
  std::string oldPath_;
};

}  // namespace

TEST_F(OpenUrlTest, StartsTheFirstBrowserFoundWithTheAddressTwice) {
  MakeBrowser("opera");
  MakeBrowser("links");  // later in the order: not used
  // A descriptor the game holds open (the X connection, the sound device).
  const int opened = open("/dev/null", O_RDONLY);
  const int held = fcntl(opened, F_DUPFD, 50);
  close(opened);
  ASSERT_GE(held, 50);
  EXPECT_EQ(Open("hTTp://example.org/?r=qxw", dir_.Path()), 0);
  close(held);
  // The address is both argument zero and argument one, and the browser
  // inherited nothing beyond the standard descriptors.
  EXPECT_EQ(ReadFile(dir_ / "out"), "hTTp://example.org/?r=qxw|hTTp://example.org/?r=qxw\n");
  // The intermediate child was reaped: no zombie is left.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

TEST_F(OpenUrlTest, NoBrowserExits127AndOtherAddressesRunAsACommand) {
  EXPECT_EQ(Open("http://example.org/", dir_.Path()), 127);
  MakeBrowser("tool");
  EXPECT_EQ(Open(dir_ / "tool", "/nonexistent"), 0);
  EXPECT_EQ(ReadFile(dir_ / "out"), (dir_ / "tool") + "|\n");
}
