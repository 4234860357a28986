#pragma once

#include <QString>

#include <optional>

// The text and number conversions the settings store and the configuration
// dialog rely on. They touch nothing outside the process, so they live in the
// core; the user's locale is Qt's default locale.

// Whole text is a number: blanks around it, an optional sign, digits with an
// optional fraction ("." as the point), an optional exponent. Empty fails.
bool IsNumeric(const QString& text);

// Text to double: the user's locale first, then the "." form, so a value written
// under one locale still reads under another. Fails on anything else.
std::optional<double> TextToDouble(const QString& text);

// Text to integer, a fractional text rounded to the nearest integer with halves
// going to the even neighbour (2.5 gives 2). Fails when not a number or out of range.
std::optional<qint16> TextToInt16(const QString& text);
std::optional<qint32> TextToInt32(const QString& text);

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// General decimal form, up to 15 significant digits, the locale's decimal separator.
QString DoubleToText(double value);

// The pattern "0.000": at least one integer digit, exactly three decimals, rounded.
QString FormatFixed3(double value);

// The number at the start of the text, read with "." as the point: leading blanks
// are skipped and reading stops at the first character that cannot continue it.
// No number at all gives 0.
double LeadingNumber(const QString& text);
