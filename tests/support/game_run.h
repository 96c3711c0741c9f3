// One run of the real game for an end-to-end test: a private X server, a
// temporary home, the executable with its data in a directory of its own,
// and an X client to drive it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/x_session.h"

namespace testing_support {

struct GameOptions {
  int depth = 24;
  bool withData = true;         // put the data next to the executable
  bool waitForWindow = true;
  std::map<std::string, std::string> env;  // extra environment
  // A home directory to use instead of a fresh one (kept after the run),
  // so that one run finds what an earlier one saved.
  std::string home;
  // Record files to put in the user directory before the start: record
  // number to plain bytes (scrambled on the way as the game does).
  std::map<int, std::vector<unsigned char>> records;
};

class GameRun {
 public:
  GameRun() = default;
  ~GameRun();

  // False (with the reason in Error()) when the server or the game could
  // not be started; SkipReason() is set when Xvfb is missing.
  bool Start(const GameOptions& options = GameOptions());
  // Waits for the game to end; its wait status, or -1 on time-out.
  int WaitExit(int timeoutMs);
  // The game's standard output and error so far.
  std::string Stdout() const { return ReadFile(install_ / "stdout.txt"); }
  std::string Stderr() const { return ReadFile(install_ / "stderr.txt"); }
  // Saves a screenshot of the window under the artefact directory and
  // returns the picture.
  RgbImage Screenshot(const std::string& name);

  const std::string& Home() const { return homePath_; }
  std::string UserDir() const { return homePath_ + "/.Dorrimac-1.2/"; }
  // The plain bytes of a record file in the user directory (empty when
  // there is none).
  std::vector<unsigned char> ReadRecord(int number) const;
  // Waits until two grabs taken a little apart are the same picture (the
  // game is waiting for the player); false on time-out.
  bool WaitStill(int timeoutMs);
  const std::string& InstallDir() const { return install_.Path(); }
  XClient& Client() { return client_; }
  Window GameWindow() const { return window_; }
  ChildProcess& Process() { return game_; }
  const std::string& Error() const { return error_; }
  const std::string& SkipReason() const { return skip_; }

 private:
  XvfbServer server_;
  TempDir home_;
  std::string homePath_;
  TempDir install_;
  ChildProcess game_;
  XClient client_;
  Window window_ = 0;
  std::string error_;
  std::string skip_;
};

// Fills dir with the data the game needs: the generated data of the build
// when it exists, else the least that lets the program start.
bool InstallData(const std::string& dir);

}  // namespace testing_support

// Starts a game run or skips the test when no X server can be had.
#define START_GAME_OR_SKIP(run, options)                          \
  do {                                                            \
    if (!(run).Start(options)) {                                  \
      if (!(run).SkipReason().empty()) GTEST_SKIP() << (run).SkipReason(); \
      FAIL() << (run).Error();                                    \
    }                                                             \
  } while (0)
