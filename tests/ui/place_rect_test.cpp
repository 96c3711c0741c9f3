// Rectangle placement: every mode inside a container with a margin, and
// outside it with a negative one.
#include "ui/place_rect.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceRect, EveryModeInsideAndOutside) {
  // A 20 x 10 rect starting at (1, 2) in the container (100, 200)-(199, 259).
  const Rect container(100, 200, 199, 259);
  struct Case {
    int mode, margin;
    int left, top;
  };
  const Case cases[] = {
      {0, 5, 105, 205},    {0, -3, 77, 187},    {1, 99, 140, 225},  {2, 5, 174, 205},
      {2, -3, 202, 187},   {3, 5, 105, 244},    {3, -3, 77, 262},   {4, 0, 179, 249},
      {4, -2, 201, 261},   {5, 5, 1, 2},        {6, 5, 140, 205},   {6, -3, 140, 187},
      {7, 10, 140, 239},   {7, -3, 140, 262},   {8, 5, 105, 225},   {8, -3, 77, 225},
      {9, 5, 174, 225},    {9, -3, 202, 225},   {10, 7, 1, 225},    {11, 7, 140, 2},
      {12, 5, 105, 2},     {12, -3, 77, 2},     {13, 5, 174, 2},    {13, -3, 202, 2},
      {14, 5, 1, 205},     {14, -3, 1, 187},    {15, 5, 1, 244},    {15, -3, 1, 262},
      {16, 5, 1, 2},       {-1, 5, 1, 2},
  };
  for (const Case& c : cases) {
    Rect r(1, 2, 20, 11);
    PlaceRect(r, container, c.mode, c.margin);
    EXPECT_EQ(r, Rect(c.left, c.top, c.left + 19, c.top + 9)) << c.mode << " " << c.margin;
  }
  // The alert's single button: bottom centre with margin 10 puts a 32-high
  // rect at bottom - 42; bottom-right with margin -2 at (right + 2, bottom + 2).
  Rect button(0, 0, 55, 31);
  PlaceRect(button, Rect(244, 182, 395, 297), 7, 10);
  EXPECT_EQ(button.top, 297 - 42);
  EXPECT_EQ(button.bottom, 297 - 11);
}

}  // namespace
