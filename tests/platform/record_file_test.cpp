#include "platform/record_file.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <set>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/startup.h"
#include "tests/support/process.h"

namespace {

using Bytes = std::vector<u8>;
namespace fs = std::filesystem;

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(savedUserDir_, g_UserDir, sizeof(g_UserDir));
    std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/", dir_.Path().c_str());
  }
  void TearDown() override {
    SetRecordWriteFunction(nullptr);
    std::memcpy(g_UserDir, savedUserDir_, sizeof(g_UserDir));
  }

  Bytes Stored(const std::string& name) const {
    const std::string s = testing_support::ReadFile(dir_ / name);
    return Bytes(s.begin(), s.end());
  }
  // Files in the directory, to see that no temporary file is left behind.
  long Entries() const {
    return std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator());
  }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) names.insert(entry.path().filename());
    return names;
  }

  testing_support::TempDir dir_;
  char savedUserDir_[sizeof(g_UserDir)];
};

TEST_F(RecordFileTest, ScrambleKeyIsNumberPlusIndexAndWraps) {
  const u8 zeros[3] = {0, 0, 0};
  ASSERT_EQ(WriteRecordFile(50, zeros, 3), 1u);
  EXPECT_EQ(Stored("000050.bin"), (Bytes{0x32, 0x33, 0x34}));
  ASSERT_EQ(WriteRecordFile(255, zeros, 2), 1u);
  EXPECT_EQ(Stored("000255.bin"), (Bytes{0xFF, 0x00}));

  // A record longer than the writer's chunks keeps counting the key from
  // the record's start, and reads back whole.
  Bytes data(1500);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<u8>(i * 7 + 3);
  ASSERT_EQ(WriteRecordFile(10000, data.data(), static_cast<u32>(data.size())), 1u);
  const Bytes stored = Stored("010000.bin");
  ASSERT_EQ(stored.size(), data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    ASSERT_EQ(stored[i], static_cast<u8>(data[i] ^ ((10000 + i) % 256))) << "byte " << i;
  }
  Bytes back(data.size());
  ASSERT_EQ(ReadRecordFile(10000, back.data(), static_cast<u32>(back.size())), 1u);
  EXPECT_EQ(back, data);

  // A file stored by the older writer reads back; extra bytes are ignored.
  ASSERT_TRUE(testing_support::WriteFile(dir_ / "000050.bin", {0x32, 0x33, 0x34, 0x99}));
  u8 three[3] = {7, 7, 7};
  ASSERT_EQ(ReadRecordFile(50, three, 3), 1u);
  EXPECT_EQ(Bytes(three, three + 3), (Bytes{0, 0, 0}));
}

TEST_F(RecordFileTest, FileNames) {
  char name[2048];
  const std::string dir = g_UserDir;
  const std::pair<i32, const char*> cases[] = {
      {0, "000000.bin"},   {50, "000050.bin"},  {100, "000100.bin"},   {104, "000104.bin"},
      {108, "000108.bin"}, {112, "000112.bin"}, {10000, "010000.bin"}, {1234567, "1234567.bin"}};
  for (const auto& [number, file] : cases) {
    ASSERT_TRUE(RecordFileName(number, name, sizeof(name)));
    EXPECT_EQ(name, dir + file);
    const u8 byte = 1;
    ASSERT_EQ(WriteRecordFile(number, &byte, 1), 1u);
    EXPECT_EQ(Stored(file).size(), 1u) << file;
  }
  // A name that does not fit is refused rather than cut.
  EXPECT_FALSE(RecordFileName(50, name, dir.size() + 6));

  // Size 0 truncates the record to an empty file and succeeds.
  ASSERT_EQ(WriteRecordFile(50, nullptr, 0), 1u);
  EXPECT_TRUE(Stored("000050.bin").empty());
  EXPECT_EQ(Entries(), 8);  // no temporary file left
}

TEST_F(RecordFileTest, MissingOrShortFileLeavesTheBufferUntouched) {
  Bytes buffer(136, 0xAB);
  EXPECT_EQ(ReadRecordFile(50, buffer.data(), 136), 0u);
  Bytes data(100, 0);
  ASSERT_EQ(WriteRecordFile(50, data.data(), 100), 1u);
  EXPECT_EQ(ReadRecordFile(50, buffer.data(), 136), 0u);
  EXPECT_EQ(buffer, Bytes(136, 0xAB));
}

// Writes whose bytes never reach the disk, as on a full disk: at once, or
// after the first chunk.
int g_writesLeft = 0;
size_t FullDisk(const void* bytes, size_t size, size_t count, std::FILE* file) {
  if (g_writesLeft-- > 0) return std::fwrite(bytes, size, count, file);
  errno = ENOSPC;
  return 0;
}

// Lowers the override of file permissions while alive, so that a
// read-only directory is read-only also for a test run as root.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2];
    std::memcpy(lowered, saved_, sizeof(lowered));
    lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    changed_ = syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~WithoutPermissionOverride() {
    if (changed_) syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool changed_ = false;
};

TEST_F(RecordFileTest, FailedWriteKeepsTheOldRecord) {
  const Bytes old = {1, 2, 3, 4};
  ASSERT_EQ(WriteRecordFile(50, old.data(), 4), 1u);
  const Bytes stored = Stored("000050.bin");
  const Bytes fresh(1000, 9);
  SetRecordWriteFunction(FullDisk);
  for (int chunks : {0, 1}) {
    g_writesLeft = chunks;
    EXPECT_EQ(WriteRecordFile(50, fresh.data(), 1000), 0u) << chunks;
    EXPECT_EQ(Stored("000050.bin"), stored);
    EXPECT_EQ(Entries(), 1);
  }
  SetRecordWriteFunction(nullptr);

  // A user directory that does not exist, or is read-only.
  std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/missing/", dir_.Path().c_str());
  EXPECT_EQ(WriteRecordFile(50, fresh.data(), 3), 0u);
  std::snprintf(g_UserDir, sizeof(g_UserDir), "%s/", dir_.Path().c_str());
  ASSERT_EQ(chmod(dir_.Path().c_str(), 0555), 0);
  WithoutPermissionOverride guard;
  if (FILE* probe = std::fopen((dir_ / "probe").c_str(), "w")) {
    std::fclose(probe);
    GTEST_SKIP() << "the directory stays writable for this user";
  }
  EXPECT_EQ(WriteRecordFile(50, fresh.data(), 3), 0u);
  EXPECT_EQ(Stored("000050.bin"), stored);
}

// A new record gets what a plain create gives (0666 less the umask); a
// replaced record keeps its own permissions.
TEST_F(RecordFileTest, RecordsKeepOrdinaryPermissions) {
  struct Case {
    mode_t umask, existing, expected;  // existing 0: no record yet
  };
  const Case cases[] = {{022, 0, 0644}, {002, 0, 0664}, {077, 0, 0600}, {022, 0640, 0640}, {077, 0664, 0664}};
  const u8 byte = 1;
  for (const Case& c : cases) {
    fs::remove(dir_ / "000050.bin");
    if (c.existing) {
      ASSERT_TRUE(testing_support::WriteFile(dir_ / "000050.bin", {1, 2}));
      ASSERT_EQ(chmod((dir_ / "000050.bin").c_str(), c.existing), 0);
    }
    const mode_t saved = umask(c.umask);
    const u32 written = WriteRecordFile(50, &byte, 1);
    umask(saved);
    ASSERT_EQ(written, 1u);
    struct stat st;
    ASSERT_EQ(stat((dir_ / "000050.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.expected) << std::oct << "umask " << c.umask << " existing " << c.existing;
  }
}

// Dies by SIGKILL once the first bytes are in the temporary file, as a
// save killed before its rename does.
size_t KilledMidSave(const void* bytes, size_t size, size_t count, std::FILE* file) {
  std::fwrite(bytes, size, count, file);
  std::fflush(file);
  kill(getpid(), SIGKILL);
  return 0;
}

TEST_F(RecordFileTest, TemporaryFilesOfKilledSavesGoAtTheNextSaveOrStart) {
  const Bytes data(600, 5);
  for (i32 number : {50, 0}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SetRecordWriteFunction(KilledMidSave);
      WriteRecordFile(number, data.data(), static_cast<u32>(data.size()));
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  }
  // Names that only look like the temporary files stay.
  const std::set<std::string> others = {"000050.bin.keep", "000050.bin.ABCDEFG", "000050.bin.AB-DEF",
                                        "x00050.bin.ABCDEF", ".bin.ABCDEF", "notes.txt"};
  for (const std::string& name : others) ASSERT_TRUE(testing_support::WriteFile(dir_ / name, {1}));
  ASSERT_TRUE(fs::create_directory(dir_ / "000050.bin.Dir123"));
  ASSERT_EQ(Names().size(), others.size() + 3) << "each kill leaves its temporary file";

  // A save removes the leftovers of its own record only.
  ASSERT_EQ(WriteRecordFile(50, data.data(), 600), 1u);
  std::set<std::string> expected = others;
  expected.insert({"000050.bin", "000050.bin.Dir123"});
  std::vector<std::string> extra;
  for (const std::string& name : Names())
    if (!expected.count(name)) extra.push_back(name);
  ASSERT_EQ(extra.size(), 1u);
  EXPECT_EQ(extra[0].rfind("000000.bin.", 0), 0u) << extra[0];
  // The start removes those of every record.
  RemoveRecordTemporaries(kAnyRecord);
  EXPECT_EQ(Names(), expected);
}

}  // namespace
