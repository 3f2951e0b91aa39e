#pragma once
/// \file

#include "base/stream/zelsegmentstream.h"

#include <QFile>

/// A segment stream on a file.
class TzelFileStream : public TzelSegmentStream
{
public:
    /// A closed stream on the file FileName.
    explicit TzelFileStream(const QString &fileName) : TzelSegmentStream(std::make_unique<QFile>(fileName)) {}
};
