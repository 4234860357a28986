#include "PrintSettings.h"

#include "printing/ScreenInfo.h"
#include "printing/SettingsStore.h"
#include "printing/TextNumbers.h"

#include <iterator>
#include <optional>
#include <variant>

namespace {

const QString kFirstStartMarker = QStringLiteral("9999");

// Width and height default to the primary screen's size, which only the load knows.
enum class ScreenSide { None, Width, Height };

// One stored key: its name, the field it fills (whose type says how its text converts)
// and its default when absent.
struct Key {
    using Field = std::variant<qint16 PrintSettings::*, qint32 PrintSettings::*,
                               double PrintSettings::*, QString PrintSettings::*>;

    const char* name;
    Field field;
    QString defaultText;
    ScreenSide screen = ScreenSide::None;
};

// Every key, in load and save order.
const Key kKeys[] = {
    {"PrintSpecific", &PrintSettings::PrintSpecific, QStringLiteral("0")},
    {"X_Coord", &PrintSettings::X_Coord, QStringLiteral("0")},
    {"Y_Coord", &PrintSettings::Y_Coord, QStringLiteral("0")},
    {"W_Coord", &PrintSettings::W_Coord, QString(), ScreenSide::Width},
    {"H_Coord", &PrintSettings::H_Coord, QString(), ScreenSide::Height},
    {"ScaleFactorX", &PrintSettings::ScaleFactorX, QStringLiteral("1.00")},
    {"ScaleFactorY", &PrintSettings::ScaleFactorY, QStringLiteral("1.00")},
    {"PrintOrientation", &PrintSettings::PrintOrientation, QStringLiteral("2")},
    {"PrintNegative", &PrintSettings::PrintNegative, QStringLiteral("0")},
    {"PrintPrompt", &PrintSettings::PrintPrompt, QStringLiteral("0")},
    {"ScaleToFit", &PrintSettings::ScaleToFit, QStringLiteral("0")},
    {"GreyScale", &PrintSettings::GreyScale, QStringLiteral("0")},
    {"PrintDevice", &PrintSettings::PrintDevice, kSystemPrinter},
};

static_assert(std::size(kKeys) == kPrintSettingsKeyCount);

QString screenPixels(double twips, double twipsPerPixel) {
    return DoubleToText(twipsPerPixel > 0.0 ? twips / twipsPerPixel : 0.0);
}

QString defaultText(const Key& key, const ScreenInfo& screen) {
    switch (key.screen) {
    case ScreenSide::Width:
        return screenPixels(screen.widthTwips(), screen.twipsPerPixelX());
    case ScreenSide::Height:
        return screenPixels(screen.heightTwips(), screen.twipsPerPixelY());
    case ScreenSide::None:
        break;
    }
    return key.defaultText;
}

std::optional<qint16> convert(const QString& text, qint16 PrintSettings::*) {
    return TextToInt16(text);
}
std::optional<qint32> convert(const QString& text, qint32 PrintSettings::*) {
    return TextToInt32(text);
}
std::optional<double> convert(const QString& text, double PrintSettings::*) {
    return TextToDouble(text);
}
std::optional<QString> convert(const QString& text, QString PrintSettings::*) {
    return text;
}

QString textOf(qint16 value, QString (*)(double)) {
    return QString::number(value);
}
QString textOf(qint32 value, QString (*)(double)) {
    return QString::number(value);
}
QString textOf(double value, QString (*number)(double)) {
    return number(value);
}
QString textOf(const QString& value, QString (*)(double)) {
    return value;
}

} // namespace

void LoadPrintSettings(PrintSettings& s, SettingsStore& store, const ScreenInfo& screen) {
    for (const Key& key : kKeys) {
        const std::optional<QString> stored =
            store.read(kSettingsApplication, kSettingsSection, QLatin1String(key.name),
                       defaultText(key, screen));
        if (!stored)
            continue;
        std::visit(
            [&](auto field) {
                if (const auto value = convert(*stored, field))
                    s.*field = *value;
            },
            key.field);
    }
}

QList<std::pair<QString, QString>> PrintSettingsTexts(const PrintSettings& s,
                                                      QString (*number)(double)) {
    QList<std::pair<QString, QString>> texts;
    for (const Key& key : kKeys) {
        std::visit(
            [&](auto field) {
                texts.append({QLatin1String(key.name), textOf(s.*field, number)});
            },
            key.field);
    }
    return texts;
}

void SavePrintSettings(const PrintSettings& s, SettingsStore& store) {
    for (const auto& [key, text] : PrintSettingsTexts(s, DoubleToText))
        store.write(kSettingsApplication, kSettingsSection, key, text);
}

bool IsFirstStart(SettingsStore& store) {
    const std::optional<QString> text = store.read(
        kSettingsApplication, kSettingsSection, QStringLiteral("PrintSpecific"), kFirstStartMarker);
    return text && *text == kFirstStartMarker;
}

bool IsDefaultPrinterName(const QString& deviceName) {
    return deviceName == kSystemPrinter || deviceName == kSystemDefault;
}
