#pragma once
/// \file

#include <QtGlobal>

class QIODevice;

/// A place in a text: line and column, both from 1 (0 when not known).
struct TzelTextPosition
{
    int Line = 0;   ///< the line
    int Column = 0; ///< the character in the line, counting UTF-8 characters
};

/// The place of byte Offset in the text on Stream, read again from its start;
/// unknown for a stream that cannot be sought. Stream keeps its position.
TzelTextPosition zelTextPosition(QIODevice *stream, qint64 offset);
