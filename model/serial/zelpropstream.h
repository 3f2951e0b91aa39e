#pragma once

#include <QByteArray>

class TzelPersistent;

// The binary property stream behind the "PropData" attribute: each entry is
// a name (a length byte and 8-bit characters), a value-type byte and the value.

/// The entries Object defines through DefineProperties; empty when it stores none.
QByteArray zelWritePropData(const TzelPersistent &object);
/// Applies the entries of Data to Object; damaged data is ignored.
void zelReadPropData(TzelPersistent &object, const QByteArray &data);
