#pragma once
/// \file

#include "base/variant/zelvariant.h"

#include <QString>

#include <span>

// Picture formats of numbers, dates and masked texts, as report display
// formats and scripts use them. Separators, date and time patterns and names
// come from zelFormatSettings(). A malformed picture raises TzelException.

/// Value in a float picture: up to three ';' sections (positive; negative
/// without sign; values rounding to zero with the first section's decimals),
/// an empty or missing section meaning the first one, which puts a '-' before
/// negatives and none before values rounding to zero. '0' is a digit, '#' a
/// digit only when significant, the first '.' the decimal separator (shown
/// only before fraction digits), ',' before it groups by thousands and prints
/// nothing; "E+00", "E-0", "e+0"... switch to scientific notation with as
/// many mantissa integer digits as integer placeholders (at least one) and no
/// grouping. Quoted and other characters are copied in place, extra integer
/// digits go before the first placeholder, and a section without placeholders
/// is all literal. The value is rounded in decimal, halves away from zero,
/// from its shortest text. An empty picture or first section gives
/// zelFloatToStr; NaN and infinities give "NAN", "INF" and "-INF".
QString zelFormatFloat(const QString &format, double value);
/// Day serial in a date-time picture (fields in any case): c, d, dd, ddd,
/// dddd, ddddd, dddddd, m, mm (minutes right after h or hh and any literals),
/// mmm, mmmm, yy, yyyy (also y and yyy), h, hh, n, nn, s, ss, z, zzz, t, tt,
/// am/pm and a/p (twelve-hour clock, the marker in the case written), ampm
/// (the locale's texts), '/' and ':' (the first separators of the short date
/// and time patterns); quoted and other characters are copied. An empty picture
/// acts like "c".
QString zelFormatDateTime(const QString &format, double serial);
/// Value in an edit mask "mask;save-literals;blank". Value characters fill the
/// placeholders L l A a C c 0 9 # in order; with save-literals other than '0'
/// a value character equal to the literal at its place is skipped. A character
/// not fitting its placeholder prints the blank (required) or a space
/// (optional); a missing one prints the blank ('_' unless given); extra ones
/// are dropped. '>' and '<' change the case of value characters, "<>" stops
/// that, '\' quotes the next character, '!' is ignored, ':' and '/' print the
/// time and date separators, '_' a space. An empty mask returns the value.
QString zelFormatMaskText(const QString &editMask, const QString &value);
/// Args in a printf-like format: "%[index:][-][width][.precision]type" with
/// d, u, x, e, f, g, n, m, s and p, "%%" for a percent sign.
QString zelFormatValues(const QString &format, std::span<const Variant> args);
