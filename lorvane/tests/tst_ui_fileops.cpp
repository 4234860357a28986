// The song list's commands on the files themselves: rename (with the store following
// the new name), copy to the clipboard, delete.
#include "support/Fixtures.h"
#include "support/WindowRig.h"

#include "InputPopup.h"
#include "TListBox.h"
#include "files/FolderListing.h"
#include "store/Associations.h"
#include "store/GenreFolders.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <unistd.h>

using namespace lorvane;
using namespace windowtest;
using coretest::pathExists;
using coretest::readBytes;
using coretest::snapshot;
using coretest::writeBytes;

namespace {

const QString ArtistGone = QStringLiteral("(artist deleted because there were no songs existing)");
const QString CannotRename =
    QStringLiteral("Can't rename file (it's write protected, or you don't have permission)");

// Blues: albert (1 song), Muddy (2: Mannish Boy on line 0, Hoochie on line 1); Rock: Zep.
void fill(WindowRig& rig) {
    rig.file("Blues", "albert", {"albert - Born Under.mp3"});
    rig.file("Blues", "Muddy", {"Muddy - Mannish Boy.mp3", "Muddy - Hoochie.mp3"});
    rig.file("Rock", "Zep", {"Zep - Kashmir.mp3"});
}

// Focuses the artist and the song (by their shown texts) and opens the rename popup.
TRenameForm* openRename(WindowRig& rig, const QString& artist, const QString& title) {
    TListBox* artists = rig.list("ArtistList");
    clickRow(artists, texts(artists).indexOf(artist));
    TListBox* songs = rig.list("SongList");
    clickRow(songs, texts(songs).indexOf(title));
    rig.form->RenameSongClick();
    return rig.form->RenameForm();
}

void confirm(TRenameForm* popup, const QString& text) {
    popup->setText(text);
    popup->Button1Click();
}

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT

private slots:
    void renamePopup_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F2") << true;
        QTest::newRow("menu") << false;
    }
    void renamePopup() {
        QFETCH(bool, byKey);
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        clickRow(rig.list("ArtistList"), 1);
        TListBox* songs = rig.list("SongList");
        clickRow(songs, 0);
        if (byKey)
            QTest::keyClick(songs, Qt::Key_F2);
        else
            rig.part<QAction>("RenameSong")->trigger();
        TRenameForm* popup = form.RenameForm();
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->Mode, int(TRenameForm::RenameFile));
        QCOMPARE(popup->width(), 350);
        QCOMPARE(popup->text(), QStringLiteral("Muddy - Hoochie"));
        QCOMPARE(popup->OldPath, rig.song("Muddy - Hoochie.mp3"));
        QCOMPARE(popup->x(), songs->mapToGlobal(QPoint(10, 0)).x());
        QCOMPARE(popup->y(), byKey ? songs->mapToGlobal(QPoint(0, 50)).y() : QCursor::pos().y());
        // An empty text keeps the popup open and renames nothing.
        confirm(popup, QString());
        QVERIFY(popup->isVisible());
        QVERIFY(pathExists(rig.song("Muddy - Hoochie.mp3")));
    }

    void keysDoNothingInAnEmptySongList() {
        WindowRig rig;
        coretest::writeBytes(rig.homePath("LVNDB/Empty/"));
        TForm1& form = rig.build();
        TListBox* songs = rig.list("SongList");
        rig.dialogs.answers = {true};
        for (const auto key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4})
            QTest::keyClick(songs, key);
        form.RenameSongClick();
        form.DelMp3FileClick();
        form.CopyMp3FileClick();
        QVERIFY(!form.RenameForm()->isVisible());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.clipboard.copies.isEmpty());
    }

    void renameKeepsTheFolderAndWritesMp3() {
        WindowRig rig;
        rig.file("Pop", "Artist", {"Artist - First.mp3", "Artist - Song.MP3"});
        TForm1& form = rig.build();
        TRenameForm* popup = openRename(rig, "Artist", "Song");
        QCOMPARE(popup->text(), QStringLiteral("Artist - Song"));
        confirm(popup, QStringLiteral("Artist - Other"));
        QVERIFY(!popup->isVisible());
        QVERIFY(!pathExists(rig.song("Artist - Song.MP3")));
        QCOMPARE(readBytes(rig.song("Artist - Other.mp3")), QByteArray("ID3"));
        QCOMPARE(rig.lines("Pop", "Artist"),
                 QByteArrayList({rig.song("Artist - First.mp3"), rig.song("Artist - Other.mp3")}));
        QCOMPARE(texts(rig.list("SongList")), QStringList({"First", "Other"}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    // The new name may parse to another artist: the song's line follows it, into the
    // genre the store finds or the association table remembers.
    void renameIntoAnotherArtist_data() {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("remembered"); // genre in lorvane.gen, "" for none
        QTest::addColumn<QByteArray>("newFile");    // artist file that holds the new path
        QTest::addColumn<QStringList>("artists");
        QTest::addColumn<QStringList>("genres");
        QTest::addColumn<QString>("caption");
        const QStringList both{"albert", "Muddy"};
        const QStringList genres{"Blues", "Rock"};
        QTest::newRow("existing artist; the emptied one goes")
            << "albert"
            << "Born Under"
            << "Muddy - Born Under" << QByteArray() << QByteArray("Blues/Muddy")
            << QStringList{"Muddy"} << genres << ArtistGone;
        QTest::newRow("existing artist in another genre")
            << "Muddy"
            << "Hoochie"
            << "Zep - Hoochie" << QByteArray() << QByteArray("Rock/Zep") << both << genres
            << "Lorvane";
        QTest::newRow("new artist, genre unknown")
            << "Muddy"
            << "Hoochie"
            << "Howlin - Hoochie" << QByteArray() << QByteArray("Unknown/Howlin") << both
            << QStringList{"Blues", "Rock", "Unknown"} << "Lorvane";
        QTest::newRow("new artist, remembered genre")
            << "Muddy"
            << "Hoochie"
            << "Howlin - Hoochie" << QByteArray("Rock") << QByteArray("Rock/Howlin") << both
            << genres << "Lorvane";
        QTest::newRow("new artist, remembered in the selected genre")
            << "Muddy"
            << "Hoochie"
            << "Howlin - Hoochie" << QByteArray("Blues") << QByteArray("Blues/Howlin")
            << QStringList{"albert", "Howlin", "Muddy"} << genres << "Lorvane";
    }
    void renameIntoAnotherArtist() {
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(QString, typed);
        QFETCH(QByteArray, remembered);
        QFETCH(QByteArray, newFile);
        QFETCH(QStringList, artists);
        QFETCH(QStringList, genres);
        QFETCH(QString, caption);
        WindowRig rig;
        fill(rig);
        if (!remembered.isEmpty()) {
            SaveAssociationFile(rig.homePath("lorvane.gen"), {{"Howlin", remembered}});
            rig.settings.values.insert("useassociations", "1");
        }
        TForm1& form = rig.build();
        const QByteArray oldPath = rig.song(QString(artist + " - " + title + ".mp3").toUtf8());
        const QByteArray newPath = rig.song(typed.toUtf8() + ".mp3");
        confirm(openRename(rig, artist, title), typed);
        QVERIFY(pathExists(newPath));
        QVERIFY(!pathExists(oldPath));
        const qsizetype slash = newFile.indexOf('/');
        QCOMPARE(rig.lines(newFile.left(slash), newFile.mid(slash + 1)).last(), newPath);
        QVERIFY(!rig.lines("Blues", artist.toUtf8()).contains(oldPath));
        QCOMPARE(texts(rig.list("ArtistList")), artists);
        QCOMPARE(texts(rig.list("GenreList")), genres);
        QCOMPARE(rig.part<QLabel>("TotalA")->text(), QString::number(artists.size()));
        QCOMPARE(rig.part<QLabel>("TotalG")->text(), QString::number(genres.size()));
        QCOMPARE(form.windowTitle(), caption);
    }

    // Names taken by another file are not renamed onto; the store stays as it was.
    void renameOntoATakenName_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("the same name") << "Muddy - Mannish Boy";
        QTest::newRow("the name in other letter case") << "muddy - MANNISH boy";
    }
    void renameOntoATakenName() {
        QFETCH(QString, typed);
        WindowRig rig;
        fill(rig);
        writeBytes(rig.song("Muddy - Mannish Boy.mp3"), "the other song");
        rig.build();
        const auto music = snapshot(rig.song(""));
        const auto db = snapshot(rig.homePath("LVNDB"));
        TRenameForm* popup = openRename(rig, "Muddy", "Hoochie");
        confirm(popup, typed);
        QVERIFY(!popup->isVisible());
        QCOMPARE(rig.dialogs.texts(), QStringList({CannotRename}));
        QCOMPARE(snapshot(rig.song("")), music);
        QCOMPARE(snapshot(rig.homePath("LVNDB")), db);
    }

    void renameToTheSameNameDoesNothing() {
        WindowRig rig;
        fill(rig);
        rig.build();
        const auto db = snapshot(rig.homePath("LVNDB"));
        TRenameForm* popup = openRename(rig, "Muddy", "Hoochie");
        confirm(popup, popup->text());
        QVERIFY(!popup->isVisible());
        QVERIFY(rig.dialogs.shown.isEmpty());
        QCOMPARE(snapshot(rig.homePath("LVNDB")), db);
    }

    // A rename that changes only letter case is a real rename here; the artist file
    // ends up holding the new path on the same line.
    void caseOnlyRename_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("newName");
        QTest::newRow("title") << "Muddy - HOOCHIE" << QByteArray("Muddy - HOOCHIE.mp3");
        QTest::newRow("artist part") << "MUDDY - Hoochie" << QByteArray("MUDDY - Hoochie.mp3");
    }
    void caseOnlyRename() {
        QFETCH(QString, typed);
        QFETCH(QByteArray, newName);
        WindowRig rig;
        fill(rig);
        rig.build();
        confirm(openRename(rig, "Muddy", "Hoochie"), typed);
        QVERIFY(pathExists(rig.song(newName)));
        QVERIFY(!pathExists(rig.song("Muddy - Hoochie.mp3")));
        QCOMPARE(rig.lines("Blues", "Muddy"),
                 QByteArrayList({rig.song("Muddy - Mannish Boy.mp3"), rig.song(newName)}));
        QVERIFY(!rig.exists("LVNDB/Blues/MUDDY.lvn"));
        QCOMPARE(rig.list("SongList")->count(), 2);
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void anExtensionInCapitalsIsACaseOnlyRename() {
        WindowRig rig;
        rig.file("Pop", "Artist", {"Artist - Song.MP3"});
        rig.build();
        TRenameForm* popup = openRename(rig, "Artist", "Song");
        confirm(popup, popup->text());
        QVERIFY(pathExists(rig.song("Artist - Song.mp3")));
        QVERIFY(!pathExists(rig.song("Artist - Song.MP3")));
        QCOMPARE(rig.lines("Pop", "Artist"), QByteArrayList({rig.song("Artist - Song.mp3")}));
    }

    // A name that is not UTF-8 reads as Windows-1252; F2, a typed edit and Enter keep
    // the bytes of all the edit left alone, so the song stays with its artist.
    void aNameThatIsNotUtf8KeepsItsBytes_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("renamed");
        QTest::newRow("left as it is") << QByteArray("Caf\xe9 - Song.MP3") << "Café - Song"
                                       << QString() << QByteArray("Caf\xe9 - Song.mp3");
        QTest::newRow("Latin-1, appended") << QByteArray("Caf\xe9 - Cr\xe8me.mp3") << "Café - Crème"
                                           << " 2" << QByteArray("Caf\xe9 - Cr\xe8me 2.mp3");
    }
    void aNameThatIsNotUtf8KeepsItsBytes() {
        QFETCH(QByteArray, name);
        QFETCH(QString, typed);
        QFETCH(QByteArray, renamed);
        WindowRig rig;
        rig.file("Pop", "Caf\xe9", {name});
        TForm1& form = rig.build();
        QCOMPARE(texts(rig.list("ArtistList")), QStringList({QStringLiteral("Café")}));
        TListBox* songs = rig.list("SongList");
        clickRow(songs, 0);
        QTest::keyClick(songs, Qt::Key_F2);
        QTEST(form.RenameForm()->text(), "shown");
        auto* edit = form.RenameForm()->findChild<QLineEdit*>(QStringLiteral("FileName"));
        edit->end(false);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(pathExists(rig.song(renamed)));
        QCOMPARE(rig.lines("Pop", "Caf\xe9"), QByteArrayList({rig.song(renamed)}));
        QCOMPARE(listFolder(rig.homePath("LVNDB/Pop/")).size(), size_t(1)); // no new artist
    }

    // The folder tree shows such a folder legibly and scans it by its own bytes.
    void addByDirectoryTakesTheFolderBytes() {
        WindowRig rig;
        rig.file("Pop", "Band", {"Band - Old.mp3"});
        const QByteArray folder = rig.song("Caf\xe9");
        coretest::writeBytes(folder + "/Band - Cr\xe8me.mp3", "ID3");
        TForm1& form = rig.build();
        QTest::mouseClick(rig.part<QPushButton>("AddMP3s"), Qt::LeftButton);
        QVERIFY(form.setDirListFolder(folder + '/'));
        QCOMPARE(form.dirListFolder(), folder);
        QCOMPARE(rig.part<QTreeView>("DirList")->currentIndex().data().toString(),
                 QStringLiteral("Café"));
        QTest::mouseClick(rig.part<QPushButton>("Button4"), Qt::LeftButton);
        QCOMPARE(rig.lines("Pop", "Band"),
                 QByteArrayList({rig.song("Band - Old.mp3"), folder + "/Band - Cr\xe8me.mp3"}));
        // A folder made meanwhile shows once its parent is opened again.
        coretest::writeBytes(rig.song("Later/"));
        auto* tree = rig.part<QTreeView>("DirList");
        const QModelIndex music = tree->currentIndex().parent();
        tree->collapse(music);
        tree->expand(music);
        QCOMPARE(tree->model()->rowCount(music), 2);
    }

    void copy_data() {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("three, F3") << QStringList{"Baby", "Hoochie", "Mannish Boy"} << true;
        QTest::newRow("three, menu") << QStringList{"Baby", "Hoochie", "Mannish Boy"} << false;
        QTest::newRow("two") << QStringList{"Baby", "Mannish Boy"} << true;
        QTest::newRow("none") << QStringList() << false;
    }
    void copy() {
        QFETCH(QStringList, selected);
        QFETCH(bool, byKey);
        WindowRig rig;
        rig.file("Blues", "Muddy",
                 {"Muddy - Mannish Boy.mp3", "Muddy - Hoochie.mp3", "Muddy - Baby.mp3"});
        rig.build();
        TListBox* songs = rig.list("SongList");
        selectTexts(songs, selected);
        if (byKey)
            QTest::keyClick(songs, Qt::Key_F3);
        else
            rig.part<QAction>("CopyMp3File")->trigger();
        if (selected.isEmpty()) {
            QVERIFY(rig.clipboard.copies.isEmpty());
            return;
        }
        // Song-list order, which is not the order of the lines.
        QByteArrayList expected;
        for (const QString& title : selected)
            expected << rig.song("Muddy - " + title.toUtf8() + ".mp3");
        QCOMPARE(rig.clipboard.copies, QList<QByteArrayList>({expected}));
    }

    void deleteFile_data() {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << "Muddy"
                            << "Hoochie" << false;
        QTest::newRow("Yes") << "Muddy"
                             << "Hoochie" << true;
        QTest::newRow("Yes, the artist's last song") << "albert"
                                                     << "Born Under" << true;
    }
    void deleteFile() {
        QFETCH(QString, artist);
        QFETCH(QString, title);
        QFETCH(bool, yes);
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        TListBox* artists = rig.list("ArtistList");
        clickRow(artists, texts(artists).indexOf(artist));
        TListBox* songs = rig.list("SongList");
        clickRow(songs, texts(songs).indexOf(title));
        const QByteArray path = rig.song(QString(artist + " - " + title + ".mp3").toUtf8());
        const auto db = snapshot(rig.homePath("LVNDB"));
        rig.dialogs.answers = {yes};
        QTest::keyClick(songs, Qt::Key_F4);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({QStringLiteral("Are you sure you want to delete %1 from your hard "
                                             "drive?")
                                  .arg(QString::fromUtf8(path))}));
        QCOMPARE(pathExists(path), !yes);
        if (!yes) {
            QCOMPARE(snapshot(rig.homePath("LVNDB")), db);
            return;
        }
        QVERIFY(!rig.lines("Blues", artist.toUtf8()).contains(path));
        if (artist == "albert") {
            QVERIFY(!rig.exists("LVNDB/Blues/albert.lvn"));
            QCOMPARE(texts(artists), QStringList({"Muddy"}));
            QCOMPARE(form.windowTitle(), ArtistGone);
        } else {
            QCOMPARE(texts(songs), QStringList({"Mannish Boy"}));
        }
    }

    // What a command could not do is told once, afterwards: a song file that cannot
    // be deleted keeps its song (the database changes only once the file is gone),
    // names holding a line break are counted, an unreadable artist file is named.
    void whatCouldNotBeDoneIsTold_data() {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<QString>("told");
        QTest::newRow("F4 on a folder in the song's place")
            << QByteArray("F4") << "Can't delete file {music}Band - Folder.mp3";
        QTest::newRow("a scan") << QByteArray("scan")
                                << "2 files were not added: their names hold a line break, "
                                   "which the database cannot keep.";
        QTest::newRow("a manual add") << QByteArray("manual add")
                                      << "1 file was not added: its name holds a line break, "
                                         "which the database cannot keep.";
        QTest::newRow("an unreadable artist file")
            << QByteArray("unreadable") << "Cannot open file {home}LVNDB/Pop/Loop.lvn";
    }
    void whatCouldNotBeDoneIsTold() {
        QFETCH(QByteArray, how);
        QFETCH(QString, told);
        WindowRig rig;
        rig.file("Pop", "Band", {"Band - First.mp3"});
        for (const char* name : {"Band - One\nTwo.mp3", "Band - \rThree.mp3"})
            writeBytes(rig.song(name), "ID3");
        const QByteArray folder = rig.song("Band - Folder.mp3");
        const QByteArray loop = rig.homePath("LVNDB/Pop/Loop.lvn");
        if (how == "F4") {
            QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
            writeBytes(rig.homePath("LVNDB/Pop/Band.lvn"), folder + "\r\n");
        } else if (how == "unreadable") {
            QVERIFY(::symlink(loop.constData(), loop.constData()) == 0);
        }
        TForm1& form = rig.build();
        rig.dialogs.answers = {true};
        if (how == "F4") {
            clickRow(rig.list("SongList"), 0);
            QTest::keyClick(rig.list("SongList"), Qt::Key_F4);
            QVERIFY(pathExists(folder));
            QCOMPARE(rig.lines("Pop", "Band"), QByteArrayList({folder}));
        } else if (how == "scan") {
            form.AddFromFolder(rig.song(""));
        } else if (how == "manual add") {
            rig.dialogs.filesToOpen = {QFile::decodeName(rig.song("Band - One\nTwo.mp3"))};
            rig.part<QAction>("ManualAddSong")->trigger();
        } else {
            clickRow(rig.list("ArtistList"), 1);
        }
        told.replace("{music}", QFile::decodeName(rig.song("")))
            .replace("{home}", QFile::decodeName(rig.homePath()));
        QCOMPARE(rig.dialogs.texts().mid(how == "F4" ? 1 : 0), QStringList({told}));
    }

    // A song whose line is gone resolves to "null", which names no file to rename or
    // delete, not even one of that name in the current folder.
    void anUnresolvedSongNamesNoFile_data() {
        QTest::addColumn<bool>("rename");
        QTest::newRow("rename") << true;
        QTest::newRow("delete") << false;
    }
    void anUnresolvedSongNamesNoFile() {
        QFETCH(bool, rename);
        WindowRig rig;
        fill(rig);
        rig.build();
        clickRow(rig.list("ArtistList"), 1);
        writeBytes(rig.homePath("LVNDB/Blues/Muddy.lvn"), rig.song("Muddy - Mannish Boy.mp3"));
        const QString here = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QString::fromUtf8(rig.song(""))));
        writeBytes(rig.song("null"), "keep me");
        rig.list("SongList")->setItemIndex(0); // Hoochie, line 1, which the file no longer has
        rig.dialogs.answers = {true};
        if (rename) {
            rig.form->RenameSongClick();
            confirm(rig.form->RenameForm(), QStringLiteral("renamed"));
        } else {
            rig.form->DelMp3FileClick();
        }
        QDir::setCurrent(here);
        QCOMPARE(rig.dialogs.texts().value(0),
                 rename ? CannotRename
                        : QStringLiteral("Are you sure you want to delete null from your hard "
                                         "drive?"));
        QCOMPARE(readBytes(rig.song("null")), QByteArray("keep me"));
        QVERIFY(!pathExists(rig.song("renamed.mp3")));
        QVERIFY(pathExists(rig.song("Muddy - Hoochie.mp3")));
    }

    // The no-replace rename underneath: a taken name is never replaced, whatever holds it.
    void renameNeverReplaces_data() {
        QTest::addColumn<QByteArray>("holder"); // "file", "link" (dangling), "hardlink"
        QTest::newRow("a file") << QByteArray("file");
        QTest::newRow("a dangling link") << QByteArray("link");
        QTest::newRow("another name of the same file") << QByteArray("hardlink");
    }
    void renameNeverReplaces() {
        QFETCH(QByteArray, holder);
        QTemporaryDir dir;
        const QByteArray from = QFile::encodeName(dir.path()) + "/a.mp3";
        const QByteArray to = QFile::encodeName(dir.path()) + "/A.mp3";
        writeBytes(from, "song");
        if (holder == "file")
            writeBytes(to, "other");
        else if (holder == "link")
            QVERIFY(::symlink("nowhere", to.constData()) == 0);
        else
            QVERIFY(::link(from.constData(), to.constData()) == 0);
        const auto before = snapshot(QFile::encodeName(dir.path()));
        QVERIFY(!RenameNoReplace(from, to));
        QCOMPARE(snapshot(QFile::encodeName(dir.path())), before);
    }
};

QTEST_MAIN(TestFileOps)
#include "tst_ui_fileops.moc"
