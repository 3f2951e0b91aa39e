#pragma once
/// \file

#include "base/stream/zelsegmentstream.h"

#include <QBuffer>

/// A segment stream held in memory.
class TzelMemoryStream : public TzelSegmentStream
{
public:
    /// An empty, closed memory stream.
    TzelMemoryStream() : TzelSegmentStream(std::make_unique<QBuffer>()) {}
};
