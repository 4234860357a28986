#include "SongDetailsPanel.h"

#include "ui_SongDetailsPanel.h"

#include "building/NameText.h"
#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"
#include "metadata/RawFile.h"
#include "metadata/mpegfile.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <algorithm>
#include <numeric>

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
    reserveRoomForValues();
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
    ui->Genre->setCurrentIndex(ui->Genre->findData(m_info->GenreID()));
}

void SongDetailsPanel::Button2Click() {
    m_info->setTitle(ui->Title->text());
    m_info->setArtist(ui->Artist->text());
    m_info->setComment(ui->Comment->text());
    m_info->setAlbum(ui->Album->text());
    m_info->setYear(ui->Year->text());
    // No selection carries no genre: an out-of-range value, which becomes "Other".
    const QVariant id = ui->Genre->currentData();
    m_info->setGenreID(id.isValid() ? id.toInt() : -1);
    try {
        m_info->Save();
    } catch (const InOutError&) {
        showMessage(QStringLiteral("Error saving ID3 tag."));
    }
}

void SongDetailsPanel::Button3Click() {
    try {
        m_info->RemoveID3();
    } catch (const InOutError&) {
        showMessage(QStringLiteral("Error removing ID3 tag."));
    }
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
