#include "SongDetailsPanel.h"

#include "ui_SongDetailsPanel.h"

#include "building/NameText.h"
#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"
#include "metadata/RawFile.h"
#include "metadata/mpegfile.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QValidator>

#include <algorithm>
#include <numeric>

namespace {

// Takes only text that fits its field's bytes in the panel's character set.
class FieldBytesValidator : public QValidator {
public:
    FieldBytesValidator(const id3v1::TagCharset& charset, int maxBytes, QObject* parent)
        : QValidator(parent), m_charset(charset), m_maxBytes(maxBytes) {}
    State validate(QString& text, int&) const override {
        return m_charset.byteCount(text) <= m_maxBytes ? Acceptable : Invalid;
    }

private:
    const id3v1::TagCharset& m_charset;
    int m_maxBytes;
};

QString charsetLabel(const QByteArray& name) {
    for (const id3v1::CharsetChoice& c : id3v1::charsetChoices()) {
        if (name == c.name)
            return QString::fromUtf8(c.label);
    }
    return QString::fromLatin1(name);
}

} // namespace

SongDetailsPanel::SongDetailsPanel(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::SongDetailsPanel>()), m_info(new TMP3Info(this)) {
    ui->setupUi(this);
    connect(m_info, &TMP3Info::onChangeFile, this, &SongDetailsPanel::ShowTagFields);
    connect(ui->Button2, &QPushButton::clicked, this, &SongDetailsPanel::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &SongDetailsPanel::Button3Click);

    // A sorted drop-down list, case ignored; each item carries its genre byte.
    const QStringList& genres = m_info->Genres();
    QList<int> order(genres.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&genres](int a, int b) {
        return genres.at(a).compare(genres.at(b), Qt::CaseInsensitive) < 0;
    });
    for (const int id : order)
        ui->Genre->addItem(genres.at(id), id);
    ui->Genre->setCurrentIndex(-1);
    for (QLineEdit* edit : {ui->Title, ui->Artist, ui->Album, ui->Comment})
        edit->setValidator(new FieldBytesValidator(m_charset, id3v1::TextLength, edit));
    ui->Year->setValidator(new FieldBytesValidator(m_charset, id3v1::YearLength, ui->Year));
    reserveRoomForValues();
    clearSong();
}

// The labels and fields are laid out before any song is shown; each keeps room for the
// longest text a song puts there, so that a value is never cut off.
void SongDetailsPanel::reserveRoomForValues() {
    const QFontMetrics metrics = fontMetrics();
    const auto reserve = [&metrics](QWidget* w, std::initializer_list<const char*> texts) {
        int widest = 0;
        for (const char* text : texts)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(text)));
        w->setMinimumWidth(std::max(w->minimumWidth(), widest));
    };
    reserve(ui->ErrorMsg,
            {"File doesn't exist!", "Error getting ID3 tag.", "Error getting MP3 info."});
    reserve(ui->BitRate, {"Bitrate: 320 kbps, 44100 Hz"});
    reserve(ui->Bytes, {"Bytes: 1000000000"});
    reserve(ui->Layer, {"Layer: 3"});
    reserve(ui->Seconds, {"Length: 100:00"});
    // Four digits and the frame and margins of a line edit.
    reserve(ui->Year, {"00000000"});
    // The message shows now and then beside the buttons; its room stays, so nothing moves.
    QSizePolicy message = ui->ErrorMsg->sizePolicy();
    message.setRetainSizeWhenHidden(true);
    ui->ErrorMsg->setSizePolicy(message);
}

SongDetailsPanel::~SongDetailsPanel() = default;

void SongDetailsPanel::clearTagFields() {
    ui->Title->clear();
    ui->Artist->clear();
    ui->Comment->clear();
    ui->Album->clear();
    ui->Year->clear();
    ui->Genre->setCurrentIndex(-1);
    m_shownGenre = -1;
}

void SongDetailsPanel::clearSong() {
    clearTagFields();
    m_path.clear();
    ui->ErrorMsg->setVisible(false);
    ui->BitRate->setText(QStringLiteral("Bitrate:"));
    ui->Bytes->setText(QStringLiteral("Bytes:"));
    ui->Layer->setText(QStringLiteral("Layer:"));
    ui->Seconds->setText(QStringLiteral("Length:"));
    ui->Button2->setEnabled(false);
    ui->Button3->setEnabled(false);
}

namespace {
// An entry that resolved to no line ("" or "null") names no file, not even one of
// that name in the current folder.
bool namesAFile(const QByteArray& path) {
    return !path.isEmpty() && path != "null";
}
} // namespace

void SongDetailsPanel::showSong(const QByteArray& path) {
    clearTagFields();
    m_path = path;
    ui->Button2->setEnabled(true);
    ui->Button3->setEnabled(true);
    emit captionChanged(lorvane::DisplayText(path));

    const bool exists = namesAFile(m_path) && RawFile::exists(m_path);
    ui->ErrorMsg->setText(QStringLiteral("File doesn't exist!"));
    ui->ErrorMsg->setVisible(!exists);
    if (exists)
        showStreamInfo();
    readTag();
}

void SongDetailsPanel::readTag() {
    try {
        m_info->setFilename(namesAFile(m_path) ? m_path : QByteArray());
    } catch (const InOutError&) {
        showError(QStringLiteral("Error getting ID3 tag."));
    }
}

void SongDetailsPanel::setCharset(const QByteArray& name) {
    m_info->setCharset(name);
    m_charset = id3v1::TagCharset(m_info->Charset());
    if (m_path.isEmpty())
        return;
    clearTagFields();
    readTag();
}

void SongDetailsPanel::showStreamInfo() {
    MPEGInfoLines lines;
    try {
        TMPEGData stream;
        ReadMPEGData(stream, m_path); // -1 (no frame) still shows the reset values
        lines = FormatMPEGInfo(stream);
    } catch (const InOutError&) {
        showError(QStringLiteral("Error getting MP3 info."));
        lines = MPEGErrorLines();
    }
    ui->BitRate->setText(lines.BitRate);
    ui->Bytes->setText(lines.Bytes);
    ui->Layer->setText(lines.Layer);
    ui->Seconds->setText(lines.Seconds);
}

void SongDetailsPanel::ShowTagFields() {
    ui->Title->setText(m_info->Title());
    ui->Artist->setText(m_info->Artist());
    ui->Comment->setText(m_info->Comment());
    ui->Album->setText(m_info->Album());
    ui->Year->setText(m_info->Year());
    m_shownGenre = ui->Genre->findData(m_info->GenreID());
    ui->Genre->setCurrentIndex(m_shownGenre);
}

QString SongDetailsPanel::refusal() const {
    const std::pair<const char*, const QLineEdit*> fields[] = {{"title", ui->Title},
                                                               {"artist", ui->Artist},
                                                               {"album", ui->Album},
                                                               {"comment", ui->Comment},
                                                               {"year", ui->Year}};
    QString refused;
    for (const auto& [name, edit] : fields) {
        const QString more = m_charset.unstorable(edit->text());
        for (const QChar c : more) {
            if (!refused.contains(c))
                refused += c;
        }
    }
    const QString set = charsetLabel(m_charset.name());
    if (!refused.isEmpty())
        return QStringLiteral("%1 cannot store these characters: %2\nThe tag was not changed.")
            .arg(set, refused);
    for (const auto& [name, edit] : fields) {
        const int limit = edit == ui->Year ? id3v1::YearLength : id3v1::TextLength;
        const int bytes = m_charset.byteCount(edit->text());
        if (bytes > limit)
            return QStringLiteral("The %1 takes %2 bytes in %3; the tag holds %4.\nThe tag was "
                                  "not changed.")
                .arg(QLatin1String(name))
                .arg(bytes)
                .arg(set)
                .arg(limit);
    }
    return {};
}

void SongDetailsPanel::Button2Click() {
    if (m_path.isEmpty())
        return;
    const QString refused = refusal();
    if (!refused.isEmpty()) {
        showMessage(refused);
        return;
    }
    m_info->setTitle(ui->Title->text());
    m_info->setArtist(ui->Artist->text());
    m_info->setComment(ui->Comment->text());
    m_info->setAlbum(ui->Album->text());
    m_info->setYear(ui->Year->text());
    // A genre left as shown keeps the stored byte, even one beyond the list; no
    // selection carries an out-of-range value, which becomes "Other".
    if (m_shownGenre < 0 || ui->Genre->currentIndex() != m_shownGenre) {
        const QVariant id = ui->Genre->currentData();
        m_info->setGenreID(id.isValid() ? id.toInt() : -1);
    }
    try {
        m_info->Save();
    } catch (const InOutError&) {
        showMessage(QStringLiteral("Error saving ID3 tag."));
        return;
    }
    if (m_info->WriteProtected())
        showMessage(m_info->Error());
}

void SongDetailsPanel::Button3Click() {
    if (m_path.isEmpty())
        return;
    try {
        m_info->RemoveID3();
    } catch (const InOutError&) {
        showMessage(QStringLiteral("Error removing ID3 tag."));
        return;
    }
    if (m_info->WriteProtected()) {
        showMessage(m_info->Error());
        return;
    }
    // The panel shows the file as it is now: no tag, the shorter length.
    showSong(m_path);
}

void SongDetailsPanel::showError(const QString& text) {
    ui->ErrorMsg->setText(text);
    ui->ErrorMsg->setVisible(true);
}

void SongDetailsPanel::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, this);
    box.exec();
}
