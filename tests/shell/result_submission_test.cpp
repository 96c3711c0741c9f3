// Result submission: the scrambled digits against a decoder that stands
// in for the contest server, the address the browser gets, and the
// contest code with its checksum.
#include "shell/result_submission.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "shell/publish_code.h"
#include "shell/top10_record.h"
#include "tests/support/process.h"
#include "tests/ui/ui_test_support.h"

namespace {

// Undoes the chain with the program's key and checks both checksums;
// "bad" when they do not match.
std::string Decode(const std::string& digits) {
  u8 key[kContestKeySize];
  BuildContestKey(key);
  std::string block;
  u8 prev = 0x7D;
  for (size_t i = 0; i + 3 <= digits.size(); i += 3) {
    prev = static_cast<u8>(std::stoi(digits.substr(i, 3)) ^ prev ^ key[i / 3 % kContestKeySize]);
    block += static_cast<char>(prev);
  }
  u8 sum = 0, mixed = 0;
  for (size_t i = 2; i < block.size(); ++i) {
    sum = static_cast<u8>(sum + block[i]);
    mixed = static_cast<u8>(mixed + (static_cast<u8>(block[i]) ^ 0xE6));
  }
  if (block.size() < 2 || u8(block[0]) != sum || u8(block[1]) != mixed) return "bad";
  return block.substr(2);
}

}  // namespace

TEST(ResultSubmission, EncodesTextsTheServerCanRead) {
  const u8 zero[kContestKeySize] = {};
  EXPECT_EQ(EncodeResult(ResultText(1520, 1, "ABC"), zero),
            "251184015004007002057059059072003001074120009015126108029029");
  // The longest text, a zero byte, and a first checksum that comes out 0.
  const std::string longest = ResultText(-2147483647 - 1, 3, std::string(29, 'z').c_str());
  EXPECT_EQ(longest.size(), 51u);
  for (const std::string& text : {ResultText(1, 0, "A"), longest, std::string("a\0b", 3),
                                  std::string("\x80\x80", 2)}) {
    const std::string digits = EncodeResult(text);
    EXPECT_EQ(digits.size(), 3 * (text.size() + 2));
    EXPECT_EQ(Decode(digits), text);
  }
}

TEST(ResultSubmission, BrowserGetsTheBestResultOnlyWhenTheTableReads) {
  ui_testing::UserDirScope dirs;
  testing_support::TempDir bin;
  ASSERT_EQ(symlink(FAKE_BROWSER, (bin / "xdg-open").c_str()), 0);
  setenv("FAKE_BROWSER_OUT", (bin / "out").c_str(), 1);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", bin.Path().c_str(), 1);
  EXPECT_EQ(SubmitResult(0), -1);  // no table yet: no browser
  Top10Record table;
  table.Reset(nullptr);
  table.Insert("abc", 1234, 1, nullptr);
  table.Insert("second", 99, 1, nullptr);
  ASSERT_EQ(table.Write(0), 1u);
  EXPECT_GT(SubmitResult(0), 0);
  setenv("PATH", oldPath.c_str(), 1);

  std::string logged;
  for (int i = 0; i < 300 && logged.empty(); ++i, usleep(10000)) {
    logged = testing_support::ReadFile(bin / "out");
  }
  const std::string prefix = "http://www.dorrimac.example/cgi-bin/gameres.pl?g=qxw&e=";
  ASSERT_EQ(logged.rfind(prefix, 0), 0u) << logged;
  const std::string address = logged.substr(0, logged.find('|'));
  EXPECT_EQ(logged, address + "|" + address + "\n");
  EXPECT_EQ(Decode(address.substr(prefix.size())), "1234\t1\tabc\tqxw\texe");
}

TEST(PublishCode, CodesAndCrc) {
  // Worked by hand; 1234 at EasyRide has a negative check sum.
  char code[kPublishCodeSize];
  using Case = std::tuple<i32, u8, const char*>;
  for (auto [score, skill, expected] : {Case{1520, 1, "279dba684fd2ec42"},
                                        Case{1234, 0, "279d5a8fa8350a86"},
                                        Case{0, 2, "0000000000000000"}}) {
    BuildPublishCode(code, score, skill);
    EXPECT_STREQ(code, expected) << score;
  }
  EXPECT_EQ(Crc32Bzip2(reinterpret_cast<const u8*>("123456789"), 9), 0xFC891918u);
}
