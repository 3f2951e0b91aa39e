#pragma once

#include "base/core/zelexception.h"

// Raised for any structural fault of an XML stream. The text is fixed and is
// not looked up: the resource table itself is loaded through the XML layer.
class TzelInvalidXMLException : public TzelException
{
public:
    TzelInvalidXMLException() : TzelException(QStringLiteral("Invalid file format")) {}
};
