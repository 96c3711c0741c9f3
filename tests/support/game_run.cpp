#include "tests/support/game_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace testing_support {

namespace fs = std::filesystem;

bool InstallData(const std::string& dir) {
  const std::string built = DORRIMAC_BUILD_DIR;
  std::error_code error;
  if (fs::exists(built + "/640x480/bmst.bin") && fs::exists(built + "/wav/0.wav")) {
    fs::create_directory_symlink(built + "/640x480", dir + "/640x480", error);
    if (error) return false;
    fs::create_directory_symlink(built + "/wav", dir + "/wav", error);
    return !error;
  }
  // An empty image pack (no records) and a placeholder wave.
  return WriteFile(dir + "/640x480/bmst.bin", {0, 0, 0, 0}) && WriteFile(dir + "/wav/0.wav", {0});
}

GameRun::~GameRun() {
  client_.Close();
  game_.Stop();
  server_.Stop();
}

namespace {

std::string RecordPath(const std::string& userDir, int number) {
  char name[32];
  std::snprintf(name, sizeof name, "%06d.bin", number);
  return userDir + name;
}

}  // namespace

std::vector<unsigned char> GameRun::ReadRecord(int number) const {
  const std::string stored = ReadFile(RecordPath(UserDir(), number));
  std::vector<unsigned char> plain(stored.begin(), stored.end());
  for (size_t i = 0; i < plain.size(); ++i) plain[i] ^= static_cast<unsigned char>(number + i);
  return plain;
}

bool GameRun::WaitStill(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  RgbImage before = client_.Grab(window_);
  while (std::chrono::steady_clock::now() < end) {
    SleepMs(250);
    RgbImage now = client_.Grab(window_);
    if (now.pixels == before.pixels && !now.pixels.empty()) return true;
    before = std::move(now);
  }
  return false;
}

bool GameRun::Start(const GameOptions& options) {
  homePath_ = options.home.empty() ? home_.Path() : options.home;
  for (const auto& [number, bytes] : options.records) {
    std::vector<unsigned char> stored = bytes;
    for (size_t i = 0; i < stored.size(); ++i) stored[i] ^= static_cast<unsigned char>(number + i);
    if (!WriteFile(RecordPath(UserDir(), number), stored)) {
      error_ = "cannot write a record file";
      return false;
    }
  }
  if (!server_.Start(options.depth)) {
    skip_ = "Xvfb is not available";
    return false;
  }
  const std::string exe = install_ / "dorrimac";
  if (!CopyFile(DORRIMAC_EXE, exe)) {
    error_ = "cannot copy the game";
    return false;
  }
  if (options.withData && !InstallData(install_.Path())) {
    error_ = "cannot install the data";
    return false;
  }
  std::map<std::string, std::string> env = {{"DISPLAY", server_.Display()},
                                            {"HOME", homePath_}};
  for (const auto& [k, v] : options.env) env[k] = v;
  if (!game_.Start({exe}, env, install_.Path(), install_ / "stdout.txt",
                   install_ / "stderr.txt")) {
    error_ = "cannot start the game";
    return false;
  }
  if (!client_.Open(server_.Display())) {
    error_ = "cannot open the display";
    return false;
  }
  if (!options.waitForWindow) return true;
  window_ = client_.FindWindow("Dorrimac TM", 10000);
  if (!window_ || !client_.WaitMapped(window_, 5000)) {
    error_ = "the game window did not appear; stderr: " + Stderr();
    return false;
  }
  // The close protocol is the last thing the window sets up before the
  // game itself starts.
  for (int i = 0; i < 250 && client_.Protocols(window_).empty(); ++i) SleepMs(20);
  return true;
}

int GameRun::WaitExit(int timeoutMs) {
  const auto status = game_.Wait(timeoutMs);
  return status ? *status : -1;
}

RgbImage GameRun::Screenshot(const std::string& name) {
  // Let the game handle the events in flight (the first Expose) first.
  SleepMs(200);
  client_.Sync();
  RgbImage image = client_.Grab(window_);
  image.SavePng(ArtifactDir() + "/" + name + ".png");
  return image;
}

}  // namespace testing_support
