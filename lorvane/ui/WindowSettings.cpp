#include "WindowSettings.h"

#include "AddPanel.h"
#include "CharsetMenu.h"
#include "PlayerStrip.h"
#include "PlaylistGroup.h"
#include "SongDetailsPanel.h"
#include "ui_MainWindow.h"

#include <QFile>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

using namespace lorvane;

WindowSettings::WindowSettings(QMainWindow& window, SettingsStore* store, const Controls& controls)
    : m_window(window), m_store(store), m_controls(controls) {}

SettingsValues WindowSettings::current() const {
    const Ui::TForm1& u = *m_controls.ui;
    SettingsValues v = m_applied;
    v.left = m_window.pos().x();
    v.top = m_window.pos().y();
    v.width = m_window.width();
    v.height = m_window.height();
    v.tray = u.MinToTray->isChecked();
    v.recurse = u.Recurse->isChecked();
    v.bracketformat = u.BracketFormat->isChecked();
    v.dashformat = u.DashFormat->isChecked();
    v.trackformat = u.TrackFormat->isChecked();
    v.customformat = u.CustomFormat->isChecked();
    v.customstring = u.XEdit->text();
    v.customdir = u.CustomDir->text();
    const QList<MountPoint>& mounts = m_controls.adding->mounts();
    const int drive = u.Drive->currentIndex();
    if (drive >= 0 && drive < mounts.size())
        v.lastdrive = mounts[drive].code;
    const QByteArray dir = m_controls.adding->dirListFolder();
    if (!dir.isEmpty())
        v.lastdir = QFile::decodeName(dir);
    v.useassociations = u.UseAssociations->isChecked();
    v.id3charset = QString::fromLatin1(m_controls.charsets->charset());
    if (m_controls.strip)
        v.balanced = m_controls.strip->balanced();
    if (PlaylistGroup* playlist = m_controls.playlist) {
        v.random = playlist->random();
        v.savedFolder = playlist->savedFolder();
        v.loadedFolder = playlist->loadedFolder();
    }
    return v;
}

void WindowSettings::read() {
    SettingsValues values = current();
    // The designed bounds, not whatever the window has before it is first shown.
    const SettingsValues designed;
    values.top = designed.top;
    values.left = designed.left;
    const QSize size = firstStartSize();
    values.width = size.width();
    values.height = size.height();
    if (m_store) {
        lorvane::ReadSettings(*m_store, values);
        if (m_controls.playlist)
            m_controls.playlist->setEnqueueCommand(ReadEnqueueCommand(*m_store));
    }
    apply(values);
}

void WindowSettings::write() {
    if (m_store)
        lorvane::WriteSettings(*m_store, current());
}

void WindowSettings::apply(const SettingsValues& v) {
    Ui::TForm1& u = *m_controls.ui;
    m_applied = v;
    setBoundsOnScreen(QRect(v.left, v.top, v.width, v.height));
    u.MinToTray->setChecked(v.tray);
    u.Recurse->setChecked(v.recurse);
    u.BracketFormat->setChecked(v.bracketformat);
    u.DashFormat->setChecked(v.dashformat);
    u.TrackFormat->setChecked(v.trackformat);
    u.CustomFormat->setChecked(v.customformat);
    u.XEdit->setText(v.customstring);
    u.CustomDir->setText(v.customdir);
    const QList<MountPoint>& mounts = m_controls.adding->mounts();
    for (int i = 0; i < mounts.size(); ++i) {
        if (mounts[i].code == v.lastdrive && u.Drive->currentIndex() != i) {
            u.Drive->setCurrentIndex(i);
            break;
        }
    }
    if (!v.lastdir.isEmpty())
        m_controls.adding->setDirListFolder(QFile::encodeName(v.lastdir));
    u.UseAssociations->setChecked(v.useassociations);
    m_controls.charsets->setCharset(v.id3charset.toLatin1());
    m_controls.details->setCharset(m_controls.charsets->charset());
    if (m_controls.strip)
        m_controls.strip->setBalanced(v.balanced);
    if (PlaylistGroup* playlist = m_controls.playlist) {
        playlist->setRandom(v.random);
        playlist->setSaveFolder(v.savem3u);
        playlist->setLoadFolder(v.loadm3u);
    }
}

// The design was drawn for a small 8-point font. On a first start the window takes the
// room the desktop's font needs, so that every caption and value is whole.
QSize WindowSettings::firstStartSize() {
    // Nested layouts keep what they measured until they are asked afresh.
    for (QLayout* layout : m_window.findChildren<QLayout*>())
        layout->invalidate();
    QSize needed = m_window.centralWidget()->layout()->totalSizeHint();
    if (m_window.menuWidget())
        needed.rheight() += m_window.menuWidget()->sizeHint().height();
    const SettingsValues designed;
    return needed.expandedTo(QSize(designed.width, designed.height));
}

void WindowSettings::equalSidePanels() {
    QWidget* panels[] = {m_controls.ui->DetailsPlace, m_controls.ui->AddPanel};
    QSize room;
    for (const QWidget* panel : panels)
        room = room.expandedTo(panel->sizeHint()).expandedTo(panel->minimumSize());
    for (QWidget* panel : panels)
        panel->setMinimumSize(room);
}

// Stored bounds are applied as they are when the window fits on a screen. A window
// larger than the screen is cut to its free area, one partly off it is moved in, and one
// stored for a detached monitor comes back onto the primary screen.
void WindowSettings::setBoundsOnScreen(QRect bounds) {
    const QScreen* screen = nullptr;
    int overlap = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->availableGeometry().intersected(bounds);
        const int area = common.isEmpty() ? 0 : common.width() * common.height();
        if (area > overlap) {
            overlap = area;
            screen = s;
        }
    }
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
        if (screen) {
            const SettingsValues designed;
            bounds.moveTopLeft(screen->availableGeometry().topLeft() +
                               QPoint(designed.left, designed.top));
        }
    }
    if (screen) {
        const QRect area = screen->availableGeometry();
        bounds.setSize(bounds.size().boundedTo(area.size()));
        bounds.moveLeft(std::clamp(bounds.left(), area.left(), area.right() + 1 - bounds.width()));
        bounds.moveTop(std::clamp(bounds.top(), area.top(), area.bottom() + 1 - bounds.height()));
    }
    m_window.move(bounds.topLeft());
    m_window.resize(bounds.size());
}
