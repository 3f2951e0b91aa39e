#include "preview/zelpreviewicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Draws Icon in a 16 × 16 box with Painter.
void Draw(QPainter &p, TzelPreviewIcon icon)
{
    const QColor ink(0x30, 0x40, 0x60);
    const QColor paper(Qt::white);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(paper);
    const auto page = [&](QRectF r) {
        p.drawRect(r);
        for (double y = r.top() + 3; y < r.bottom() - 1; y += 2.5)
            p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    };
    const auto triangle = [&](bool left, double x) {
        QPolygonF t;
        t << QPointF(left ? x + 5 : x, 3.5) << QPointF(left ? x : x + 5, 8) << QPointF(left ? x + 5 : x, 12.5);
        p.setBrush(ink);
        p.drawPolygon(t);
    };
    const auto magnifier = [&](const char *sign) {
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.2));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        p.setPen(QPen(ink, 1.4));
        if (*sign)
            p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
        if (*sign == '+')
            p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
    };
    switch (icon) {
    case piOpen: {
        p.setBrush(QColor(0xF0, 0xD0, 0x70));
        QPainterPath folder;
        folder.moveTo(1.5, 3.5);
        folder.lineTo(6, 3.5);
        folder.lineTo(7.5, 5);
        folder.lineTo(13.5, 5);
        folder.lineTo(13.5, 13.5);
        folder.lineTo(1.5, 13.5);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case piSave:
        p.setBrush(QColor(0x50, 0x70, 0xB0));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(paper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        break;
    case piPdf:
        page(QRectF(3.5, 1.5, 9, 13));
        p.setPen(QPen(QColor(0xC0, 0x20, 0x20), 1.6));
        p.drawLine(QPointF(5, 11), QPointF(11, 11));
        break;
    case piFind: magnifier(""); break;
    case piZoomIn: magnifier("+"); break;
    case piZoomOut: magnifier("-"); break;
    case piFullScreen:
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(ink);
        p.drawRect(QRectF(1.5, 2.5, 13, 2));
        break;
    case piOutline:
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(2 + (i % 2) * 3, 3 + i * 3.3), QPointF(14, 3 + i * 3.3));
        break;
    case piThumbnails:
        page(QRectF(1.5, 1.5, 6, 6));
        page(QRectF(8.5, 1.5, 6, 6));
        page(QRectF(1.5, 8.5, 6, 6));
        page(QRectF(8.5, 8.5, 6, 6));
        break;
    case piFirst:
        p.setBrush(ink);
        p.drawRect(QRectF(3, 3.5, 1.2, 9));
        triangle(true, 5);
        break;
    case piPrior: triangle(true, 5); break;
    case piNext: triangle(false, 6); break;
    case piLast:
        p.setBrush(ink);
        p.drawRect(QRectF(11.8, 3.5, 1.2, 9));
        triangle(false, 6);
        break;
    case piCollapse:
    case piExpand:
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        if (icon == piExpand)
            p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
        break;
    }
}

QPixmap Render(TzelPreviewIcon icon, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    Draw(painter, icon);
    return pixmap;
}

} // namespace

QIcon zelPreviewIcon(TzelPreviewIcon icon)
{
    QIcon result;
    result.addPixmap(Render(icon, 16));
    result.addPixmap(Render(icon, 32));
    return result;
}
