#pragma once

#include "metadata/TagCharset.h"

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
    // Empties Title, Artist, Comment, Album, Year and Genre.
    void clearTagFields();
    // Shows no song: empty fields and stream lines, Save and Remove disabled until a
    // song is shown (the song left the song list, or the list is empty).
    void clearSong();
    // The path of the song shown, empty when none.
    QByteArray shownPath() const { return m_path; }
    // Reads and writes tags in the character set name from now on; the shown song's tag
    // is read again in it.
    void setCharset(const QByteArray& name);

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
    void readTag();
    void showError(const QString& text);
    void showMessage(const QString& text);
    // The message that refuses the typed values, empty when the tag can hold them.
    QString refusal() const;

    std::unique_ptr<Ui::SongDetailsPanel> ui;
    TMP3Info* m_info;
    // The selected song's exact path bytes; the caption only shows them.
    QByteArray m_path;
    // The set the fields are measured in, as the tag object's.
    id3v1::TagCharset m_charset;
    // The genre item the shown tag selected: Save keeps the stored byte while it stays.
    int m_shownGenre = -1;
};
