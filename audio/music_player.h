// The window's music object. No setting of the game turns music on, so its
// operations have nothing to do; the window creates it, the settings feed
// it and iconifying pauses it.
#pragma once

#include "platform/types.h"

class MusicPlayer : public CBase {
 public:
  static MusicPlayer* Create(short tracks);

  void Play(int track) { (void)track; }
  void SetEnabled(u8 on) { (void)on; }
  void SetVolume(int mode) { (void)mode; }
  void Pause() {}

 private:
  MusicPlayer() = default;
};
