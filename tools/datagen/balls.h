// The balls: shaded glossy spheres in eight colours at 35 sizes, and the
// soft shadows they cast.
#pragma once

#include "tools/datagen/canvas.h"
#include "tools/datagen/picture.h"

namespace datagen {

// Colour 1..8: red, yellow, blue, green, purple, orange, white, cyan.
Color BallColour(int colour);

// A shaded ball of the given radius centred at (cx, cy), blended over the
// canvas (anti-aliased by supersampling).
void PaintBall(Canvas& canvas, float cx, float cy, float radius, Color base);
// A soft round shadow, darkest (by `strength`) in the middle.
void PaintBallShadow(Canvas& canvas, float cx, float cy, float radius, float strength);

// Frame k of colour c: (k + 4) pixels square, a disc of diameter k + 2 in
// the middle and a fully transparent one-pixel border.
Picture BallFrame(int colour, int frame);
// Shadow frame k: the same size as ball frame k, mask only.
Picture ShadowFrame(int frame);

}  // namespace datagen
