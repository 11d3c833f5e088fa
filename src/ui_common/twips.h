// Twips, the unit of every designed position and width: 1440 per inch, 20 per point on paper,
// 15 per pixel on screen.
#pragma once

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;
inline constexpr int kTwipsPerPixel = 15;
