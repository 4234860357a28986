#pragma once

#include <QByteArray>
#include <QWidget>

#include <memory>

class TMP3Info;

namespace Ui {
class SongDetailsPanel;
}

// The song-details panel of the main window: the ID3v1 tag of the selected song
// with its editing buttons, and the stream's "File Info:" lines. It owns the tag
// object for its whole life; the window hands it the selected song's path and
// applies the caption it asks for.
class SongDetailsPanel : public QWidget {
    Q_OBJECT

public:
    explicit SongDetailsPanel(QWidget* parent = nullptr);
    ~SongDetailsPanel() override;

    TMP3Info* mp3Info() const { return m_info; }

    // The tag and stream side of a click on a song: clears the tag fields, asks for
    // the path as caption, shows the stream lines when the file exists and the tag.
    void showSong(const QByteArray& path);
    // Empties Title, Artist, Comment, Album and Year (a click on an empty song list).
    void clearTagFields();

signals:
    // The window's caption becomes this text (the selected song's path).
    void captionChanged(const QString& caption);

public slots:
    void ShowTagFields();
    void Button2Click();
    void Button3Click();

private:
    void reserveRoomForValues();
    void showStreamInfo();
    void showError(const QString& text);
    void showMessage(const QString& text);

    std::unique_ptr<Ui::SongDetailsPanel> ui;
    TMP3Info* m_info;
    // The selected song's exact path bytes; the caption only shows them.
    QByteArray m_path;
};
