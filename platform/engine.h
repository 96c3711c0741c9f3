// The base of the game and of every screen: it draws a shared list of
// clips into the owner window's back buffer, in full or only where
// something changed, and carries the slots for start-up, ticks and input.
#pragma once

#include "platform/clip.h"
#include "platform/dirty_list.h"
#include "platform/image_pack.h"
#include "platform/types.h"

class OWindow;

class OEngine : public CBase {
 public:
  OEngine() = default;
  ~OEngine() override = default;
  OEngine(const OEngine&) = delete;
  OEngine& operator=(const OEngine&) = delete;

  // Keeps the four (none of them owned) and calls OnInit.
  void Init(OWindow* owner, ImagePack* images, PointerList<OClip>* clipList, DirtyList* dirtyList);

  // Slots; the defaults return 1 and do nothing else.
  virtual i32 OnInit() { return 1; }
  virtual i32 Activate() { return 1; }
  // Updates every clip of the list.
  virtual i32 Tick();
  virtual i32 OnKeyDown(u32 /*keysym*/) { return 1; }
  virtual i32 OnKeyUp(u32 /*keysym*/) { return 1; }
  virtual i32 OnChar(char /*c*/) { return 1; }
  virtual i32 OnMouseDown(i16 /*x*/, i16 /*y*/) { return 1; }
  virtual i32 OnMouseAux(i16 /*x*/, i16 /*y*/) { return 1; }
  virtual i32 OnMouseUp(i16 /*x*/, i16 /*y*/) { return 1; }
  virtual i32 OnMouseMove(i16 /*x*/, i16 /*y*/) { return 1; }
  virtual i32 OnReserved() { return 1; }
  virtual void SetState(u8 s) { state = s; }

  // Fills the back buffer with the background when clearFlag is set. With
  // lock, sets the drawing origin first and clears it afterwards; without,
  // the caller has set it.
  void ClearBackground(bool lock);
  // Redraws every visible clip (after the background fill when clearFlag
  // is set). The caller sends the window area.
  void DrawAll();
  // Repaints only where clips appeared, moved, changed or vanished (and
  // area too when addArea is set). Returns 1 with area set to the bounding
  // box of what was repainted, or 0 when nothing changed.
  i32 DrawDirty(Rect& area, u8 addArea);
  // Compare a clip with its state at the last dirty redraw and add the
  // areas to repaint: whole-pixel clips by their whole-pixel position,
  // sub-pixel clips by their exact position.
  void AddClipRects(OClip* clip);
  void AddSubpixelClipRects(OClip* clip);

  u8 state = 0;
  OWindow* window = nullptr;
  ImagePack* pack = nullptr;
  PointerList<OClip>* clips = nullptr;
  DirtyList* dirty = nullptr;
  u32 background = 0;  // 0x00RRGGBB
  u8 clearFlag = 0;    // 1: every redraw fills with the background first

 private:
  Surface* Target() const;
  // The clip's picture when it would be drawn: visible, with a picture in
  // the pack and a placement.
  const Image* ShownPicture(const OClip& clip) const;
  void CollectClip(OClip* clip, bool samePosition);
  void RepaintClip(Surface& target, OClip* clip);
};
