// PrintSettings.h: Twk00, the print settings (PrintSettings) and how they are stored.
#pragma once

#include <QList>
#include <QString>

#include <cstddef>
#include <utility>

class ScreenInfo;
class SettingsStore;

// Where the print settings live in the settings store.
inline const QString kSettingsApplication = QStringLiteral("Tarnwick32");
inline const QString kSettingsSection = QStringLiteral("General");

// The two names that stand for the system's default printer.
inline const QString kSystemPrinter = QStringLiteral("<System Printer>");
inline const QString kSystemDefault = QStringLiteral("<System Default>");

// The fields below, each stored under its own name.
inline constexpr std::size_t kPrintSettingsKeyCount = 13;

// The program-wide print settings. Zero-filled until the first load; each field
// is stored under its own name.
struct PrintSettings {
    qint16 PrintSpecific = 0; // nonzero: print the defined area
    qint32 X_Coord = 0;       // defined area, screen pixels
    qint32 Y_Coord = 0;
    qint32 W_Coord = 0;
    qint32 H_Coord = 0;
    double ScaleFactorX = 0.0;
    double ScaleFactorY = 0.0;
    qint16 PrintOrientation = 0; // 1 portrait, 2 landscape
    qint16 PrintNegative = 0;
    qint16 PrintPrompt = 0;
    qint16 ScaleToFit = 0;
    qint16 GreyScale = 0;
    QString PrintDevice;

    bool operator==(const PrintSettings&) const = default;
};

// Refills every field from the store. Each key stands alone: an absent key gives
// its default, a text that does not convert leaves the field as it was.
void LoadPrintSettings(PrintSettings& settings, SettingsStore& store, const ScreenInfo& screen);

// Writes every field, in load order, as text.
void SavePrintSettings(const PrintSettings& settings, SettingsStore& store);

// Every stored key with its field as text, in load order: numbers as the store writes
// them, except fractions, which go through number.
QList<std::pair<QString, QString>> PrintSettingsTexts(const PrintSettings& settings,
                                                      QString (*number)(double));

// True until settings were stored once (PrintSpecific is always among them).
bool IsFirstStart(SettingsStore& store);

// Whether the name stands for the system's default printer.
bool IsDefaultPrinterName(const QString& deviceName);
