#include "DisabledNotice.h"
#include "ui_DisabledNotice.h"

#include "DesignFit.h"
#include "FormPlacement.h"
#include "ProgramIcon.h"

Twk04::Twk04(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::Twk04>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(ProgramIcon());
    m_ui->Image1->setPixmap(ProgramPixmap());
    SetPointSizeF(m_ui->Label1, 14.25);
    FitDesignToFont(this);
    setFixedSize(size());
    CentreOnScreen(this);
    m_timer1.setInterval(kCloseAfterMs);
    connect(&m_timer1, &QTimer::timeout, this, &Twk04::Timer1_Timer);
    m_timer1.start();
}

void Twk04::Timer1_Timer() {
    m_timer1.stop();
    close();
}

Twk04::~Twk04() = default;
