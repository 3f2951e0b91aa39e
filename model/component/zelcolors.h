#pragma once

// Colours are 32-bit values: 0x00BBGGRR for plain colours, negative values
// for the desktop's named colours (window text, button face ...), which the
// drawing layer resolves through the window system's palette.
constexpr int clNone = 0x1FFFFFFF;   ///< no colour
constexpr int clBlack = 0x000000;
constexpr int clWhite = 0xFFFFFF;
constexpr int clGray = 0x808080;
constexpr int clSystemColor = int(0x80000000u);
constexpr int clWindowText = clSystemColor | 8;
constexpr int clBtnFace = clSystemColor | 15;
constexpr int clWindow = clSystemColor | 5;
