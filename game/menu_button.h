// The five window buttons drawn in the game's own frame. Each is a clip of
// its pressed look, shown only while the button is held down (state 2).
#pragma once

#include "platform/clip.h"
#include "platform/types.h"

class ImagePack;

// The menu button; the base of the other four.
class GMenuButton : public OClip {
 public:
  // The menu button's picture and place.
  GMenuButton() : GMenuButton(327, 511, 42) {}
  // A button showing the image at (x, y) pixels, top-left anchored, in
  // state 1 and hidden.
  GMenuButton(int image, int x, int y);

  // 0 and 1 hide the pressed look; 2 shows it when the button has a
  // picture; other states are only stored.
  void SetState(u8 s) override;
};

class GHelpButton : public GMenuButton {
 public:
  GHelpButton() : GMenuButton(335, 560, 5) {}
};

class GMinButton : public GMenuButton {
 public:
  GMinButton() : GMenuButton(336, 580, 5) {}
};

class GMaxButton : public GMenuButton {
 public:
  GMaxButton() : GMenuButton(337, 599, 5) {}
};

class GCloseButton : public GMenuButton {
 public:
  GCloseButton() : GMenuButton(338, 618, 5) {}
};

// True when pixel (x, y) lies on the clip's picture placed at its position
// (the anchor is not applied); false for a clip without a picture.
u8 HitTestClip(const OClip& clip, int x, int y, const ImagePack* pack);
