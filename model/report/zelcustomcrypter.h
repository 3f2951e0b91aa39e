#pragma once
/// \file

#include "model/report/zelstreamplugin.h"

/// The hook through which an encryption plug-in takes part in saving and
/// loading templates. No crypter is part of the library.
class TzelCustomCrypter : public TzelStreamPlugin<TzelCustomCrypter>
{
public:
    /// Deciphers Source with Key; True when Stream() now holds the plain data
    /// at position 0, False when Source is not enciphered.
    virtual bool Decrypt(QIODevice *source, const QByteArray &key) = 0;
    /// Enciphers the whole of Stream() into Dest with Key.
    virtual void Crypt(QIODevice *dest, const QByteArray &key) = 0;

    /// Makes Stream() a new memory stream.
    void CreateStream() { CreateMemoryStream(); }
};
