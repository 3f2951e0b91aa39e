#pragma once
/// \file

// Colours are 32-bit values: 0x00BBGGRR for plain colours, negative values
// for the desktop's named colours (window text, button face ...), which the
// drawing layer resolves through the window system's palette.
constexpr int clNone = 0x1FFFFFFF;   ///< no colour
constexpr int clBlack = 0x000000; ///< black
constexpr int clWhite = 0xFFFFFF; ///< white
constexpr int clGray = 0x808080; ///< grey
constexpr int clSystemColor = int(0x80000000u); ///< flag of the named desktop colours
constexpr int clWindowText = clSystemColor | 8; ///< the desktop's window text colour
constexpr int clBtnFace = clSystemColor | 15; ///< the desktop's button face colour
constexpr int clWindow = clSystemColor | 5; ///< the desktop's window background colour
