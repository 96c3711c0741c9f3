#include "platform/startup.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/process.h"

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(Startup, ExecutableDirectory) {
  char dir[1024];
  ASSERT_TRUE(ExecutableDir("/opt/game/run", dir, sizeof dir));
  EXPECT_STREQ(dir, "/opt/game/");
  ASSERT_TRUE(ExecutableDir("run", dir, sizeof dir));
  EXPECT_STREQ(dir, "./");
  ASSERT_TRUE(ExecutableDir("/run", dir, sizeof dir));
  EXPECT_STREQ(dir, "/");
  // A name that does not fit is rejected, not cut.
  const std::string longName = "/" + std::string(2000, 'a') + "/run";
  EXPECT_FALSE(ExecutableDir(longName.c_str(), dir, sizeof dir));
}

TEST(Startup, DataDirectoryNeedsBothFiles) {
  TempDir dir;
  const std::string base = dir.Path() + "/";
  EXPECT_FALSE(DataDirHolds(base.c_str()));
  WriteFile(dir / "640x480/bmst.bin", {0, 0, 0, 0});
  EXPECT_FALSE(DataDirHolds(base.c_str()));  // the wave is missing
  WriteFile(dir / "wav/0.wav", {0});
  EXPECT_TRUE(DataDirHolds(base.c_str()));

  // Found next to the executable when nothing is installed.
  struct stat installed;
  if (stat(kInstalledDataDir, &installed) == 0) GTEST_SKIP() << "a copy is installed";
  const std::string exe = dir / "dorrimac";
  ASSERT_TRUE(ChooseDataDir(exe.c_str()));
  EXPECT_EQ(std::string(g_DataDir), base);
  EXPECT_FALSE(ChooseDataDir("/nonexistent/dorrimac"));
}

TEST(Startup, UserDirectoryFromHomeOrThePasswordDatabase) {
  TempDir dir;
  const char* old = std::getenv("HOME");
  const std::string saved = old ? old : "";
  setenv("HOME", dir.Path().c_str(), 1);
  ASSERT_TRUE(MakeUserDir());
  EXPECT_EQ(std::string(g_UserDir), dir.Path() + "/.Dorrimac-1.2/");
  struct stat st;
  ASSERT_EQ(stat(g_UserDir, &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  ASSERT_TRUE(MakeUserDir());  // a second start finds it already there

  unsetenv("HOME");
  if (MakeUserDir()) {
    EXPECT_NE(std::string(g_UserDir).find("/.Dorrimac-1.2/"), std::string::npos);
    EXPECT_NE(std::string(g_UserDir), dir.Path() + "/.Dorrimac-1.2/");
  }
  if (old) setenv("HOME", saved.c_str(), 1);
}
