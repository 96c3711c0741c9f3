// The data file cache: loads, refusals, freeing, the name-length limit and
// files that read short.
#include "platform/data_file_cache.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/startup.h"
#include "tests/support/process.h"

namespace {

// Points the data directory at dir while alive.
class DataDirScope {
 public:
  explicit DataDirScope(const std::string& dir) {
    std::memcpy(saved_, g_DataDir, sizeof(g_DataDir));
    std::snprintf(g_DataDir, sizeof(g_DataDir), "%s", dir.c_str());
  }
  ~DataDirScope() { std::memcpy(g_DataDir, saved_, sizeof(g_DataDir)); }

 private:
  char saved_[sizeof(g_DataDir)];
};

void Put(const testing_support::TempDir& dir, int id, const std::string& text) {
  ASSERT_TRUE(testing_support::WriteFile(dir / ("Data" + std::to_string(id) + ".dat"),
                                         std::vector<unsigned char>(text.begin(), text.end())));
}

}  // namespace

TEST(DataFileCache, LoadsRefusesAndFrees) {
  testing_support::TempDir dir;
  DataDirScope scope(dir.Path() + "/");
  for (int id : {1, 2, 3, 4}) Put(dir, id, "file " + std::to_string(id));
  std::unique_ptr<DataFileCache> none(DataFileCache::Create(0));
  EXPECT_EQ(none->Load(1), nullptr);
  std::unique_ptr<DataFileCache> cache(DataFileCache::Create(3));

  u32 size = 0;
  const u8* one = cache->Load(1, &size);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(size, 6u);
  EXPECT_STREQ(reinterpret_cast<const char*>(one), "file 1");  // a zero byte follows
  EXPECT_EQ(cache->Load(1), nullptr);   // already loaded
  EXPECT_EQ(cache->Load(9), nullptr);   // no such file
  ASSERT_NE(cache->Load(2), nullptr);
  ASSERT_NE(cache->Load(3), nullptr);
  size = 77;
  EXPECT_EQ(cache->Load(4, &size), nullptr);  // full, though the file exists
  EXPECT_EQ(size, 77u);

  EXPECT_EQ(cache->Free(8), 3);  // not present: unchanged
  EXPECT_EQ(cache->Free(1), 2);
  EXPECT_EQ(cache->IdentifierAt(0), 3u);  // the last entry took the first place
  EXPECT_EQ(cache->IdentifierAt(1), 2u);
  EXPECT_NE(cache->Load(4), nullptr);
}

TEST(DataFileCache, LongDirectoryAndShortReadFailCleanly) {
  testing_support::TempDir dir;
  Put(dir, 5, "five");
  std::unique_ptr<DataFileCache> cache(DataFileCache::Create(4));
  // Pad the directory with "./" up to the name's limit of 43 characters:
  // "Data5.dat" leaves 34 for the directory.
  std::string base = dir.Path() + "/";
  ASSERT_LE(base.size(), 33u);
  if (base.size() % 2 == 1) base = dir.Path() + "//";
  while (base.size() < 34) base += "./";
  ASSERT_EQ(base.size(), 34u);
  {
    DataDirScope scope(base + "/");  // one character too long
    EXPECT_EQ(cache->Load(5), nullptr);
    EXPECT_EQ(cache->Count(), 0);
  }
  {
    DataDirScope scope(base);
    EXPECT_NE(cache->Load(5), nullptr);
  }

  // A file whose size says more than it holds (sysfs files say 4096).
  const char* liar = "/sys/devices/system/cpu/online";
  if (access(liar, R_OK) != 0) GTEST_SKIP() << "no sysfs";
  ASSERT_EQ(symlink(liar, (dir / "Data6.dat").c_str()), 0);
  DataDirScope scope(base);
  u32 size = 5;
  EXPECT_EQ(cache->Load(6, &size), nullptr);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(cache->Count(), 1);
  EXPECT_EQ(cache->IdentifierAt(0), 5u);
}
