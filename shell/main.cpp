// Dorrimac: finds the data and the player's directory, opens the game's
// window and runs it.
#include <cstdio>
#include <cstdlib>

#include "platform/record_file.h"
#include "platform/startup.h"
#include "platform/system.h"
#include "shell/gwindow.h"

int main(int argc, char** argv) {
  if (!ChooseDataDir(argc > 0 ? argv[0] : nullptr)) {
    std::fputs(kMissingDataMessage, stdout);
    std::fflush(stdout);
    std::exit(-1);
  }
  if (!MakeUserDir()) {
    std::fputs("Cannot find the home directory: set HOME.\n", stderr);
    return 1;
  }
  // Temporary files of saves that were killed before they were renamed.
  RemoveRecordTemporaries(kAnyRecord);

  GWindow window;
  if (!window.Create("Dorrimac TM", "Dorrimac TM", 640, 480, 0)) {
    ShowError("Cannot innitialize the application! Please reinstall.");
    return 1;
  }
  window.Start();
  window.Run();
  return 0;
}
