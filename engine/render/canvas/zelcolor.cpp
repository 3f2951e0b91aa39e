#include "engine/render/canvas/zelcolor.h"

#include "model/component/zelcolors.h"

#include <array>

namespace {

// The desktop's named colours by index (the low byte of a system colour), in
// the classic light scheme: printed pages must not follow the user's theme.
constexpr std::array<QRgb, 31> systemColors = {
    0xFFC8C8C8, // scroll bar
    0xFF000000, // background
    0xFF99B4D1, // active caption
    0xFFBFCDDB, // inactive caption
    0xFFF0F0F0, // menu
    0xFFFFFFFF, // window
    0xFF646464, // window frame
    0xFF000000, // menu text
    0xFF000000, // window text
    0xFF000000, // caption text
    0xFFB4B4B4, // active border
    0xFFF4F7FC, // inactive border
    0xFFABABAB, // application workspace
    0xFF0078D7, // highlight
    0xFFFFFFFF, // highlight text
    0xFFF0F0F0, // button face
    0xFFA0A0A0, // button shadow
    0xFF6D6D6D, // grey text
    0xFF000000, // button text
    0xFF000000, // inactive caption text
    0xFFFFFFFF, // button highlight
    0xFF696969, // 3D dark shadow
    0xFFE3E3E3, // 3D light
    0xFF000000, // info text
    0xFFFFFFE1, // info background
    0xFFF0F0F0, // (unused)
    0xFF0066CC, // hot light
    0xFFB9D1EA, // gradient active caption
    0xFFD7E4F2, // gradient inactive caption
    0xFF3399FF, // menu highlight
    0xFFF0F0F0, // menu bar
};

} // namespace

QColor zelQColor(int color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color < 0) {
        const int index = color & 0xFF;
        return QColor::fromRgb(index < int(systemColors.size()) ? systemColors[size_t(index)] : 0xFF000000);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}
