#pragma once

// Stand-ins for the services a print touches, recording what they are asked.

#include "platform/Clipboard.h"
#include "platform/EventPump.h"
#include "platform/MessageBoxes.h"
#include "platform/Printer.h"
#include "platform/ScreenInfo.h"
#include "platform/SettingsStore.h"
#include "printing/PrintForms.h"

#include <QHash>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <optional>

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<QString> read(const QString& application, const QString& section,
                                const QString& key, const QString& defaultText) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& text) override;

    // Stores a value of the program's section directly.
    void set(const QString& key, const QString& text);
    QString value(const QString& key) const { return m_values.value(key); }
    bool contains(const QString& key) const { return m_values.contains(key); }
    QStringList writtenKeys() const { return m_writtenKeys; }

    // Keys whose read fails as if the store could not be read.
    QStringList unreadable;

private:
    QHash<QString, QString> m_values; // "application/section/key" -> text
    QStringList m_writtenKeys;
};

class FixedScreen : public ScreenInfo {
public:
    FixedScreen(int widthPixels = 1024, int heightPixels = 768, double twipsPerPixel = 15.0)
        : m_width(widthPixels), m_height(heightPixels), m_tpp(twipsPerPixel) {}
    double twipsPerPixelX() const override { return m_tpp; }
    double twipsPerPixelY() const override { return m_tpp; }
    double widthTwips() const override { return m_width * m_tpp; }
    double heightTwips() const override { return m_height * m_tpp; }

private:
    int m_width, m_height;
    double m_tpp;
};

class FixedClipboard : public Clipboard {
public:
    bool hasImage() const override { return m_hasImage; }
    QImage image() const override { return m_image; }
    void setImage(const QImage& image) {
        m_image = image;
        m_hasImage = true;
    }
    void setText() {
        m_image = QImage();
        m_hasImage = false;
    }

private:
    QImage m_image;
    bool m_hasImage = false;
};

// One drawing as the printer was asked to make it.
struct RecordedDraw {
    QRectF sourcePixels;
    QRectF target;
    RasterOp op;
    QSize imageSize;
};

// What one job on a recording printer saw.
struct RecordedJob {
    QString deviceName;
    QList<int> orientations;
    QList<int> colorModes;
    QList<QRgb> backColors;
    QList<RecordedDraw> draws;
    bool ended = false;
    bool aborted = false;
};

class RecordingPrintSystem;

class RecordingPrinter : public Printer {
public:
    RecordingPrinter(RecordingPrintSystem& system, const PrinterIdentity& identity);

    PrinterIdentity identity() const override { return m_identity; }
    double pageWidth() const override;
    double pageHeight() const override;
    bool setOrientation(int orientation) override;
    bool setColorMode(int colorMode) override;
    void setBackColor(QRgb color) override;
    bool drawImage(const QImage& image, const QRectF& sourcePixels, const QRectF& targetTwips,
                   RasterOp op) override;
    bool endDoc() override;
    void abortDoc() override;

private:
    RecordedJob& job();

    RecordingPrintSystem& m_system;
    PrinterIdentity m_identity;
    qsizetype m_jobIndex;
    int m_orientation = 1;
};

// Printers with a fixed portrait page; landscape turns it.
class RecordingPrintSystem : public PrintSystem {
public:
    QList<PrinterIdentity> installedPrinters() const override {
        return schedulerRunning ? printers : QList<PrinterIdentity>();
    }
    QString defaultPrinterName() const override {
        return schedulerRunning ? defaultName : QString();
    }
    bool sendsToNamedPrinter() const override { return namedJobs; }
    bool running() const override { return schedulerRunning; }
    std::unique_ptr<Printer> openPrinter(const QString& deviceName) override;

    QList<PrinterIdentity> printers = {{QStringLiteral("Office"), QStringLiteral("PDF"), {}},
                                       {QStringLiteral("Colour"), QStringLiteral("PDF"), {}}};
    QString defaultName = QStringLiteral("Office");
    bool namedJobs = true;
    // A stopped print system: no printers, and running() says why.
    bool schedulerRunning = true;
    QSizeF portraitPage = QSizeF(11000, 15000);
    bool failDraw = false;
    bool failEnd = false;

    QStringList opened; // the names asked for, empty = default
    QList<RecordedJob> jobs;
};

class RecordingMessages : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override {
        texts.append(text);
        icons.append(icon);
        titles.append(title);
        if (onShow)
            onShow();
    }
    QStringList texts;
    QList<MessageIcon> icons;
    QStringList titles;
    std::function<void()> onShow;
};

// Each pass of events runs the next scripted action, standing for what the user does.
class ScriptedEvents : public EventPump {
public:
    void processPending() override { run(); }
    void waitAndProcess() override { run(); }

    QList<std::function<void()>> script;
    int passes = 0;

private:
    void run();
};

class RecordingForms : public PrintForms {
public:
    void showDisabledNotice() override { ++notices; }
    void openPrompt(const PrintSettings& settings, qint16& promptChoice) override;
    bool promptOpen() const override { return m_open; }
    void showProgress(const QString& deviceName) override { progress.append(deviceName); }
    void closePrompt() override {
        if (m_open)
            ++closes;
        m_open = false;
    }
    void setPromptHidden(bool hidden) override { promptHidden = hidden; }

    // Clicks a button of the open prompt.
    void click(int option) { *m_choice = qint16(option); }
    // Closes the prompt the way a window manager would.
    void closeFromOutside() { m_open = false; }

    int notices = 0;
    int opens = 0;
    int closes = 0;
    QStringList promptDevices; // PrintDevice as the prompt was loaded with it
    QList<qint16> promptFlags;
    QStringList progress;
    bool promptHidden = false;

private:
    bool m_open = false;
    qint16* m_choice = nullptr;
};
