#pragma once
/// \file

#include <QByteArray>

class TzelPersistent;

// The binary property stream behind the "PropData" attribute: each entry is
// a name (a length byte and 8-bit characters), a value-type byte and the value.

/// The entries Object defines through DefineProperties; empty when it stores none.
QByteArray zelWritePropData(const TzelPersistent &object);
/// Applies the entries of Data to Object. A damaged stream is read as far as
/// it goes; what the object refuses raises its TzelException.
void zelReadPropData(TzelPersistent &object, const QByteArray &data);
