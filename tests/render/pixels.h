#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

// Images the drawing tests draw on, and what they look for in them.

/// A white image of Width x Height pixels.
inline QImage zelWhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

/// The pixels of Image that are not white, in row order.
inline std::vector<QPoint> zelInkedPixels(const QImage &image)
{
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                points.emplace_back(x, y);
    return points;
}
