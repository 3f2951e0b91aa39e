#pragma once
/// \file

#include <QString>
#include <QStringView>

/// Escapes an attribute value: code 0, LF, CR, '"', '&', '<' and '>' become
/// decimal character references.
QString EscapeXMLText(const QString &s);
/// Reverses EscapeXMLText and the named references quot, amp, lt and gt.
/// A numeric reference with invalid digits raises TzelConvertError.
QString UnescapeXMLText(const QString &s);
/// The same for a piece of a longer text, copied only once.
QString UnescapeXMLText(QStringView s);
