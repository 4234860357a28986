#include "PrintSettings.h"

#include "platform/ScreenInfo.h"
#include "platform/SettingsStore.h"
#include "printing/TextNumbers.h"

#include <functional>
#include <optional>

namespace {

const QString kFirstStartMarker = QStringLiteral("9999");

struct Key {
    const char* name;
    QString defaultText;
    // Converts and assigns; false leaves the field untouched.
    std::function<bool(const QString&)> assign;
};

template <typename T, typename Convert>
std::function<bool(const QString&)> into(T& field, Convert convert) {
    return [&field, convert](const QString& text) {
        const auto value = convert(text);
        if (!value)
            return false;
        field = *value;
        return true;
    };
}

QString screenPixels(double twips, double twipsPerPixel) {
    return DoubleToText(twipsPerPixel > 0.0 ? twips / twipsPerPixel : 0.0);
}

} // namespace

void LoadPrintSettings(PrintSettings& s, SettingsStore& store, const ScreenInfo& screen) {
    const auto text = [](const QString& t) { return std::optional<QString>(t); };
    const Key keys[] = {
        {"PrintSpecific", QStringLiteral("0"), into(s.PrintSpecific, TextToInt16)},
        {"X_Coord", QStringLiteral("0"), into(s.X_Coord, TextToInt32)},
        {"Y_Coord", QStringLiteral("0"), into(s.Y_Coord, TextToInt32)},
        {"W_Coord", screenPixels(screen.widthTwips(), screen.twipsPerPixelX()),
         into(s.W_Coord, TextToInt32)},
        {"H_Coord", screenPixels(screen.heightTwips(), screen.twipsPerPixelY()),
         into(s.H_Coord, TextToInt32)},
        {"ScaleFactorX", QStringLiteral("1.00"), into(s.ScaleFactorX, TextToDouble)},
        {"ScaleFactorY", QStringLiteral("1.00"), into(s.ScaleFactorY, TextToDouble)},
        {"PrintOrientation", QStringLiteral("2"), into(s.PrintOrientation, TextToInt16)},
        {"PrintNegative", QStringLiteral("0"), into(s.PrintNegative, TextToInt16)},
        {"PrintPrompt", QStringLiteral("0"), into(s.PrintPrompt, TextToInt16)},
        {"ScaleToFit", QStringLiteral("0"), into(s.ScaleToFit, TextToInt16)},
        {"GreyScale", QStringLiteral("0"), into(s.GreyScale, TextToInt16)},
        {"PrintDevice", kSystemPrinter, into(s.PrintDevice, text)},
    };
    for (const Key& key : keys) {
        const std::optional<QString> stored = store.read(kSettingsApplication, kSettingsSection,
                                                         QLatin1String(key.name), key.defaultText);
        if (stored)
            key.assign(*stored);
    }
}

void SavePrintSettings(const PrintSettings& s, SettingsStore& store) {
    const std::pair<const char*, QString> values[] = {
        {"PrintSpecific", QString::number(s.PrintSpecific)},
        {"X_Coord", QString::number(s.X_Coord)},
        {"Y_Coord", QString::number(s.Y_Coord)},
        {"W_Coord", QString::number(s.W_Coord)},
        {"H_Coord", QString::number(s.H_Coord)},
        {"ScaleFactorX", DoubleToText(s.ScaleFactorX)},
        {"ScaleFactorY", DoubleToText(s.ScaleFactorY)},
        {"PrintOrientation", QString::number(s.PrintOrientation)},
        {"PrintNegative", QString::number(s.PrintNegative)},
        {"PrintPrompt", QString::number(s.PrintPrompt)},
        {"ScaleToFit", QString::number(s.ScaleToFit)},
        {"GreyScale", QString::number(s.GreyScale)},
        {"PrintDevice", s.PrintDevice},
    };
    for (const auto& [key, text] : values)
        store.write(kSettingsApplication, kSettingsSection, QLatin1String(key), text);
}

bool IsFirstStart(SettingsStore& store) {
    const std::optional<QString> text = store.read(
        kSettingsApplication, kSettingsSection, QStringLiteral("PrintSpecific"), kFirstStartMarker);
    return text && *text == kFirstStartMarker;
}

bool IsDefaultPrinterName(const QString& deviceName) {
    return deviceName == kSystemPrinter || deviceName == kSystemDefault;
}
