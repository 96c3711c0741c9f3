#include "audio/music_player.h"

#include "platform/system.h"

MusicPlayer* MusicPlayer::Create(short tracks) {
  (void)tracks;
  MusicPlayer* player = new MusicPlayer();
  CheckAlloc(player);
  return player;
}
