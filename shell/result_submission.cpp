#include "shell/result_submission.h"

#include <cstdio>

#include "platform/str.h"
#include "platform/system.h"
#include "shell/top10_record.h"

namespace {

constexpr u8 kChecksumXor = 0xE6;
constexpr u8 kChainStart = 0x7D;

}  // namespace

std::string ResultText(i32 score, u8 skill, const char* name) {
  char number[12];
  IntToStr(number, score);
  std::string text = number;
  text += '\t';
  text += std::to_string(skill + 1);
  text += '\t';
  text += name;
  text += "\tqxw\texe";
  return text;
}

std::string EncodeResult(const std::string& text, const u8 key[kContestKeySize]) {
  u8 sum = 0;
  u8 mixed = 0;
  for (const char c : text) {
    sum = static_cast<u8>(sum + static_cast<u8>(c));
    mixed = static_cast<u8>(mixed + (static_cast<u8>(c) ^ kChecksumXor));
  }
  std::string block;
  block += static_cast<char>(sum);
  block += static_cast<char>(mixed);
  block += text;

  std::string digits;
  digits.reserve(3 * block.size());
  u8 prev = kChainStart;
  for (size_t i = 0; i < block.size(); ++i) {
    const u8 plain = static_cast<u8>(block[i]);
    const u8 v = static_cast<u8>(prev ^ plain ^ key[i % kContestKeySize]);
    char triple[4];
    std::snprintf(triple, sizeof(triple), "%03u", static_cast<unsigned>(v));
    digits += triple;
    prev = plain;  // the chain runs on the plain bytes
  }
  return digits;
}

std::string EncodeResult(const std::string& text) {
  u8 key[kContestKeySize];
  BuildContestKey(key);
  return EncodeResult(text, key);
}

std::string ResultAddress(u8 skill) {
  Top10Record table;
  table.Reset(nullptr);
  if (!table.Read(skill)) return std::string();
  return kResultAddressPrefix + EncodeResult(ResultText(table.scores[0], skill, table.names[0]));
}

pid_t SubmitResult(u8 skill) {
  const std::string address = ResultAddress(skill);
  if (address.empty()) return -1;
  return OpenURL(address.c_str());
}
