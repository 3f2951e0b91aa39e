#pragma once
/// \file

#include <QColor>

/// The colour a model colour value draws with: 0x00BBGGRR, or one of the
/// desktop's named colours (negative values) in its classic light scheme, so
/// a page looks the same on every machine. clNone gives a transparent colour.
QColor zelQColor(int color);
