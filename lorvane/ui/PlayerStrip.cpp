#include "PlayerStrip.h"

#include "ui_PlayerStrip.h"

#include "platform/SystemVolume.h"
#include "player/PlayerStatus.h"
#include "player/Shell.h"
#include "player/WAIPC.h"

#include <QMouseEvent>
#include <QStyle>
#include <QTimer>

namespace lorvane {

const QUrl PlayerStrip::PlayerInterfacePage(
    QStringLiteral("https://specifications.freedesktop.org/mpris-spec/latest/"));

PlayerStrip::PlayerStrip(WAIPC& ipc, SystemVolume& volume, Shell& shell, QWidget* parent)
    : QGroupBox(parent), ui(std::make_unique<Ui::PlayerStrip>()), m_ipc(ipc), m_volume(volume),
      m_shell(shell), WinampTimer(new QTimer(this)) {
    ui->setupUi(this);
    ui->WinampTitle->hide();
    showPlayerName(QStringLiteral("Player"));

    const struct {
        QPushButton* button;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {ui->BitBtn2, QStyle::SP_MediaSkipBackward}, {ui->BitBtn3, QStyle::SP_MediaPlay},
        {ui->BitBtn4, QStyle::SP_MediaPause},        {ui->BitBtn5, QStyle::SP_MediaStop},
        {ui->BitBtn6, QStyle::SP_MediaSkipForward},
    };
    for (const auto& b : buttons)
        b.button->setIcon(style()->standardIcon(b.icon));
    ui->Image2->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(24, 24));

    connect(ui->BitBtn2, &QPushButton::clicked, this, &PlayerStrip::BitBtn2Click);
    connect(ui->BitBtn3, &QPushButton::clicked, this, &PlayerStrip::BitBtn3Click);
    connect(ui->BitBtn4, &QPushButton::clicked, this, &PlayerStrip::BitBtn4Click);
    connect(ui->BitBtn5, &QPushButton::clicked, this, &PlayerStrip::BitBtn5Click);
    connect(ui->BitBtn6, &QPushButton::clicked, this, &PlayerStrip::BitBtn6Click);
    connect(ui->SongBar, &QSlider::valueChanged, this, &PlayerStrip::SongBarChange);
    connect(ui->SongBar, &QSlider::sliderReleased, this, &PlayerStrip::SongBarMouseUp);
    connect(ui->LeftVolume, &QSlider::valueChanged, this, &PlayerStrip::LeftVolumeChange);
    connect(ui->RightVolume, &QSlider::valueChanged, this, &PlayerStrip::RightVolumeChange);
    connect(ui->BalanceCheck, &QCheckBox::clicked, this, &PlayerStrip::BalanceCheckClick);
    // The bar's mouse handlers see the press before the bar moves, so the timer is
    // off before the first position change of a drag.
    ui->SongBar->installEventFilter(this);
    ui->Image2->installEventFilter(this);

    WinampTimer->setObjectName(QStringLiteral("WinampTimer"));
    WinampTimer->setInterval(TimerIntervalMs);
    connect(WinampTimer, &QTimer::timeout, this, &PlayerStrip::WinampTimerTimer);
    WinampTimer->start();
}

PlayerStrip::~PlayerStrip() = default;

bool PlayerStrip::playerRunning() const {
    return !ui->WinampTitle->isHidden();
}

bool PlayerStrip::balanced() const {
    return ui->BalanceCheck->isChecked();
}

void PlayerStrip::setBalanced(bool on) {
    ui->BalanceCheck->setChecked(on);
}

bool PlayerStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->SongBar) {
        // A press soon after a click arrives as a double click, and starts a drag too.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            SongBarMouseDown();
        // A drag ends when the bar lets the handle go (sliderReleased), after this.
        else if (event->type() == QEvent::MouseButtonRelease && !ui->SongBar->isSliderDown())
            SongBarMouseUp();
    } else if (watched == ui->Image2 && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Image2Click();
    }
    return QGroupBox::eventFilter(watched, event);
}

void PlayerStrip::WinampTimerTimer() {
    // The bars follow the output, so that a re-apply below writes what the mixer has
    // and never an older level over a change made elsewhere.
    if (const auto outside = m_volume.changed()) {
        m_leftSet = m_rightSet = false;
        takeVolume(*outside);
    }
    const PlayerReading r = ReadPlayer(m_ipc);
    showPlayerName(m_ipc.PlayerCaptionName());
    ui->WinampTime->setText(FormatPlayTime(r.positionSeconds));
    ui->SongBar->setMaximum(
        SongBarMaximum(ui->SongBar->maximum(), r.length, ui->SongBar->minimum()));
    // The handle in the user's hand stays where it is held.
    if (!ui->SongBar->isSliderDown())
        ui->SongBar->setValue(r.positionSeconds);
    const int m = ui->SongBar->maximum();
    ui->WinampTitle->setVisible(!r.title.isEmpty());
    const QString caption = PlayerTitleCaption(r.title, m);
    ui->WinampTitle->setText(caption);
    // A new title line (a new track, or a new length) re-applies the volume.
    if (caption != LastWinampTitle) {
        LastWinampTitle = caption;
        ApplyVolume();
    }
}

void PlayerStrip::showPlayerName(const QString& name) {
    if (name == m_playerName)
        return;
    m_playerName = name;
    // A name is shown as it stands: an ampersand in it is no shortcut.
    setTitle(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")) + QLatin1Char(':'));
    emit playerNameChanged(name);
}

void PlayerStrip::SongBarChange(int position) {
    if (!WinampTimer->isActive())
        ui->WinampTime->setText(FormatPlayTime(position));
}

void PlayerStrip::SongBarMouseDown() {
    WinampTimer->stop();
}

void PlayerStrip::SongBarMouseUp() {
    m_ipc.WinampJumpToTime(ui->SongBar->sliderPosition() * 1000);
    WinampTimer->start();
}

void PlayerStrip::BitBtn2Click() {
    m_ipc.WinampPrevious();
}

void PlayerStrip::BitBtn3Click() {
    m_ipc.WinampPlay();
}

void PlayerStrip::BitBtn4Click() {
    m_ipc.WinampPause();
}

void PlayerStrip::BitBtn5Click() {
    m_ipc.WinampStop();
}

void PlayerStrip::BitBtn6Click() {
    m_ipc.WinampNext();
}

void PlayerStrip::ReadVolume() {
    if (const auto v = m_volume.read())
        takeVolume(*v);
    showVolumePercentages();
}

void PlayerStrip::takeVolume(const StereoVolume& volume) {
    // The change handlers run as for a user move (balanced, both bars end at the right
    // channel's level), but what was read is not written back.
    m_reading = true;
    ui->LeftVolume->setValue(volume.left);
    ui->RightVolume->setValue(volume.right);
    m_reading = false;
    showVolumePercentages();
}

void PlayerStrip::LeftVolumeChange(int position) {
    m_leftSet = m_leftSet || !m_reading;
    if (ui->BalanceCheck->isChecked())
        ui->RightVolume->setValue(position);
    ApplyVolume();
}

void PlayerStrip::RightVolumeChange(int position) {
    m_rightSet = m_rightSet || !m_reading;
    if (ui->BalanceCheck->isChecked())
        ui->LeftVolume->setValue(position);
    ApplyVolume();
}

void PlayerStrip::BalanceCheckClick() {
    if (!ui->BalanceCheck->isChecked())
        return;
    m_leftSet = m_rightSet = true;
    ui->RightVolume->setValue(ui->LeftVolume->value());
    ApplyVolume();
}

void PlayerStrip::ApplyVolume() {
    // An output that refuses the volume leaves the bars and labels as set.
    if (m_leftSet || m_rightSet)
        m_volume.write(
            {m_leftSet ? ui->LeftVolume->value() : -1, m_rightSet ? ui->RightVolume->value() : -1});
    showVolumePercentages();
}

void PlayerStrip::showVolumePercentages() {
    ui->LeftVol->setText(QString::number(VolumePercent(ui->LeftVolume->value())));
    ui->RightVol->setText(QString::number(VolumePercent(ui->RightVolume->value())));
}

void PlayerStrip::Image2Click() {
    m_shell.openUrl(PlayerInterfacePage);
}

} // namespace lorvane
