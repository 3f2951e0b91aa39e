#pragma once
/// \file

#include "base/core/zelexception.h"
#include "base/stream/zeltextposition.h"

/// Raised for any structural fault of an XML stream, with the place where
/// reading stopped when the stream can tell it. The text is fixed and is not
/// looked up: the resource table itself is loaded through the XML layer.
class TzelInvalidXMLException : public TzelException
{
public:
    /// A fault at Place (unknown by default).
    explicit TzelInvalidXMLException(TzelTextPosition place = {})
        : TzelException(QStringLiteral("Invalid file format")), FPlace(place)
    {
    }

    /// Where reading stopped.
    TzelTextPosition Place() const { return FPlace; }

private:
    TzelTextPosition FPlace;
};
