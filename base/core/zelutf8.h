#pragma once
/// \file

#include <QByteArray>
#include <QString>

/// Decodes Bytes as UTF-8 into Text. False when they are not UTF-8: Bad is
/// then the offset of the first byte that breaks the encoding (overlong
/// forms, surrogates and codes above U+10FFFF included).
bool zelDecodeUtf8(const QByteArray &bytes, QString &text, qsizetype &bad);

/// "line:column" (both 1-based, columns counted in characters) of byte
/// Offset of the UTF-8 text Bytes.
QString zelUtf8Position(const QByteArray &bytes, qsizetype offset);
