// The data file cache: loads, refusals, freeing, the name-length limit and
// a file that reads short.
#include "platform/data_file_cache.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/startup.h"
#include "tests/support/process.h"

TEST(DataFileCache, LoadsRefusesFreesAndFailsCleanly) {
  testing_support::TempDir dir;
  const std::string saved = g_DataDir;
  // "Data1.dat" leaves 34 characters of the 43 for the directory; pad it
  // with "./" (after a doubled "/" where needed) to exactly 34.
  std::string base = dir.Path() + (dir.Path().size() % 2 ? "/" : "//");
  ASSERT_LE(base.size(), 34u);
  while (base.size() < 34) base += "./";
  ASSERT_EQ(base.size(), 34u);
  std::snprintf(g_DataDir, sizeof(g_DataDir), "%s", base.c_str());
  for (int id : {1, 2, 3, 4}) {
    const std::string text = "file " + std::to_string(id);
    testing_support::WriteFile(dir / ("Data" + std::to_string(id) + ".dat"),
                               std::vector<unsigned char>(text.begin(), text.end()));
  }
  std::unique_ptr<DataFileCache> cache(DataFileCache::Create(3));
  u32 size = 0;
  const u8* one = cache->Load(1, &size);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(size, 6u);
  EXPECT_STREQ(reinterpret_cast<const char*>(one), "file 1");  // a zero byte follows
  EXPECT_EQ(cache->Load(1), nullptr);  // already loaded
  EXPECT_EQ(cache->Load(9), nullptr);  // no such file

  // A file whose size says more than it holds (sysfs files say 4096).
  const char* liar = "/sys/devices/system/cpu/online";
  if (access(liar, R_OK) == 0 && symlink(liar, (dir / "Data5.dat").c_str()) == 0) {
    size = 77;
    EXPECT_EQ(cache->Load(5, &size), nullptr);
    EXPECT_EQ(size, 77u);
    EXPECT_EQ(cache->Count(), 1);
  }
  // One character more in the directory and no name fits.
  std::snprintf(g_DataDir, sizeof(g_DataDir), "%s/", base.c_str());
  EXPECT_EQ(cache->Load(2), nullptr);
  std::snprintf(g_DataDir, sizeof(g_DataDir), "%s", base.c_str());
  ASSERT_NE(cache->Load(2), nullptr);
  ASSERT_NE(cache->Load(3), nullptr);
  EXPECT_EQ(cache->Load(4), nullptr);  // full, though the file exists

  EXPECT_EQ(cache->Free(8), 3);  // not present: unchanged
  EXPECT_EQ(cache->Free(1), 2);
  EXPECT_EQ(cache->IdentifierAt(0), 3u);  // the last entry took the first place
  EXPECT_EQ(cache->IdentifierAt(1), 2u);
  EXPECT_NE(cache->Load(4), nullptr);
  std::snprintf(g_DataDir, sizeof(g_DataDir), "%s", saved.c_str());
}
