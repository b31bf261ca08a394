// Element bytes that several linear families share (widths in codebars.cpp).
#pragma once

namespace elem {

// 1016 um narrow elements and their wide partners.
constexpr unsigned char kNarrowBar = 130;
constexpr unsigned char kWideBar = 140;    // 2.5 : 1
constexpr unsigned char kWideBar22 = 150;  // 2.2 : 1
constexpr unsigned char kNarrowSpace = 128;
constexpr unsigned char kWideSpace = 129;    // 2.5 : 1
constexpr unsigned char kWideSpace22 = '}';  // 2.2 : 1

// Light margins: 1000 um and 300 um spaces.
constexpr unsigned char kQuiet1000 = 160;
constexpr unsigned char kQuiet300 = ')';

// 1000 um module bars and spaces (pharmacode and SICK code).
constexpr unsigned char kModuleBar = 184;
constexpr unsigned char kSpace2000 = '|';
constexpr unsigned char kSpace3000 = '/';
// 330 um modules (at the Laetus Mini widths 350, 1000, 650 and 1000 um).
constexpr unsigned char kBar1Module = 190;
constexpr unsigned char kBar3Modules = 202;
constexpr unsigned char kSpace2Modules = ':';
constexpr unsigned char kSpace3Modules = '=';

}  // namespace elem
