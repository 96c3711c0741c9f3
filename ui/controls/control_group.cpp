#include "ui/controls/control_group.h"

#include "ui/controls/control.h"

i16 GetGroupIndex(const PointerList<IControl>& controls, u8 group) {
  if (controls.Count() < 2) return -1;
  int members = 0;
  for (int i = 1; i < controls.Count(); ++i) {
    IControl* c = controls.At(i);
    if (!c || c->groupId != group) continue;
    if (c->IsChecked()) return static_cast<i16>(members);
    ++members;
  }
  return static_cast<i16>(members - 1);
}

void SetGroupIndex(const PointerList<IControl>& controls, u8 group, int n) {
  int member = 0;
  for (int i = 1; i < controls.Count(); ++i) {
    IControl* c = controls.At(i);
    if (!c || c->groupId != group) continue;
    c->SetChecked(member == n ? 1 : 0);
    ++member;
  }
}

i16 UncheckGroup(const PointerList<IControl>& controls, u8 group) {
  if (group == 0) return -1;
  for (int i = 0; i < controls.Count(); ++i) {
    IControl* c = controls.At(i);
    if (c && c->groupId == group && c->IsChecked()) {
      c->SetChecked(0);
      return static_cast<i16>(i);
    }
  }
  return -1;
}
