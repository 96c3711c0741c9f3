// Where the program looks for each picture (image indices) and where it
// places them on the 640 x 480 game screen.
#pragma once

namespace datagen {

constexpr int kScreenW = 640, kScreenH = 480;

// Image indices.
constexpr int kShadowFirst = 0, kShadowFrames = 43;
constexpr int kBallColours = 8, kBallFrames = 35;
constexpr int BallIndex(int colour, int frame) { return 35 * colour + 8 + frame; }
constexpr int kRestFrame = 18;
constexpr int kTableFirst = 323;
constexpr int kMenuPressed = 327;
constexpr int kCue = 328;
constexpr int kScoreCaption = 329, kLevelCaption = 330;
constexpr int kBadgeFirst = 331;
constexpr int kWindowButtonFirst = 335;  // help, minimise, window size, close
constexpr int kTitleFirst = 339;
constexpr int kDigitFirst = 343;
constexpr int kControlFirst = 353;
constexpr int kGlyphFirst = 365;  // byte c (33..255) is kGlyphFirst + c - 33
constexpr int kAboutPicture = 588;
constexpr int kLowGlyphFirst = 589;  // bytes 1..31
constexpr int kImageCount = 620;

// Felt, cushions and the cue groove.
constexpr int kFeltLeft = 6, kFeltTop = 6, kFeltRight = 456;
constexpr int kRailRight = 460;
constexpr int kLosingLineY = 456;
constexpr int kShootX = 231, kShootY = 466;
constexpr int kGrooveLeft = 461, kGrooveTop = 11, kGrooveRight = 480, kGrooveBottom = 469;

// The panel at the right and what the game draws on it.
constexpr int kPanelLeft = 481;
constexpr int kMenuX = 511, kMenuY = 42, kMenuW = 100, kMenuH = 28;
constexpr int kWindowButtonX[4] = {560, 580, 599, 618};
constexpr int kWindowButtonY = 5, kWindowButtonSize = 19;
constexpr int kScoreCaptionX = 486, kScoreCaptionY = 272;
constexpr int kLevelCaptionX = 516, kLevelCaptionY = 330;
constexpr int kScoreDigitsY = 249, kLevelDigitsY = 307;
constexpr int kPanelRuleY = 300;  // the scoreboard's rule above the level
constexpr int kBadgeX = 486, kBadgeY = 364;
constexpr int kLinkLeft = 503, kLinkTop = 464;

}  // namespace datagen
