#include "base/stream/zeltextposition.h"

#include <QIODevice>

TzelTextPosition zelTextPosition(QIODevice *stream, qint64 offset)
{
    TzelTextPosition place;
    if (!stream || stream->isSequential() || offset < 0)
        return place;
    const qint64 saved = stream->pos();
    if (!stream->seek(0))
        return place;
    int line = 1;
    int column = 1;
    char block[64 * 1024];
    for (qint64 done = 0; done < offset;) {
        const qint64 got = stream->read(block, std::min<qint64>(sizeof block, offset - done));
        if (got <= 0)
            break;
        for (qint64 i = 0; i < got; ++i) {
            const char c = block[i];
            if (c == '\n') {
                ++line;
                column = 1;
            } else if ((uchar(c) & 0xC0) != 0x80) { // not a continuation byte
                ++column;
            }
        }
        done += got;
    }
    stream->seek(saved);
    place.Line = line;
    place.Column = column;
    return place;
}
