#include "tests/support/game_run.h"

#include <sys/stat.h>
#include <unistd.h>

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

bool GameRun::Start(const GameOptions& options) {
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
                                            {"HOME", home_.Path()}};
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
