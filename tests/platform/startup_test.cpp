// (Choosing the data directory next to the executable, and the user
// directory under HOME, are exercised by every end-to-end run.)
#include "platform/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "tests/support/process.h"

using testing_support::TempDir;

TEST(Startup, ExecutableDirectory) {
  char dir[1024];
  for (const auto& [argv0, expected] : {std::pair<const char*, const char*>{"/opt/game/run", "/opt/game/"},
                                        {"run", "./"}, {"/run", "/"}}) {
    ASSERT_TRUE(ExecutableDir(argv0, dir, sizeof dir));
    EXPECT_STREQ(dir, expected);
  }
  // A name that does not fit is rejected, not cut.
  const std::string longName = "/" + std::string(2000, 'a') + "/run";
  EXPECT_FALSE(ExecutableDir(longName.c_str(), dir, sizeof dir));
}

TEST(Startup, DataDirectoryNeedsBothFiles) {
  TempDir dir;
  const std::string base = dir.Path() + "/";
  EXPECT_FALSE(DataDirHolds(base.c_str()));
  testing_support::WriteFile(dir / "640x480/bmst.bin", {0, 0, 0, 0});
  EXPECT_FALSE(DataDirHolds(base.c_str()));  // the wave is missing
  testing_support::WriteFile(dir / "wav/0.wav", {0});
  EXPECT_TRUE(DataDirHolds(base.c_str()));
}

TEST(Startup, UserDirectoryFromHomeOrThePasswordDatabase) {
  TempDir dir;
  const char* old = std::getenv("HOME");
  const std::string saved = old ? old : "";
  const std::string fromHome = dir.Path() + "/.Dorrimac-1.2/";
  setenv("HOME", dir.Path().c_str(), 1);
  ASSERT_TRUE(MakeUserDir());
  EXPECT_EQ(g_UserDir, fromHome);
  EXPECT_TRUE(std::filesystem::is_directory(fromHome));
  unsetenv("HOME");
  if (MakeUserDir()) {
    EXPECT_NE(std::string(g_UserDir).find("/.Dorrimac-1.2/"), std::string::npos);
    EXPECT_NE(g_UserDir, fromHome);
  }
  if (old) setenv("HOME", saved.c_str(), 1);
}
