// Result submission: the scrambled digits, a decoder standing in for the
// contest server, the address the browser gets, and the contest code.
#include "shell/result_submission.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "shell/publish_code.h"
#include "shell/top10_record.h"
#include "tests/support/process.h"
#include "tests/ui/ui_test_support.h"

namespace {

// What the contest server does with the digits: undo the chain and check
// both checksums. Empty when the digits do not decode.
std::string Decode(const std::string& digits) {
  u8 key[kContestKeySize];
  BuildContestKey(key);
  if (digits.size() % 3 != 0 || digits.size() < 6) return "";
  std::string block;
  u8 prev = 0x7D;
  for (size_t i = 0; i < digits.size() / 3; ++i) {
    const int v = std::stoi(digits.substr(3 * i, 3));
    if (v > 255) return "";
    const u8 plain = static_cast<u8>(v ^ prev ^ key[i % kContestKeySize]);
    block += static_cast<char>(plain);
    prev = plain;
  }
  const std::string text = block.substr(2);
  u8 sum = 0, mixed = 0;
  for (char c : text) {
    sum = static_cast<u8>(sum + static_cast<u8>(c));
    mixed = static_cast<u8>(mixed + (static_cast<u8>(c) ^ 0xE6));
  }
  if (static_cast<u8>(block[0]) != sum || static_cast<u8>(block[1]) != mixed) return "";
  return text;
}

}  // namespace

TEST(ResultSubmission, EncodesAndDecodes) {
  const u8 zero[kContestKeySize] = {};
  EXPECT_EQ(EncodeResult(ResultText(1520, 1, "ABC"), zero),
            "251184015004007002057059059072003001074120009015126108029029");

  // The real key: the server recovers every text, zero bytes included.
  const std::string longest = ResultText(-2147483647 - 1, 3, std::string(29, 'z').c_str());
  ASSERT_EQ(longest.size(), 51u);
  // A zero byte in the text, and a first checksum that comes out 0.
  const std::string withZero("a\0b", 3), zeroSum("\x80\x80", 2);
  for (const std::string& text : {ResultText(1, 0, "A"), longest, withZero, zeroSum}) {
    const std::string digits = EncodeResult(text);
    EXPECT_EQ(digits.size(), 3 * (text.size() + 2)) << text;
    EXPECT_EQ(Decode(digits), text);
    EXPECT_EQ(EncodeResult(text), digits);  // nothing depends on time or chance
  }
  u8 key[kContestKeySize];
  BuildContestKey(key);
  EXPECT_NE(std::string(key, key + kContestKeySize), std::string(kContestKeySize, '\0'));
}

TEST(ResultSubmission, BrowserGetsTheBestResultOnlyWhenTheTableReads) {
  ui_testing::UserDirScope dirs;
  testing_support::TempDir bin;
  ASSERT_EQ(symlink(FAKE_BROWSER, (bin / "xdg-open").c_str()), 0);
  const std::string out = bin / "out";
  setenv("FAKE_BROWSER_OUT", out.c_str(), 1);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", bin.Path().c_str(), 1);

  // No table for skill 0 yet: no browser.
  EXPECT_EQ(SubmitResult(0), -1);
  Top10Record table;
  table.Reset(nullptr);
  table.Insert("abc", 1234, 1, nullptr);
  table.Insert("second", 99, 1, nullptr);
  ASSERT_EQ(table.Write(0), 1u);
  EXPECT_GT(SubmitResult(0), 0);
  setenv("PATH", oldPath.c_str(), 1);

  std::string logged;
  for (int i = 0; i < 300 && logged.empty(); ++i, usleep(10000)) logged = testing_support::ReadFile(out);
  const std::string prefix = "http://www.dorrimac.example/cgi-bin/gameres.pl?g=qxw&e=";
  ASSERT_EQ(logged.rfind(prefix, 0), 0u) << logged;
  const std::string address = logged.substr(0, logged.find('|'));
  EXPECT_EQ(logged, address + "|" + address + "\n");  // one start, one address
  EXPECT_EQ(Decode(address.substr(prefix.size())), "1234\t1\tabc\tqxw\texe");
}

TEST(PublishCode, CodeHexAndCrc) {
  struct Case {
    i32 score;
    u8 skill;
    const char* code;
  };
  // Worked by hand from the code's steps; 1234 at EasyRide has a negative
  // check sum.
  const Case cases[] = {{1520, 1, "279dba684fd2ec42"},
                        {1234, 0, "279d5a8fa8350a86"},
                        {2147483647, 3, "279d31e1b9db1fbe"},
                        {0, 2, "0000000000000000"},
                        {-7, 2, "0000000000000000"}};
  for (const Case& c : cases) {
    char code[kPublishCodeSize];
    BuildPublishCode(code, c.score, c.skill);
    EXPECT_STREQ(code, c.code) << c.score;
  }
  char hex[9];
  HexU32(0xFC891918u, hex);
  EXPECT_STREQ(hex, "fc891918");
  HexU32(0x7u, hex);
  EXPECT_STREQ(hex, "00000007");

  const char check[] = "123456789";
  EXPECT_EQ(Crc32Bzip2(reinterpret_cast<const u8*>(check), 9), 0xFC891918u);
  EXPECT_EQ(Crc32Bzip2(nullptr, 0), 0u);
}
