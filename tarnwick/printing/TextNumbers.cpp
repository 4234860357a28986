#include "TextNumbers.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Length of the number that starts at pos (sign, digits, fraction, exponent), or 0.
qsizetype numberLength(const QString& text, qsizetype pos) {
    const qsizetype start = pos;
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-'))
        ++pos;
    qsizetype digits = 0;
    while (pos < n && text[pos].isDigit() && text[pos].unicode() < 128) {
        ++pos;
        ++digits;
    }
    if (pos < n && text[pos] == u'.') {
        ++pos;
        while (pos < n && text[pos].isDigit() && text[pos].unicode() < 128) {
            ++pos;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when at least one digit follows it.
    if (pos < n && (text[pos] == u'e' || text[pos] == u'E')) {
        qsizetype e = pos + 1;
        if (e < n && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        qsizetype expDigits = 0;
        while (e < n && text[e].isDigit() && text[e].unicode() < 128) {
            ++e;
            ++expDigits;
        }
        if (expDigits > 0)
            pos = e;
    }
    return pos - start;
}

QLocale userLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

template <typename Int> std::optional<Int> textToInt(const QString& text) {
    const std::optional<double> value = TextToDouble(text);
    if (!value)
        return std::nullopt;
    const double rounded = RoundHalfEven(*value);
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(rounded);
}

} // namespace

bool IsNumeric(const QString& text) {
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n && isBlank(text[pos]))
        ++pos;
    const qsizetype len = numberLength(text, pos);
    if (len == 0)
        return false;
    pos += len;
    while (pos < n && isBlank(text[pos]))
        ++pos;
    return pos == n;
}

std::optional<double> TextToDouble(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = userLocale().toDouble(trimmed, &ok);
    if (!ok) {
        if (!IsNumeric(trimmed))
            return std::nullopt;
        value = QLocale::c().toDouble(trimmed, &ok);
    }
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint16> TextToInt16(const QString& text) {
    return textToInt<qint16>(text);
}

std::optional<qint32> TextToInt32(const QString& text) {
    return textToInt<qint32>(text);
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

QString DoubleToText(double value) {
    return userLocale().toString(value, 'g', 15);
}

QString FormatFixed3(double value) {
    // A value that rounds to zero is shown without a minus sign.
    if (std::fabs(value) < 0.0005)
        value = 0.0;
    return userLocale().toString(value, 'f', 3);
}

double LeadingNumber(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const qsizetype len = numberLength(text, pos);
    if (len == 0)
        return 0.0;
    bool ok = false;
    const double value = QLocale::c().toDouble(text.mid(pos, len), &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}
