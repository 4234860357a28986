// PrintPrompt.h: Twk03, the print-option prompt and progress window.
#pragma once

#include <memory>

#include <QPointF>
#include <QWidget>

namespace Ui {
class Twk03;
}

struct PrintSettings;

// The print-option prompt and progress window. With prompting on it offers
// "Defined Area", "Full Screen" and "Cancel", whose numbers 0, 1, 2 go into the
// program-wide PromptChoice; the print closes it when it ends.
class Twk03 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPromptHeightTwips = 1600;
    static constexpr int kNoticeHeightTwips = 1000;

    Twk03(const PrintSettings& settings, qint16& promptChoice, QWidget* parent = nullptr);
    ~Twk03() override;

    // "Now Printing" and the printer that receives the output, painted at once.
    void showProgress(const QString& deviceName);

public slots:
    void cb_option_Click(int index);

private:
    void Form_Load(const PrintSettings& settings);
    void showPrinter(const QString& before, const QString& name, const QString& after);

    std::unique_ptr<Ui::Twk03> m_ui;
    qint16& m_promptChoice;
    QPointF m_fit{1.0, 1.0}; // how much the design grew for the desktop's font
};
