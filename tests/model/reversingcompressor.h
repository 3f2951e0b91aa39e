#pragma once

// A compressor plug-in for tests: it marks its output with "ZC" and reverses
// the bytes; "ZCbroken" fails to decompress. Every call is logged.
#include "model/report/zelcustomcompressor.h"

#include <QIODevice>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

/// The calls the test plug-ins received, in order.
inline QStringList &zelHookLog()
{
    static QStringList log;
    return log;
}

// Marks its output with a prefix and reverses the bytes.
class ReversingCompressor : public TzelCustomCompressor
{
public:
    bool Decompress(QIODevice *source) override
    {
        zelHookLog() << QStringLiteral("decompress");
        if (source->peek(2) != "ZC")
            return false;
        source->read(2);
        QByteArray data = source->readAll();
        if (data == "broken")
            throw std::runtime_error("corrupt");
        std::reverse(data.begin(), data.end());
        Stream()->write(data);
        Stream()->seek(0);
        return true;
    }
    void Compress(QIODevice *dest) override
    {
        zelHookLog() << QStringLiteral("compress");
        QByteArray data = Stream()->readAll();
        std::reverse(data.begin(), data.end());
        dest->write("ZC" + data);
    }
};
