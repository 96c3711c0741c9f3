#include "platform/engine.h"

#include "platform/window.h"

void OEngine::Init(OWindow* owner, ImagePack* images, PointerList<OClip>* clipList,
                   DirtyList* dirtyList) {
  window = owner;
  pack = images;
  clips = clipList;
  dirty = dirtyList;
  OnInit();
}

i32 OEngine::Tick() {
  if (clips) {
    for (OClip* clip : *clips) clip->Update();
  }
  return 1;
}

Surface* OEngine::Target() const { return window ? window->BackBuffer() : nullptr; }

const Image* OEngine::ShownPicture(const OClip& clip) const {
  if (!clip.visible || !pack) return nullptr;
  const Image* picture = pack->GetImage(clip.imageIndex);
  int drawX = 0;
  int drawY = 0;
  Rect area;
  return picture && clip.Place(*picture, drawX, drawY, area) ? picture : nullptr;
}

void OEngine::ClearBackground(bool lock) {
  Surface* target = Target();
  if (!target) return;
  if (lock) target->Lock();
  if (clearFlag) target->Fill(background);
  if (lock) target->Unlock();
}

void OEngine::DrawAll() {
  Surface* target = Target();
  if (!target) return;
  target->Lock();
  if (clearFlag) target->Fill(background);
  if (clips) {
    for (OClip* clip : *clips) {
      if (const Image* picture = ShownPicture(*clip)) clip->Draw(*target, *picture, nullptr);
    }
  }
  target->Unlock();
}

void OEngine::AddClipRects(OClip* clip) {
  CollectClip(clip, (clip->x >> 8) == (clip->prevX >> 8) && (clip->y >> 8) == (clip->prevY >> 8));
}

void OEngine::AddSubpixelClipRects(OClip* clip) {
  CollectClip(clip, clip->x == clip->prevX && clip->y == clip->prevY);
}

void OEngine::CollectClip(OClip* clip, bool samePosition) {
  // A clip counts as visible only when it can be drawn, so one whose
  // picture is missing neither paints nor leaves an area behind.
  const Image* picture = ShownPicture(*clip);
  const bool shown = picture != nullptr;
  const bool wasShown = clip->prevVisible != 0;
  if (shown == wasShown &&
      (!shown || (samePosition && clip->imageIndex == clip->prevImage &&
                  clip->alpha == clip->prevAlpha))) {
    clip->changed = 0;
    return;
  }
  if (shown) {
    int drawX = 0;
    int drawY = 0;
    clip->Place(*picture, drawX, drawY, clip->rect);
    dirty->Add(clip->rect);
  }
  if (wasShown) dirty->Add(clip->prevRect);
  clip->changed = static_cast<u8>((shown ? 2 : 0) | (wasShown ? 1 : 0));
}

void OEngine::RepaintClip(Surface& target, OClip* clip) {
  const Image* picture = ShownPicture(*clip);
  if (picture && (clip->changed & 2)) {
    clip->Draw(target, *picture, nullptr);
  } else if (picture && clip->changed == 0 && clip->prevVisible) {
    // Unchanged: only the parts that lie under a repainted area.
    for (int i = 0; i < dirty->count; ++i) {
      const Rect& d = dirty->items[i];
      if (!d.Overlaps(clip->rect)) continue;
      const Rect region = IntersectRect(d, clip->rect);
      clip->Draw(target, *picture, &region);
    }
  }
  if (clip->changed) {
    clip->prevVisible = (clip->changed & 2) ? 1 : 0;
    clip->prevImage = clip->imageIndex;
    clip->prevAlpha = clip->alpha;
    clip->prevX = clip->x;
    clip->prevY = clip->y;
    clip->prevRect = clip->rect;
  }
}

i32 OEngine::DrawDirty(Rect& area, u8 addArea) {
  Surface* target = Target();
  if (!target || !dirty) return 0;
  dirty->Clear();
  if (addArea) dirty->Add(area);
  if (clips) {
    for (OClip* clip : *clips) {
      if (!clip->visible && !clip->prevVisible) {
        clip->changed = 0;
      } else if (clip->subpixel) {
        AddSubpixelClipRects(clip);
      } else {
        AddClipRects(clip);
      }
    }
  }
  if (dirty->count == 0) return 0;

  target->Lock();
  if (clearFlag) {
    for (int i = 0; i < dirty->count; ++i) target->FillRect(background, dirty->items[i]);
  }
  if (clips) {
    for (OClip* clip : *clips) {
      if (clip->visible || clip->prevVisible) RepaintClip(*target, clip);
    }
  }
  target->Unlock();
  area = dirty->Bounds();
  return 1;
}
