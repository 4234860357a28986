// PlayerStrip.h: PlayerStrip, the media player's time, title, transport and volume strip.
#pragma once

#include <QGroupBox>
#include <QString>
#include <QUrl>

#include <memory>

class QTimer;

namespace Ui {
class PlayerStrip;
}

namespace lorvane {

class Shell;
class SystemVolume;
struct StereoVolume;
class WAIPC;

// The "Winamp:" strip of the main window: the player's play time and title line
// with the track length, the seek bar, the five transport buttons, and the two
// volume bars of the sound output. WinampTimer polls the player every 200 ms from
// construction on.
//
// How the main window uses it: construct it with the player remote, the volume and
// the shell, put it into its place, apply the "balanced" setting with setBalanced(),
// call ReadVolume() once the settings are read, and save balanced() at exit.
// playerRunning() is the test for a running player (the enqueue command uses it).
class PlayerStrip : public QGroupBox {
    Q_OBJECT

public:
    // The page Image2 opens: the media-player remote-control interface the strip
    // speaks to.
    static const QUrl PlayerInterfacePage;
    static constexpr int TimerIntervalMs = 200;

    PlayerStrip(WAIPC& ipc, SystemVolume& volume, Shell& shell, QWidget* parent = nullptr);
    ~PlayerStrip() override;

    // Whether the title line shows, which it does exactly while a player runs. This is
    // the line's own visibility flag, so it holds while the window is hidden.
    bool playerRunning() const;

    // "Balanced Vol&ume"; setting it runs no handler.
    bool balanced() const;
    void setBalanced(bool on);

    // The title line last written, as the change test compares it.
    const QString& lastWinampTitle() const { return LastWinampTitle; }
    QTimer* winampTimer() const { return WinampTimer; }
    // The name texts call the player by: the followed player's own, or "Player".
    const QString& playerName() const { return m_playerName; }

signals:
    // The followed player's name changed (or the player came or went).
    void playerNameChanged(const QString& name);

public slots:
    void ReadVolume();
    void WinampTimerTimer();
    void SongBarChange(int position);
    void SongBarMouseDown();
    void SongBarMouseUp();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void LeftVolumeChange(int position);
    void RightVolumeChange(int position);
    void BalanceCheckClick();
    void ApplyVolume();
    void Image2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showVolumePercentages();
    void showPlayerName(const QString& name);
    // Shows a volume read from the output without writing it back.
    void takeVolume(const StereoVolume& volume);

    std::unique_ptr<Ui::PlayerStrip> ui;
    WAIPC& m_ipc;
    SystemVolume& m_volume;
    Shell& m_shell;
    QTimer* WinampTimer;
    QString LastWinampTitle;
    QString m_playerName;
    // The channels the user has set by moving a bar. Only those are ever written: the
    // volume read at start is the output's own (it may be louder than the bars go),
    // and the bars' designed zero is nobody's.
    bool m_leftSet = false;
    bool m_rightSet = false;
    bool m_reading = false;
};

} // namespace lorvane
