// ConfigDialog.h: Twk01, the configuration dialog.
#pragma once

#include "ProgramServices.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace Ui {
class Twk01;
}

class AreaPicker;
class Twk05;

// The configuration dialog. It works directly on the program-wide settings record:
// the prompt and scale-to-fit boxes change it at once, OK takes the rest from the
// controls and stores everything. A single window: it frees itself when closed.
class Twk01 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPointerIntervalMs = 100;
    // How long the hidden dialog gets to leave the screen before the screen is captured.
    static constexpr int kHideSettleMs = 300;

    Twk01(const ProgramServices& services, SharedValues& shared, QString programName,
          QWidget* parent = nullptr);
    ~Twk01() override;

    // Where the pointer readout asks for the position, in the captured picture's pixels.
    void setPointerSource(std::function<QPoint()> source) { m_pointer = std::move(source); }

    // Closes the About box when it is open; the program's shutdown does this first.
    void closeAboutBox();
    // Brings the About box forward when it is open.
    void bringAboutBoxForward();
    // The area picker's overlays while it is open, one a screen.
    QList<AreaPicker*> areaPickers() const;

signals:
    // OK of the first configuration (or under the program name "TWK"): the resident
    // form is to be loaded.
    void residentRequested();
    // "C&lose": the whole program is to end.
    void closeProgramRequested();

public slots:
    void cbx_printarea_Click();
    void cbx_printprompt_Click();
    void cbx_scaletofit_Click();
    void cb_ok_Click();
    void cb_cancel_Click();
    void cb_close_Click();
    void cb_help_Click();
    void cb_about_Click();
    void cb_pickarea_Click();
    void Timer1_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    bool printerChoiceEnabled() const;
    void addPrinterEntry(const QString& name);
    // The whole name of a printer list entry, whatever the entry shows.
    QString printerEntry(int index) const;
    // The first of the six numeric fields whose text cannot be taken, with its message.
    bool validateFields();
    // Captures the screen and opens the area picker over it.
    void pickArea();
    void takePickedArea(const QRect& area);

    std::unique_ptr<Ui::Twk01> m_ui;
    ProgramServices m_services;
    SharedValues& m_shared;
    QString m_programName;
    QTimer m_timer1;
    std::function<QPoint()> m_pointer;
    QPointer<Twk05> m_about;
    void closeAreaPickers();
    QList<QPointer<AreaPicker>> m_pickers;
    int m_openPickers = 0;
    bool m_picking = false;
    bool m_closing = false;
    bool m_closePending = false;
};
