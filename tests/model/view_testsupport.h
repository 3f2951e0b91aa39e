#pragma once

// Helpers shared by the view tests: pinned number formats, template
// round trips through the serializer, and small pictures made in memory.
#include "base/imaging/zelimagecodec.h"
#include "modeltest.h"

using ViewTest = ModelTest;

/// A Width x Height image whose pixel (x, y) is (x * 40, y * 40, 200, 255).
inline TzelImage zelTestImage(int width, int height)
{
    TzelImage image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Pixels.insert(image.Pixels.end(), {static_cast<unsigned char>(x * 40),
                                                     static_cast<unsigned char>(y * 40), 200, 255});
    return image;
}

/// zelTestImage encoded as PNG.
inline QByteArray zelTestPng(int width, int height)
{
    std::vector<unsigned char> png;
    EXPECT_TRUE(zelEncodePng(zelTestImage(width, height), png));
    return QByteArray(reinterpret_cast<const char *>(png.data()), qsizetype(png.size()));
}
