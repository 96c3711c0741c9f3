// The addresses on the maker's web server and the key the contest server
// reads submitted results with. The server keeps the same key: changing it
// here makes every submission unreadable there.
#pragma once

#include "platform/types.h"

// The maker's web server, shared by the home page and the contest.
#define DORRIMAC_WEB_HOST "www.dorrimac.example"

constexpr const char* kWebHost = DORRIMAC_WEB_HOST;
// The maker's home page, opened from the bottom-right corner of the game.
constexpr const char* kHomePageAddress = "http://" DORRIMAC_WEB_HOST "/?r=qxw";
// The contest's submission address; the scrambled result follows "e=".
constexpr const char* kResultAddressPrefix =
    "http://" DORRIMAC_WEB_HOST "/cgi-bin/gameres.pl?g=qxw&e=";

constexpr int kContestKeySize = 10;

// Writes the 10-byte contest key. It is worked out on each call rather
// than kept as one value in the program.
void BuildContestKey(u8 key[kContestKeySize]);
