// Sending the best result of a skill to the online contest: the result is
// written as a short text, scrambled into decimal digits with the contest
// key and handed to a web browser as part of the contest's address. The
// program sends nothing itself; the browser does.
#pragma once

#include <string>
#include <sys/types.h>

#include "platform/types.h"
#include "shell/contest_key.h"

// The text of a result: the score, a tab, the skill counted from 1, a tab,
// the name, then "\tqxw\texe".
std::string ResultText(i32 score, u8 skill, const char* name);

// The digit string of a text: two checksum bytes and the text's bytes,
// each chained with the previous plain byte and the key, three decimal
// digits per byte. The block is handled by length: zero bytes in it are
// encoded like any other.
std::string EncodeResult(const std::string& text, const u8 key[kContestKeySize]);
// The same with the contest key.
std::string EncodeResult(const std::string& text);

// The submission address of the best result in the skill's table, or an
// empty text when the table cannot be read.
std::string ResultAddress(u8 skill);

// Starts a browser on the submission address of the skill's best result.
// Returns the browser's process id, or -1 when no browser was started (the
// table could not be read, or the start failed).
pid_t SubmitResult(u8 skill);
