// The real program under its own X server: its window as a window manager
// sees it, its directories, its fatal start, and closing it.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "platform/record_file.h"
#include "tests/support/game_run.h"
#include "ui/settings.h"

using namespace testing_support;

TEST(Startup, WindowAsTheWindowManagerSeesIt) {
  GameRun run;
  START_GAME_OR_SKIP(run, GameOptions());
  XClient& x = run.Client();
  const Window w = run.GameWindow();
  EXPECT_EQ(x.Title(w), "Dorrimac TM");
  EXPECT_EQ(x.IconName(w), "Dorrimac TM");
  const WindowGeometry g = x.Geometry(w);
  EXPECT_EQ(g.x, 120);
  EXPECT_EQ(g.y, 120);
  EXPECT_EQ(g.width, 640);
  EXPECT_EQ(g.height, 480);
  XSizeHints hints;
  ASSERT_TRUE(x.SizeHints(w, hints));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_TRUE(hints.flags & PMaxSize);
  EXPECT_EQ(hints.min_width, 640);
  EXPECT_EQ(hints.max_width, 640);
  EXPECT_EQ(hints.min_height, 480);
  EXPECT_EQ(hints.max_height, 480);
  EXPECT_TRUE(x.HasIconPixmap(w));
  const auto protocols = x.Protocols(w);
  ASSERT_EQ(protocols.size(), 1u);
  EXPECT_EQ(protocols[0], "WM_DELETE_WINDOW");

  struct stat st;
  ASSERT_EQ(stat(run.UserDir().c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0755u);

  run.Screenshot("startup-window");
}

TEST(Startup, DeleteWindowMessageEndsTheProgramAtOnce) {
  // A save killed before its rename left a temporary file; the start
  // removes it.
  TempDir home;
  const std::string leftover = home / ".Dorrimac-1.2/000000.bin.q7Zx2K";
  ASSERT_TRUE(WriteFile(leftover, {1, 2, 3}));
  GameOptions options;
  options.home = home.Path();
  GameRun run;
  START_GAME_OR_SKIP(run, options);
  EXPECT_NE(access(leftover.c_str(), F_OK), 0);
  const auto start = std::chrono::steady_clock::now();
  run.Client().SendDelete(run.GameWindow());
  const int status = run.WaitExit(5000);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000);

  // The settings were saved on the way out: the defaults, scrambled as
  // record 50.
  const std::string stored = ReadFile(run.UserDir() + "000050.bin");
  ASSERT_EQ(stored.size(), kSettingsRecordSize);
  // ... with the permissions of a plain create.
  const mode_t mask = umask(0);
  umask(mask);
  struct stat st;
  ASSERT_EQ(stat((run.UserDir() + "000050.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
  SettingsRecord expected;
  expected.Reset();
  for (u32 i = 0; i < kSettingsRecordSize; ++i) {
    EXPECT_EQ(static_cast<u8>(stored[i]) ^ static_cast<u8>(50 + i), expected.Bytes()[i]) << "byte " << i;
  }
}

TEST(Startup, MissingDataIsReportedAndEndsWith255) {
  struct stat installed;
  if (stat("/usr/local/share/Dorrimac-1.2/640x480/bmst.bin", &installed) == 0) {
    GTEST_SKIP() << "a copy of the data is installed";
  }
  GameRun run;
  GameOptions options;
  options.withData = false;
  options.waitForWindow = false;
  START_GAME_OR_SKIP(run, options);
  const int status = run.WaitExit(5000);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 255);
  EXPECT_EQ(run.Stdout(), "Error open resource. Please reinstall. \n");
}
