// The base of every element a screen shows: a rectangle, an optional text
// buffer of fixed capacity, a control state, a checked flag and a dirty
// flag. Controls never call their screen; the screen forwards input through
// the virtual slots, asks IsDirty each frame and calls Draw.
#pragma once

#include "platform/types.h"

class Surface;
struct SkinContext;

// Passes a new object to the program's allocation hook.
void NoteAllocation(const void* object);

// The state byte of a control.
enum ControlState : u8 {
  kControlNormal = 0,    // enabled, not focused
  kControlDisabled = 1,  // drawn greyed; skipped by focus moves and pointer hits
  kControlFocused = 2,
  kControlPressed = 3,  // a button held down, a radio or check box being pressed
  kControlHidden = 4,   // not drawn beyond its background; skipped like disabled
};

class IControl : public CBase {
 public:
  // A plain control with a text buffer of `capacity` characters (0: none).
  static IControl* Create(SkinContext* skin, u8 capacity);
  ~IControl() override;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Stores the skin and makes the text buffer (empty text) when capacity > 0.
  void Init(SkinContext* skin, u8 capacity);
  // Copies the rect, sets the text when one is given, then SetState(normal):
  // a new control becomes normal and dirty.
  void Place(const Rect& r, const char* newText);
  // Copies the text and marks the control dirty. A text longer than the
  // capacity is cut to the capacity; a control without a buffer ignores it.
  void SetText(const char* newText);

  // Clears the dirty flag; draws nothing.
  virtual void Draw(Surface* target);
  virtual void Tick() {}
  // Input slots; a non-zero result means the control consumed the event.
  virtual i32 OnKeyDown(u32 keysym);
  virtual i32 OnKeyUp(u32 keysym);
  virtual i32 OnChar(i32 character);
  virtual i32 OnMouseDown(i16 x, i16 y);
  virtual i32 OnMouseUp(i16 x, i16 y);
  virtual i32 OnMouseMove(i16 x, i16 y);
  // Store the value; dirty := whether it changed (so re-applying the same
  // value clears a pending redraw).
  virtual void SetState(u8 newState);
  virtual void SetChecked(u8 flag);
  virtual u8 IsChecked() { return checked; }
  virtual u8 IsDirty() { return dirty; }

  // The text, or "" for a control without a buffer.
  const char* Text() const { return text ? text : ""; }
  u8 State() const { return state; }
  // True for disabled and hidden controls: they take no focus and no hits.
  bool IsInactive() const { return state == kControlDisabled || state == kControlHidden; }
  bool HitTest(int x, int y) const { return rect.Contains(x, y); }
  // Top of a text row of 11 pixels centred in the rect.
  int TextRowTop() const { return rect.top + (rect.bottom - rect.top - 11) / 2; }

  u8 capacity = 0;
  Rect rect;
  SkinContext* skin = nullptr;
  u8 state = kControlHidden;
  u8 checked = 0;
  char* text = nullptr;  // capacity + 1 bytes, or null
  u8 colourIndex = 0;
  u8 groupId = 0;  // radio group (0 = none)
  u8 dirty = 0;

 protected:
  IControl() = default;
  // Clears the dirty flag and fills the rect with the skin's fill colour;
  // false when the control is hidden and nothing more is to be drawn.
  bool BeginDraw(Surface* target);
};

// The text capacity a control needs for a text: its length, as far as the
// 8-bit capacity reaches (longer texts are cut when set).
u8 TextCapacity(const char* text);

// The four edges of r as one-pixel lines in the colour, each clipped to the
// control's own rect.
void DrawRectOutline(const IControl& control, const Rect& r, u32 colour, Surface* target);

// The factories' common tail: hands the new control to the allocation hook
// and initialises it.
template <typename T>
T* InitControl(T* control, SkinContext* skin, u8 capacity) {
  NoteAllocation(control);
  control->Init(skin, capacity);
  return control;
}
