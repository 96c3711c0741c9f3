// Radio groups over a screen's control list: controls that share a group id
// other than 0 check one member at a time. Control 0, the screen's frame,
// never belongs to a group.
#pragma once

#include "platform/types.h"

class IControl;

// Position among the group's members (counted from 0, control 0 not
// counted) of the first checked one; with none checked, the member count
// minus 1; -1 for a list of fewer than two controls.
i16 GetGroupIndex(const PointerList<IControl>& controls, u8 group);
// Checks the n-th member of the group (from 0, list order) and unchecks the
// others.
void SetGroupIndex(const PointerList<IControl>& controls, u8 group, int n);
// Unchecks the first checked member of the group; returns its list index,
// or -1 for none or group 0.
i16 UncheckGroup(const PointerList<IControl>& controls, u8 group);
