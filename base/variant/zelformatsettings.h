#pragma once
/// \file

#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringView>

/// The process-wide number and date conventions used whenever a value becomes
/// text or a text becomes a value: variants, FloatToStr and friends, report
/// display formats. Filled from the user's locale at first use; the host may
/// change fields at start-up and tests pin them. Not meant to be changed while
/// another thread formats.
struct TzelFormatSettings
{
    QLocale Locale;           ///< the user's locale: first try when reading numbers and dates
    QChar DecimalSeparator;   ///< written by float and currency texts; second try when reading
    QChar ThousandSeparator;  ///< digit group separator of display formats
    QString ShortDateFormat;  ///< date pattern in QLocale notation ("dd.MM.yyyy")
    QString LongDateFormat;   ///< long date pattern ("dddd, d. MMMM yyyy")
    QString ShortTimeFormat;  ///< time pattern without seconds ("HH:mm")
    QString LongTimeFormat;   ///< time pattern with seconds ("HH:mm:ss")

    /// Settings taken from Locale: separators, and date and time patterns
    /// with four-digit years and without time-zone fields.
    static TzelFormatSettings FromLocale(const QLocale &locale);
};

/// The current settings (from QLocale() until set).
const TzelFormatSettings &zelFormatSettings();
/// Replaces the current settings.
void zelSetFormatSettings(const TzelFormatSettings &settings);

/// Shortest general text of Value with at most 15 significant digits: fixed
/// notation for decimal exponents -5 to 14, otherwise "1.5E20"; uses the
/// current decimal separator.
QString zelFloatToStr(double value);
/// The same for a single, whose shortest form has at most 9 digits.
QString zelSingleToStr(float value);
/// Text of a currency value (scaled by 10000): no trailing zeros in the
/// fraction, the current decimal separator.
QString zelCurrToStr(qint64 scaled);
/// Day serial as text: the short date, followed by the long time unless the
/// time is midnight.
QString zelDateTimeToStr(double serial);
/// The date part of a day serial in the short date form.
QString zelDateToStr(double serial);
/// The time part of a day serial in the long time form.
QString zelTimeToStr(double serial);

/// Reads a finite number: in the user's locale first, then in plain notation
/// with the current decimal separator. Blanks around the number are ignored.
bool zelTryStrToFloat(QStringView text, double &value);
/// Reads a whole number in the user's locale, or in hexadecimal with a "$" or
/// "0x" prefix (a bit pattern: "$FFFFFFFFFFFFFFFF" is -1).
bool zelTryStrToInt64(QStringView text, qint64 &value);
/// Reads a date, a time or both in the user's patterns, then in ISO 8601.
bool zelTryStrToDateTime(QStringView text, double &serial);
