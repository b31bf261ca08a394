// Units the linear and row painters of pictures share: lengths in micrometres at
// 100 %, pictures in points or hundredths of a millimetre, heights in millimetres.
#pragma once

inline constexpr double kUmPerPoint = 352.777777777;
inline constexpr double kFineUnitsPerPoint = 35.277777777;
inline constexpr double kUmPerFineUnit = 10.0;
inline constexpr double kHeightFineUnitsPerMm = 100.0;
inline constexpr double kHeightPointsPerMm = 2.8346;
// Added before a width is cut to whole units.
inline constexpr double kWidthRound = 0.05;
