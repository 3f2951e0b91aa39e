#pragma once
/// \file

#include <QByteArray>
#include <functional>

/// Lets an object store data that no published property describes (a
/// picture's graphic, the position of a non-visual component) as named
/// entries of a binary property stream.
class TzelFiler
{
public:
    virtual ~TzelFiler();
    /// A binary entry: Read takes the stored bytes, Write gives them; HasData
    /// tells whether there is anything to store.
    virtual void DefineBinaryProperty(const char *name, const std::function<void(const QByteArray &)> &read,
                                      const std::function<QByteArray()> &write, bool hasData) = 0;
    /// An integer entry.
    virtual void DefineIntegerProperty(const char *name, const std::function<void(int)> &read,
                                       const std::function<int()> &write, bool hasData) = 0;
};
