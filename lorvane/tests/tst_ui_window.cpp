#include "support/Collection.h"
#include "support/WindowRig.h"

#include "InputPopup.h"
#include "MainWindow.h"
#include "PlayerStrip.h"
#include "PlaylistGroup.h"
#include "TListBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

using namespace lorvane;

// A named component of a form, as the designer named it.
template <typename T> static T* part(const QObject* form, const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no component %s", name);
    return found;
}

// The main window's components by name.
struct Parts {
    const QObject* form;
#define PART(T, N) T* N = part<T>(form, #N);
    PART(TListBox, GenreList)
    PART(TListBox, ArtistList)
    PART(TListBox, SongList)
    PART(QLabel, TotalG)
    PART(QLabel, TotalA)
    PART(QLabel, TotalS)
    PART(QLineEdit, FindEdit)
    PART(QPushButton, FindButton)
    PART(QPushButton, AddMP3s)
    PART(QWidget, DetailsPlace)
    PART(QWidget, AddPanel)
    PART(QLineEdit, CustomDir)
    PART(QPushButton, BitBtn1)
    PART(QCheckBox, Recurse)
    PART(QCheckBox, TrackFormat)
    PART(QCheckBox, BracketFormat)
    PART(QCheckBox, CustomFormat)
    PART(QCheckBox, DashFormat)
    PART(QLineEdit, XEdit)
    PART(QAction, MinToTray)
    PART(QAction, UseAssociations)
    PART(QAction, ExitClick)
    PART(QAction, AboutClick)
    PART(QAction, ManualAdd)
    PART(QAction, ManualAddSong)
#undef PART
};

// The window with the player's fakes, over a collection the test fills.
struct Rig : windowtest::WindowRig {
    Rig() { withPlayer = true; }
    Parts ui() const { return Parts{form.get()}; }

    // Blues: albert (1 song), Muddy (2); jazz: empty; Rock: Zep (2). Song files exist.
    void fill() {
        const QStringList albert{musicFile("albert - Born Under.mp3")};
        const QStringList muddy{musicFile("Muddy - Mannish Boy.mp3"),
                                musicFile("Muddy - Hoochie.mp3")};
        const QStringList zep{musicFile("Zep - Kashmir.mp3"), musicFile("Zep - Black Dog.mp3")};
        for (const QStringList& files : {albert, muddy, zep}) {
            for (const QString& f : files)
                wintest::touch(f);
        }
        wintest::writeArtist(homeDir(), "Blues", "albert", albert);
        wintest::writeArtist(homeDir(), "Blues", "Muddy", muddy);
        wintest::writeArtist(homeDir(), "Rock", "Zep", zep);
        QDir(homeDir()).mkpath(QStringLiteral("LVNDB/jazz"));
    }
};

using windowtest::clickRow;
using windowtest::selectedTexts;
using windowtest::texts;

class TstWindow : public QObject {
    Q_OBJECT

private slots:
    void startsOnAnEmptyDatabase() {
        Rig rig;
        TForm1& form = rig.build();
        QVERIFY(QFileInfo(rig.homeDir() + "/LVNDB").isDir());
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QCOMPARE(rig.ui().GenreList->count(), 0);
        QCOMPARE(rig.ui().ArtistList->count(), 0);
        QCOMPARE(rig.ui().SongList->count(), 0);
        for (QLabel* total : {rig.ui().TotalG, rig.ui().TotalA, rig.ui().TotalS})
            QCOMPARE(total->text(), QStringLiteral("0"));
        // The designed state on a first start.
        QCOMPARE(form.pos(), QPoint(212, 156));
        QVERIFY(form.width() >= 619 && form.height() >= 420);
        QVERIFY(rig.ui().Recurse->isChecked());
        QVERIFY(rig.ui().BracketFormat->isChecked());
        QVERIFY(rig.ui().DashFormat->isChecked());
        QVERIFY(!rig.ui().TrackFormat->isChecked());
        QVERIFY(!rig.ui().CustomFormat->isChecked());
        QVERIFY(!rig.ui().MinToTray->isChecked());
        QVERIFY(!rig.ui().UseAssociations->isChecked());
        QCOMPARE(rig.ui().XEdit->text(), QStringLiteral("-=-"));
        QVERIFY(form.appliedSettings().balanced);
        QVERIFY(!form.appliedSettings().random);
    }

    void startsOnAFilledDatabase() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QCOMPARE(texts(rig.ui().GenreList), QStringList({"Blues", "jazz", "Rock"}));
        QCOMPARE(selectedTexts(rig.ui().GenreList), QStringList({"Blues"}));
        QCOMPARE(texts(rig.ui().ArtistList), QStringList({"albert", "Muddy"}));
        QCOMPARE(selectedTexts(rig.ui().ArtistList), QStringList({"albert"}));
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Born Under"}));
        QCOMPARE(rig.ui().TotalG->text(), QStringLiteral("3"));
        QCOMPARE(rig.ui().TotalA->text(), QStringLiteral("2"));
        QCOMPARE(rig.ui().TotalS->text(), QStringLiteral("1"));
        QCOMPARE(form.Lists().genrePath(), QByteArray("LVNDB/Blues/"));

        // Each song entry carries its line: the sorted list shows line 1 first.
        clickRow(rig.ui().ArtistList, 1);
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Hoochie", "Mannish Boy"}));
        QCOMPARE(rig.ui().SongList->dataAt(0).toInt(), 1);
        QCOMPARE(rig.ui().SongList->dataAt(1).toInt(), 0);
        QSignalSpy clicked(&form, &TForm1::songClicked);
        clickRow(rig.ui().SongList, 0);
        QCOMPARE(form.windowTitle(), rig.musicFile("Muddy - Hoochie.mp3"));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toByteArray(),
                 QFile::encodeName(rig.musicFile("Muddy - Hoochie.mp3")));

        clickRow(rig.ui().GenreList, 2);
        QCOMPARE(texts(rig.ui().ArtistList), QStringList({"Zep"}));
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Black Dog", "Kashmir"}));
        QCOMPARE(rig.ui().TotalS->text(), QStringLiteral("2"));
        clickRow(rig.ui().GenreList, 1);
        QCOMPARE(rig.ui().ArtistList->count(), 0);
        QCOMPARE(rig.ui().TotalA->text(), QStringLiteral("0"));
        QCOMPARE(rig.ui().TotalS->text(), QStringLiteral("0"));
    }

    // Typing into the tag panel after the song left the song list writes nowhere.
    void theTagPanelFollowsTheSongList_data() {
        QTest::addColumn<QString>("away"); // the list clicked to leave Hoochie, and its row
        QTest::addColumn<int>("row");
        QTest::newRow("another artist") << "ArtistList" << 0;
        QTest::newRow("another genre") << "GenreList" << 2;
    }
    void theTagPanelFollowsTheSongList() {
        QFETCH(QString, away);
        QFETCH(int, row);
        Rig rig;
        rig.fill();
        const QString hoochie = rig.musicFile("Muddy - Hoochie.mp3");
        wintest::touch(hoochie, QByteArray(1000, 'x'));
        rig.build();
        auto* save = part<QPushButton>(rig.form.get(), "Button2");
        auto* title = part<QLineEdit>(rig.form.get(), "Title");
        clickRow(rig.ui().ArtistList, 1);
        clickRow(rig.ui().SongList, 0);
        QVERIFY(save->isEnabled());
        clickRow(rig.list(qPrintable(away)), row);
        QVERIFY(!save->isEnabled());
        QTest::keyClicks(title, QStringLiteral("Typed"));
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(QFileInfo(hoochie).size(), 1000);
    }

    void findSongGoesAcrossArtistsAndBack() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        rig.ui().FindEdit->setText(QStringLiteral("man"));
        QTest::keyClick(rig.ui().FindEdit, Qt::Key_Return);
        QCOMPARE(selectedTexts(rig.ui().ArtistList), QStringList({"Muddy"}));
        QCOMPARE(rig.ui().ArtistList->itemIndex(), 1);
        QCOMPARE(selectedTexts(rig.ui().SongList), QStringList({"Mannish Boy"}));
        QCOMPARE(rig.ui().TotalS->text(), QStringLiteral("2"));
        QCOMPARE(form.windowTitle(), rig.musicFile("Muddy - Mannish Boy.mp3"));

        // Nothing else matches: round through albert, then Muddy is read again.
        QTest::keyClick(rig.ui().FindEdit, Qt::Key_F3);
        QCOMPARE(selectedTexts(rig.ui().ArtistList), QStringList({"Muddy"}));
        QCOMPARE(selectedTexts(rig.ui().SongList), QStringList({"Mannish Boy"}));
        QVERIFY(rig.dialogs.shown.isEmpty());

        rig.ui().FindEdit->setText(QStringLiteral("BORN"));
        rig.ui().FindButton->click();
        QCOMPARE(selectedTexts(rig.ui().ArtistList), QStringList({"albert"}));
        QCOMPARE(selectedTexts(rig.ui().SongList), QStringList({"Born Under"}));

        rig.ui().FindEdit->setText(QStringLiteral("nowhere"));
        rig.ui().FindButton->click();
        QCOMPARE(rig.dialogs.texts(), QStringList({"Not Found!"}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QCOMPARE(selectedTexts(rig.ui().ArtistList), QStringList({"albert"}));
    }

    void artistListKeys() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        TListBox* artists = rig.ui().ArtistList;
        artists->setFocus();

        // Down moves the focus and lists the songs, as a click would.
        QTest::keyClick(artists, Qt::Key_Down);
        QCOMPARE(artists->itemIndex(), 1);
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Hoochie", "Mannish Boy"}));

        QSignalSpy play(&form, &TForm1::playArtistsRequested);
        QTest::keyPress(artists, Qt::Key_Return);
        QCOMPARE(play.count(), 1);
        QTest::mouseDClick(artists->viewport(), Qt::LeftButton, {},
                           artists->visualItemRect(artists->item(0)).center());
        QCOMPARE(play.count(), 2);

        // F1 cleans out songs whose files are gone; the artist goes with its last one.
        QFile::remove(rig.musicFile("Muddy - Hoochie.mp3"));
        artists->setItemIndex(1);
        QTest::keyClick(artists, Qt::Key_F1);
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Blues", "Muddy"),
                 QStringList({rig.musicFile("Muddy - Mannish Boy.mp3")}));
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Mannish Boy"}));
        QFile::remove(rig.musicFile("Muddy - Mannish Boy.mp3"));
        QTest::keyClick(artists, Qt::Key_F1);
        QVERIFY(!wintest::artistExists(rig.homeDir(), "Blues", "Muddy"));
        QCOMPARE(texts(artists), QStringList({"albert"}));
        QCOMPARE(rig.ui().TotalA->text(), QStringLiteral("1"));
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("(artist deleted because there were no songs existing)"));
    }

    void deleteArtist_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps it") << false;
        QTest::newRow("Yes deletes the focused one only") << true;
    }
    void deleteArtist() {
        QFETCH(bool, yes);
        Rig rig;
        rig.fill();
        rig.build();
        TListBox* artists = rig.ui().ArtistList;
        artists->selectAll();
        artists->setItemIndex(1);
        rig.dialogs.answers = {yes};
        QTest::keyClick(artists, Qt::Key_Delete);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({"Are you sure you want to delete Muddy from the database?"}));
        QCOMPARE(wintest::artistExists(rig.homeDir(), "Blues", "Muddy"), !yes);
        QVERIFY(wintest::artistExists(rig.homeDir(), "Blues", "albert"));
        QCOMPARE(texts(artists), yes ? QStringList({"albert"}) : QStringList({"albert", "Muddy"}));
        QCOMPARE(rig.ui().TotalA->text(), QString::number(artists->count()));
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Born Under"}));
    }

    void deleteSong_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps it") << false;
        QTest::newRow("Yes removes its line") << true;
    }
    void deleteSong() {
        QFETCH(bool, yes);
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        clickRow(rig.ui().ArtistList, 1);
        TListBox* songs = rig.ui().SongList;
        songs->setItemIndex(1);
        rig.dialogs.answers = {yes};
        QTest::keyClick(songs, Qt::Key_Delete);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({"Are you sure you want to delete Mannish Boy from the database?"}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        const QStringList both{rig.musicFile("Muddy - Mannish Boy.mp3"),
                               rig.musicFile("Muddy - Hoochie.mp3")};
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Blues", "Muddy"), yes ? both.mid(1) : both);
        QCOMPARE(texts(songs),
                 yes ? QStringList({"Hoochie"}) : QStringList({"Hoochie", "Mannish Boy"}));
        QCOMPARE(rig.ui().TotalS->text(), QString::number(songs->count()));
        // The song file itself stays.
        QVERIFY(QFile::exists(rig.musicFile("Muddy - Mannish Boy.mp3")));
    }

    void deletingTheLastSongRemovesTheArtist() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        rig.dialogs.answers = {true};
        rig.form->DeleteSongListClick();
        QVERIFY(!wintest::artistExists(rig.homeDir(), "Blues", "albert"));
        QCOMPARE(texts(rig.ui().ArtistList), QStringList({"Muddy"}));
        QCOMPARE(rig.ui().TotalA->text(), QStringLiteral("1"));
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("(artist deleted because there were no songs existing)"));
        // The focus is on Muddy now, and its songs are listed.
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Hoochie", "Mannish Boy"}));
    }

    void songListKeys() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        clickRow(rig.ui().ArtistList, 1);
        TListBox* songs = rig.ui().SongList;
        // Enter hands the desktop the one selected song, or the playlist of them all.
        const auto handedOver = [&rig](const QByteArray& document) {
            return rig.shell.documents.count(document);
        };
        const QByteArray song = QFile::encodeName(rig.musicFile("Muddy - Hoochie.mp3"));
        const QByteArray playlist = QFile::encodeName(rig.homeDir()) + "/Dynamic.m3u";
        QSignalSpy enqueue(&form, &TForm1::enqueueSongsRequested);
        clickRow(songs, 0);
        QTest::keyPress(songs, Qt::Key_Return);
        QCOMPARE(handedOver(song), 1);
        songs->selectAll();
        QTest::keyPress(songs, Qt::Key_Enter);
        QCOMPARE(handedOver(playlist), 1);
        QTest::keyClick(songs, Qt::Key_F1);
        QCOMPARE(enqueue.count(), 1);
        // Released keys do nothing in an empty song list.
        clickRow(rig.ui().GenreList, 1);
        QTest::keyClick(songs, Qt::Key_F1);
        QTest::keyClick(songs, Qt::Key_Delete);
        QCOMPARE(enqueue.count(), 1);
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void genreKeysPlaceThePopup() {
        Rig rig;
        rig.fill();
        rig.build();
        QTest::keyClick(rig.ui().GenreList, Qt::Key_Space);
        TRenameForm* popup = rig.form->RenameForm();
        QVERIFY(!popup->isVisible());
        QCOMPARE(popup->pos(), rig.ui().GenreList->mapToGlobal(QPoint(10, 50)));
        QCOMPARE(popup->width(), 150);
    }

    void counts() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        QSignalSpy captions(&form, &QWidget::windowTitleChanged);
        form.CalculateTotalNumberofMP3s1Click();
        QVERIFY(captions.contains(QVariantList{QStringLiteral("Counting MP3s from Artists: 0")}));
        form.CalcMP3sGenreClick();
        clickRow(rig.ui().GenreList, 1);
        form.CalcMP3sGenreClick();
        QCOMPARE(rig.dialogs.texts(), QStringList({"Total number of MP3s in database: 5",
                                                   "Total number of MP3s in Blues: 3",
                                                   "Total number of MP3s in jazz: 0"}));
        QCOMPARE(rig.dialogs.shown.first().title, QStringLiteral("Lorvane"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
    }

    void purge_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void purge() {
        QFETCH(bool, yes);
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        rig.dialogs.answers = {yes};
        form.PurgeDBClick();
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({"Are you sure you want to delete your MP3 database?"}));
        QCOMPARE(wintest::artistExists(rig.homeDir(), "Rock", "Zep"), !yes);
        QCOMPARE(rig.ui().ArtistList->count(), yes ? 0 : 2);
        QCOMPARE(rig.ui().TotalS->text(), yes ? QStringLiteral("0") : QStringLiteral("1"));
        QCOMPARE(rig.ui().GenreList->count(), 3);
        QVERIFY(QFileInfo(rig.homeDir() + "/LVNDB/Rock").isDir());
    }

    void helpAndAbout() {
        Rig rig;
        TForm1& form = rig.build();
        form.HelpClickClick();
        QCOMPARE(rig.dialogs.texts(), QStringList({"File \"lorvane.txt\" does not exist."}));
        QVERIFY(rig.shell.documents.isEmpty());
        wintest::touch(rig.homeDir() + "/lorvane.txt", "help");
        form.HelpClickClick();
        QCOMPARE(rig.shell.documents,
                 QList<QByteArray>({QFile::encodeName(rig.homeDir()) + "/lorvane.txt"}));
        rig.dialogs.shown.clear();
        rig.ui().AboutClick->trigger();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().title, QStringLiteral("About"));
        QVERIFY(rig.dialogs.shown.first().text.contains(QLatin1String("Lorvane")));
        QVERIFY(rig.dialogs.shown.first().text.contains(QLatin1String("1.5")));
    }

    void addPanelToggles() {
        Rig rig;
        TForm1& form = rig.build();
        QCOMPARE(rig.ui().AddMP3s->text(), QStringLiteral("A&dd MP3s >>"));
        QVERIFY(rig.ui().DetailsPlace->isVisible());
        QVERIFY(!rig.ui().AddPanel->isVisible());
        QTest::mouseClick(rig.ui().AddMP3s, Qt::LeftButton);
        QCOMPARE(rig.ui().AddMP3s->text(), QStringLiteral("Add &MP3s <<"));
        QVERIFY(!rig.ui().DetailsPlace->isVisible());
        QVERIFY(rig.ui().AddPanel->isVisible());
        QTest::mouseClick(rig.ui().AddMP3s, Qt::LeftButton);
        QCOMPARE(rig.ui().AddMP3s->text(), QStringLiteral("A&dd MP3s >>"));
        QVERIFY(rig.ui().DetailsPlace->isVisible());
        QVERIFY(!rig.ui().AddPanel->isVisible());
        form.close();
    }

    void scanTheTypedFolder() {
        Rig rig;
        rig.fill();
        for (const char* name :
             {"new/Solo - One.mp3", "new/Solo - Two.MP3", "new/a/Duo - Three.mp3",
              "new/a/Duo - Four.mp3", "new/b/Muddy - Five.mp3", "new/b/c/Trio - Six.mp3",
              "new/notes.txt"})
            wintest::touch(rig.musicFile(QString::fromLatin1(name)));
        TForm1& form = rig.build();
        QSignalSpy captions(&form, &QWidget::windowTitleChanged);
        rig.ui().CustomDir->setText(rig.musicFile("new"));
        QTest::mouseClick(rig.ui().BitBtn1, Qt::LeftButton);
        QCOMPARE(rig.ui().CustomDir->text(), rig.musicFile("new") + '/');
        QStringList seen;
        for (const QVariantList& c : captions)
            seen << c.first().toString();
        QVERIFY2(seen.contains("Getting files: 5..."), qPrintable(seen.join('|')));
        QVERIFY(seen.contains("Organizing MP3s: 0"));
        QVERIFY(seen.contains("Organizing MP3s: 5"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        // A known artist keeps its genre; new ones go to the new genre "Unknown".
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Blues", "Muddy").size(), 3);
        QCOMPARE(texts(rig.ui().GenreList), QStringList({"Blues", "jazz", "Rock", "Unknown"}));
        QCOMPARE(rig.ui().TotalG->text(), QStringLiteral("4"));
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Unknown", "Duo").size(), 2);
        clickRow(rig.ui().ArtistList, 1);
        QCOMPARE(texts(rig.ui().SongList), QStringList({"Five", "Hoochie", "Mannish Boy"}));

        // With Recurse off only the folder's own files count; the same files add nothing.
        rig.ui().Recurse->setChecked(false);
        captions.clear();
        rig.ui().BitBtn1->click();
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Unknown", "Solo").size(), 2);
        seen.clear();
        for (const QVariantList& c : captions)
            seen << c.first().toString();
        QVERIFY(!seen.contains("Getting files: 5..."));
    }

    void aCloseDuringAScanWaitsForItsEnd() {
        Rig rig;
        for (int i = 0; i < 12; ++i)
            wintest::touch(rig.musicFile(QStringLiteral("scan/Band - Song %1.mp3").arg(i)));
        TForm1& form = rig.build();
        bool asked = false;
        bool stillOpen = false;
        connect(&form, &QWidget::windowTitleChanged, &form, [&](const QString& title) {
            if (!asked && title.startsWith(QLatin1String("Organizing MP3s: "))) {
                asked = true;
                form.close();
                stillOpen = form.isVisible() && rig.settings.writes == 0;
            }
        });
        rig.ui().CustomDir->setText(rig.musicFile("scan/"));
        rig.ui().BitBtn1->click();
        QVERIFY(asked);
        QVERIFY(stillOpen);
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Unknown", "Band").size(), 12);
        QVERIFY(!form.isVisible());
        QCOMPARE(rig.settings.writes, 1);
    }

    void addArtistByName() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        TRenameForm* popup = form.RenameForm();
        rig.ui().ManualAdd->trigger();
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->Mode, int(TRenameForm::AddArtist));
        QCOMPARE(popup->width(), 150);
        QCOMPARE(popup->text(), QString());
        QCOMPARE(popup->pos(), rig.ui().ArtistList->mapToGlobal(QPoint(10, 50)));
        popup->setText(QStringLiteral("New Guy"));
        QTest::mouseClick(part<QPushButton>(popup, "Button1"), Qt::LeftButton);
        QVERIFY(!popup->isVisible());
        QCOMPARE(texts(rig.ui().ArtistList), QStringList({"albert", "Muddy", "New Guy"}));
        QCOMPARE(rig.ui().TotalA->text(), QStringLiteral("3"));
        QVERIFY(!wintest::artistExists(rig.homeDir(), "Blues", "New Guy"));

        // An artist that has a file already (whatever its letter case) is not added again.
        rig.form->ManualAddClick();
        popup->setText(QStringLiteral("MUDDY"));
        popup->Button1Click();
        QCOMPARE(rig.ui().ArtistList->count(), 3);
        // Nor is one listed without a file yet.
        rig.form->ManualAddClick();
        popup->setText(QStringLiteral("new guy"));
        popup->Button1Click();
        QCOMPARE(rig.ui().ArtistList->count(), 3);
        // X closes without adding.
        rig.form->ManualAddClick();
        popup->setText(QStringLiteral("Other"));
        popup->Button2Click();
        QVERIFY(!popup->isVisible());
        QCOMPARE(rig.ui().ArtistList->count(), 3);

        // Files chosen for the new artist create its file; the same file twice is kept twice.
        rig.ui().ArtistList->setItemIndex(2);
        for (int i = 0; i < 2; ++i) {
            rig.dialogs.filesToOpen = {rig.musicFile("Muddy - Hoochie.mp3")};
            rig.ui().ManualAddSong->trigger();
        }
        QCOMPARE(rig.dialogs.lastOpenTitle, QStringLiteral("Manually Add MP3s to Artist"));
        QCOMPARE(wintest::readArtist(rig.homeDir(), "Blues", "New Guy"),
                 QStringList(
                     {rig.musicFile("Muddy - Hoochie.mp3"), rig.musicFile("Muddy - Hoochie.mp3")}));
        QCOMPARE(rig.ui().SongList->count(), 2);
        form.close();
    }

    void renamePopupModes() {
        TRenameForm popup;
        QCOMPARE(popup.windowTitle(), QStringLiteral("Rename File"));
        QSignalSpy confirmed(&popup, &TRenameForm::confirmed);
        // A file cannot get an empty name: the popup stays.
        popup.ShowPopup(TRenameForm::RenameFile, QString(), 350, QPoint(10, 10));
        popup.Button1Click();
        QVERIFY(popup.isVisible());
        QCOMPARE(confirmed.count(), 0);
        // Other modes close on an empty text without doing anything.
        popup.ShowPopup(TRenameForm::AddGenre, QString(), 150, QPoint(10, 10));
        QCOMPARE(popup.width(), 150);
        popup.Button1Click();
        QVERIFY(!popup.isVisible());
        QCOMPARE(confirmed.count(), 0);
        popup.ShowPopup(TRenameForm::AddArtist, QStringLiteral("x"), 150, QPoint(10, 10));
        QTest::keyClick(part<QLineEdit>(&popup, "FileName"), Qt::Key_Escape);
        QVERIFY(!popup.isVisible());
        popup.ShowPopup(TRenameForm::AddArtist, QStringLiteral("Name"), 150, QPoint(10, 10));
        QTest::keyClick(part<QLineEdit>(&popup, "FileName"), Qt::Key_Return);
        QCOMPARE(confirmed.count(), 1);
        QCOMPARE(confirmed.first(), QVariantList({3, QStringLiteral("Name")}));
    }

    void clickingTheWindowClosesThePopup() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        form.ManualAddClick();
        QVERIFY(form.RenameForm()->isVisible());
        QTest::mouseClick(form.centralWidget(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!form.RenameForm()->isVisible());
        form.ManualAddClick();
        clickRow(rig.ui().SongList, 0);
        QVERIFY(!form.RenameForm()->isVisible());
        form.close();
    }

    void settingsAtStartUp_data() {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("customDir");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("recurse");

        QTest::newRow("only top and left")
            << QVariantMap{{"top", "40"}, {"left", "75"}} << QPoint(75, 40) << ""
            << "" << false << true;
        QTest::newRow("a boolean stored as 5") << QVariantMap{{"tray", "5"},
                                                              {"recurse", "0"},
                                                              {"customstring", "~"},
                                                              {"customdir", "/x/"}}
                                               << QPoint(212, 156) << "~"
                                               << "/x/" << true << false;
        QTest::newRow("unreadable values keep the designed state")
            << QVariantMap{{"top", "high"},
                           {"tray", "yes"},
                           {"customstring", QStringList{"a", "b"}}}
            << QPoint(212, 156) << "-=-"
            << "" << false << true;
    }
    void settingsAtStartUp() {
        QFETCH(QVariantMap, stored);
        QFETCH(QPoint, pos);
        QFETCH(QString, separator);
        QFETCH(QString, customDir);
        QFETCH(bool, tray);
        QFETCH(bool, recurse);
        Rig rig;
        for (auto it = stored.begin(); it != stored.end(); ++it)
            rig.settings.values.insert(it.key(), it.value());
        TForm1& form = rig.build();
        QCOMPARE(form.pos(), pos);
        QCOMPARE(rig.ui().XEdit->text(), separator);
        QCOMPARE(rig.ui().CustomDir->text(), customDir);
        QCOMPARE(rig.ui().MinToTray->isChecked(), tray);
        QCOMPARE(rig.ui().Recurse->isChecked(), recurse);
        QVERIFY(rig.ui().BracketFormat->isChecked());
        QVERIFY(rig.ui().DashFormat->isChecked());
        form.ExitClickClick();
        QCOMPARE(rig.settings.writes, 1);
        QCOMPARE(rig.settings.values.value("tray").toInt(), tray ? 1 : 0);
        QCOMPARE(rig.settings.values.value("customstring").toString(), separator);
    }

    // Stored bounds that fit are kept; the others come onto the screen's free area.
    void storedBoundsComeOntoTheScreen_data() {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("placed"); // null: anywhere on the screen
        QTest::newRow("off every screen") << QRect(5000, -4000, 300, 200) << QRect();
        QTest::newRow("fits as it is") << QRect(40, 30, 1000, 640) << QRect(40, 30, 1000, 640);
        QTest::newRow("partly off") << QRect(1000, 100, 1000, 640) << QRect(280, 100, 1000, 640);
        QTest::newRow("huge") << QRect(0, 0, 100000, 100000) << QRect(0, 0, 1280, 800);
    }
    void storedBoundsComeOntoTheScreen() {
        QFETCH(QRect, stored);
        QFETCH(QRect, placed);
        Rig rig;
        rig.settings.values = {{"left", stored.x()},
                               {"top", stored.y()},
                               {"width", stored.width()},
                               {"height", stored.height()}};
        TForm1& form = rig.build();
        const QRect at(form.pos(), form.size());
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(at));
        if (!placed.isNull())
            QCOMPARE(at, placed);
    }

    void everyWayOutWritesTheSettingsOnce_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Exit") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }
    void everyWayOutWritesTheSettingsOnce() {
        QFETCH(int, way);
        Rig rig;
        TForm1& form = rig.build();
        form.move(30, 40);
        rig.ui().CustomFormat->setChecked(true);
        if (way == 0)
            rig.ui().ExitClick->trigger();
        else if (way == 1)
            QTest::keyClick(rig.ui().FindEdit, Qt::Key_Escape);
        else
            form.close();
        QVERIFY(!form.isVisible());
        QCOMPARE(rig.settings.writes, 1);
        QCOMPARE(rig.settings.values.value("customformat").toInt(), 1);
        QCOMPARE(rig.settings.values.value("left").toInt(), form.pos().x());
        QVERIFY(!rig.settings.values.contains("savem3u"));
        form.close();
        QCOMPARE(rig.settings.writes, 1);
    }

    void playerOptionsComeAndGoThroughTheSettings() {
        Rig rig;
        rig.settings.values = {{"balanced", "0"}, {"random", "7"}, {"savem3u", "/lists"}};
        TForm1& form = rig.build();
        QVERIFY(!form.Strip()->balanced());
        QVERIFY(form.Playlist()->random());
        form.Strip()->setBalanced(true);
        form.Playlist()->setRandom(false);
        form.ExitClickClick();
        QCOMPARE(rig.settings.values.value("balanced").toInt(), 1);
        QCOMPARE(rig.settings.values.value("random").toInt(), 0);
        // No playlist was saved or opened: the folders stay as they were.
        QCOMPARE(rig.settings.values.value("savem3u").toString(), QStringLiteral("/lists"));
        QVERIFY(!rig.settings.writeOrder.contains("savem3u"));
    }

    void enterInTheArtistListPlaysTheSelectedArtists() {
        Rig rig;
        rig.fill();
        rig.build();
        TListBox* artists = rig.ui().ArtistList;
        artists->selectAll();
        QTest::keyPress(artists, Qt::Key_Return);
        const QByteArray playlist = QFile::encodeName(rig.homeDir()) + "/Dynamic.m3u";
        QCOMPARE(rig.shell.documents, QList<QByteArray>({playlist}));
        QFile written(QFile::decodeName(playlist));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(),
                 QFile::encodeName(rig.musicFile("albert - Born Under.mp3") + "\r\n" +
                                   rig.musicFile("Muddy - Mannish Boy.mp3") + "\r\n" +
                                   rig.musicFile("Muddy - Hoochie.mp3") + "\r\n"));
    }

    void aStoreThatCannotBeWrittenIsSilent() {
        Rig rig;
        rig.settings.refuseWrites = true;
        TForm1& form = rig.build();
        form.ExitClickClick();
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.settings.values.isEmpty());
    }

    // A right click leaves focus and selection alone; its menu acts on the focused entry.
    void aRightClickMovesNothing_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("menuKey");
        QTest::addColumn<QString>("asksAbout"); // what the menu's command asks to delete
        QTest::newRow("artist, menu closed") << "ArtistList" << 1 << +Qt::Key_Escape << "";
        QTest::newRow("artist, delete") << "ArtistList" << 1 << +Qt::Key_D << "albert";
        QTest::newRow("song, delete") << "SongList" << 1 << +Qt::Key_D << "Hoochie";
        QTest::newRow("genre, remove") << "GenreList" << 2 << +Qt::Key_R << "Blues";
    }
    void aRightClickMovesNothing() {
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(int, menuKey);
        QFETCH(QString, asksAbout);
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        if (list == QLatin1String("SongList")) {
            clickRow(rig.ui().ArtistList, 1);
            clickRow(rig.ui().SongList, 0);
        }
        // Each list's focused row and selection, and the songs shown.
        const auto state = [ui = rig.ui()] {
            QStringList all{texts(ui.SongList).join(',')};
            for (const TListBox* l : {ui.GenreList, ui.ArtistList, ui.SongList})
                all << QString::number(l->itemIndex()) + selectedTexts(l).join(',');
            return all;
        };
        const QStringList before = state();
        // Through the window, as the window system delivers it, so the menu comes up.
        TListBox* clicked = part<TListBox>(&form, list.toLatin1());
        const QPoint at = form.windowHandle()->mapFromGlobal(
            clicked->viewport()->mapToGlobal(clicked->visualItemRect(clicked->item(row)).center()));
        QTest::mousePress(form.windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseRelease(form.windowHandle(), Qt::RightButton, {}, at);
        QVERIFY(QApplication::activePopupWidget());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(menuKey));
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(rig.dialogs.shown.size(), asksAbout.isEmpty() ? 0 : 1);
        if (!asksAbout.isEmpty())
            QVERIFY(rig.dialogs.texts().first().contains(" delete " + asksAbout + ' '));
        QCOMPARE(state(), before);
        QVERIFY(form.isVisible());
    }

    // A key acts on its release only where it was pressed: the release of a key whose
    // press closed a message box or the popup lands in the window and does nothing there.
    void aKeyActsOnlyWhereItWasPressed_data() {
        QTest::addColumn<QString>("opener"); // a control and the key released in it, or an action
        QTest::addColumn<int>("openKey");
        QTest::addColumn<int>("key"); // pressed in the box or popup, released in the window
        QTest::addColumn<int>("boxes");
        QTest::newRow("Esc in the rename popup")
            << "SongList" << +Qt::Key_F2 << +Qt::Key_Escape << 0;
        QTest::newRow("Esc in the genre popup")
            << "GenreList" << +Qt::Key_F1 << +Qt::Key_Escape << 0;
        QTest::newRow("Enter on Not Found!")
            << "FindEdit" << +Qt::Key_Return << +Qt::Key_Return << 1;
        QTest::newRow("Enter on the total")
            << "CalculateTotalNumberofMP3s1" << 0 << +Qt::Key_Return << 1;
    }
    void aKeyActsOnlyWhereItWasPressed() {
        QFETCH(QString, opener);
        QFETCH(int, openKey);
        QFETCH(int, key);
        QFETCH(int, boxes);
        Rig rig;
        rig.fill();
        rig.boxes = &rig.realBoxes;
        TForm1& form = rig.build();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        rig.ui().FindEdit->setText(QStringLiteral("nowhere"));
        rig.ui().FindEdit->setFocus();
        int shown = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, &form, [&shown, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isVisible()) {
                ++shown;
                QTest::keyPress(box, Qt::Key(key));
            }
        });
        closer.start(5);
        if (auto* action = form.findChild<QAction*>(opener))
            action->trigger();
        else
            QTest::keyClick(part<QWidget>(&form, opener.toLatin1()), Qt::Key(openKey));
        if (form.RenameForm()->isVisible())
            QTest::keyPress(part<QLineEdit>(form.RenameForm(), "FileName"), Qt::Key(key));
        // Where the keyboard is when the box or popup has gone.
        QWidget* focus =
            QApplication::focusWidget() ? QApplication::focusWidget() : form.focusWidget();
        QTest::keyRelease(focus, Qt::Key(key));
        QCOMPARE(shown, boxes);
        QVERIFY(form.isVisible());
        QVERIFY(!form.RenameForm()->isVisible());
    }

    // Every caption is whole and the lists keep their place when the add panel opens.
    void theFirstStartWindowFitsItsFont() {
        Rig rig;
        rig.fill();
        TForm1& form = rig.build();
        clickRow(rig.ui().SongList, 0);
        const Parts ui = rig.ui();
        const auto places = [&ui] {
            return QList<QRect>{ui.GenreList->geometry(), ui.ArtistList->geometry(),
                                ui.SongList->geometry()};
        };
        const QList<QRect> lists = places();
        const QSize size = form.size();
        for (const QRect& list : lists)
            QVERIFY(list.width() >= 160);
        for (const bool addPanel : {false, true}) {
            if (addPanel)
                QTest::mouseClick(ui.AddMP3s, Qt::LeftButton);
            QCOMPARE(places(), lists);
            QCOMPARE(form.size(), size);
            for (QWidget* w : form.findChildren<QWidget*>()) {
                const bool caption = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
                if (caption && w->isVisible() && !w->objectName().startsWith(QLatin1String("qt_")))
                    QVERIFY2(w->width() >= w->sizeHint().width() &&
                                 w->height() >= w->sizeHint().height(),
                             qPrintable(w->objectName()));
            }
        }
    }

    void popupMessageRestoresTheWindow() {
        Rig rig;
        TForm1& form = rig.build();
        form.showMinimized();
        QTRY_VERIFY(form.isMinimized());
        form.PopupFromMessage();
        QVERIFY(!form.isMinimized());
        QVERIFY(form.isVisible());
    }
};

QTEST_MAIN(TstWindow)
#include "tst_ui_window.moc"
