#pragma once
/// \file

#include <QString>

class TzelXMLItem;

// Attributes of a prepared report's elements, read without raising. A file
// may hold a malformed character reference in any attribute, and most are
// read long after loading, by operations that must not fail for it: such a
// value reads as empty (a number as 0).

/// Attribute Name of Item, unescaped; empty when missing or malformed (then *Valid is False).
QString zelAttr(const TzelXMLItem *item, const QString &name, bool *valid = nullptr);
/// Attribute Name of Item as an integer; 0 when missing or not a number.
int zelAttrInt(const TzelXMLItem *item, const QString &name);
/// Attribute Name of Item as a float (either decimal separator); 0 when
/// missing or not a number. *Present tells whether the attribute is there.
double zelAttrFloat(const TzelXMLItem *item, const QString &name, bool *present = nullptr);
