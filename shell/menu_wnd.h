// The game's main menu: a popup menu with the game's commands. Choosing an
// item closes it and hands the item's command to the game's window;
// closing it without a choice gives the input back to the paused game.
#pragma once

#include "ui/menu.h"

class GWindow;

class GMenuWnd : public IMenu {
 public:
  // A new main menu with the items for the game's present state; the
  // caller pushes it.
  static GMenuWnd* Create(GWindow* window);

  // Adds the items in the current language, sizes the box and opens.
  i32 OnInit() override;
  // Closes once an item with a command has been chosen.
  i32 Tick() override;

 private:
  GMenuWnd() = default;
};
