// AboutBox.h: Twk05, the About box.
#pragma once

#include <memory>

#include <QDialog>
#include <QStringList>
#include <QTimer>

namespace Ui {
class Twk05;
}

// Where the About box looks for its screen-saver preview: the hack's name in a
// list of folders, the last folder that holds it winning.
struct PreviewHack {
    QStringList directories;
    QString name;

    // An installed xscreensaver hack.
    static PreviewHack installed();
};

// The About box: a screen-saver preview in a black box, with the product text
// scrolling slowly upward over it.
class Twk05 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCaptionStartTwips = 1400; // just below the box
    static constexpr int kCaptionWrapTwips = -2200; // above this the text is gone
    static constexpr int kScrollStepTwips = 15;

    explicit Twk05(QWidget* parent = nullptr, const PreviewHack& hack = PreviewHack::installed());
    ~Twk05() override;

    // The top of the scrolling text in twips, and the tick counter.
    int captionTop() const { return m_captionTop; }
    qint16 scrollTick() const { return ScrollTick; }
    // The preview program and its arguments; empty when none was found.
    QString previewProgram() const { return m_previewProgram; }
    QStringList previewArguments() const { return m_previewArguments; }

    static QString AboutText();

public slots:
    void cb_ok_Click();
    void Timer1_Timer();

private:
    void Form_Load(const PreviewHack& hack);
    void placeCaption();

    std::unique_ptr<Ui::Twk05> m_ui;
    QTimer m_timer1;
    qint16 ScrollTick = 0;
    int m_captionTop = kCaptionStartTwips;
    QString m_previewProgram;
    QStringList m_previewArguments;
};
