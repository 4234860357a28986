// The genre commands of the main window: add, rename, remove, move artists, clean a
// genre, the association menu, and the names the popup refuses.
#include "support/Fixtures.h"
#include "support/WindowRig.h"

#include "InputPopup.h"
#include "TListBox.h"
#include "store/Associations.h"
#include "store/DatabaseLock.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace lorvane;
using namespace windowtest;
using coretest::snapshot;

namespace {

const QString MoveCaption = QStringLiteral("<-- Move Sele&cted Artists to a Genre");

// Blues: albert (1 song), Muddy (2); jazz: empty; Rock: Zep (1).
void fill(WindowRig& rig) {
    rig.file("Blues", "albert", {"albert - Born Under.mp3"});
    rig.file("Blues", "Muddy", {"Muddy - Mannish Boy.mp3", "Muddy - Hoochie.mp3"});
    rig.file("Rock", "Zep", {"Zep - Kashmir.mp3"});
    coretest::writeBytes(rig.homePath("LVNDB/jazz/"));
}

} // namespace

class TestGenres : public QObject {
    Q_OBJECT

private slots:
    void addGenre_data() {
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("listed");
        const QStringList before{"Blues", "jazz", "Rock"};
        QTest::newRow("F1, new") << true << "Metal"
                                 << QStringList{"Blues", "jazz", "Metal", "Rock"};
        QTest::newRow("menu, new")
            << false << "Soul Jazz" << QStringList(before + QStringList{"Soul Jazz"});
        QTest::newRow("exists") << true << "Rock" << before;
        QTest::newRow("exists in other letter case") << false << "BLUES" << before;
    }
    void addGenre() {
        QFETCH(bool, byKey);
        QFETCH(QString, name);
        QFETCH(QStringList, listed);
        const bool created = listed.size() == 4;
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        TRenameForm* popup = form.RenameForm();
        TListBox* genres = rig.list("GenreList");
        if (byKey) {
            genres->setFocus();
            QTest::keyClick(genres, Qt::Key_F1);
            QCOMPARE(popup->pos(), genres->mapToGlobal(QPoint(10, 50)));
        } else {
            rig.part<QAction>("AddGenre")->trigger();
            QCOMPARE(popup->pos(), QCursor::pos());
        }
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->Mode, int(TRenameForm::AddGenre));
        QCOMPARE(popup->width(), 150);
        QCOMPARE(popup->text(), QString());
        popup->setText(name);
        popup->Button1Click();
        QVERIFY(!popup->isVisible());

        QCOMPARE(texts(genres), listed);
        QCOMPARE(rig.exists("LVNDB/" + name.toUtf8()), created || name == "Rock");
        QCOMPARE(rig.exists("LVNDB/BLUES"), false);
        QCOMPARE(rig.part<QLabel>("TotalG")->text(), QString::number(genres->count()));
        // The new genre is listed, not selected.
        QCOMPARE(selectedTexts(genres), QStringList({"Blues"}));
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void renameGenre_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("new name") << "Soul" << QStringList{"jazz", "Rock", "Soul"};
        QTest::newRow("letter case only") << "BLUES" << QStringList{"BLUES", "jazz", "Rock"};
        QTest::newRow("onto another genre") << "Rock" << QStringList();
        QTest::newRow("onto another genre in other letter case") << "rock" << QStringList();
        QTest::newRow("onto an empty genre folder") << "jazz" << QStringList();
    }
    void renameGenre() {
        QFETCH(QString, name);
        QFETCH(QStringList, listed);
        const bool renamed = !listed.isEmpty();
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        TListBox* genres = rig.list("GenreList");
        genres->setFocus();
        QTest::keyClick(genres, Qt::Key_F2);
        TRenameForm* popup = form.RenameForm();
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->Mode, int(TRenameForm::RenameGenre));
        QCOMPARE(popup->text(), QStringLiteral("Blues"));
        QCOMPARE(popup->pos(), genres->mapToGlobal(QPoint(10, 50)));
        const auto before = snapshot(rig.homePath("LVNDB"));
        popup->setText(name);
        popup->Button1Click();

        if (!renamed) {
            QCOMPARE(snapshot(rig.homePath("LVNDB")), before);
            QCOMPARE(texts(genres), QStringList({"Blues", "jazz", "Rock"}));
            QCOMPARE(selectedTexts(genres), QStringList({"Blues"}));
            return;
        }
        QCOMPARE(texts(genres), listed);
        QVERIFY(!rig.exists("LVNDB/Blues"));
        QCOMPARE(rig.lines(name.toUtf8(), "Muddy").size(), 2);
        // The list has no selection after the rename, so its first genre is loaded.
        QCOMPARE(selectedTexts(genres), QStringList({listed.first()}));
        QCOMPARE(form.Lists().genrePath(), "LVNDB/" + listed.first().toUtf8() + '/');
        QCOMPARE(rig.part<QLabel>("TotalA")->text(),
                 QString::number(rig.list("ArtistList")->count()));
    }

    void removeGenre_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("otherFile");
        QTest::addColumn<bool>("leftover");
        QTest::newRow("No") << false << false << false;
        QTest::newRow("Yes") << true << false << false;
        QTest::newRow("Yes, the folder holds another file") << true << true << false;
        QTest::newRow("Yes, a killed write left its temporary file") << true << false << true;
    }
    void removeGenre() {
        QFETCH(bool, yes);
        QFETCH(bool, otherFile);
        QFETCH(bool, leftover);
        WindowRig rig;
        fill(rig);
        if (leftover)
            coretest::writeBytes(rig.homePath("LVNDB/Rock/.lvn-k1ll3d00"), "/half");
        if (otherFile) {
            coretest::writeBytes(rig.homePath("LVNDB/Rock/cover.jpg"), "JPEG");
            rig.file("Rock/old", "Deep", {"Deep - Down.mp3"});
        }
        TForm1& form = rig.build();
        TListBox* genres = rig.list("GenreList");
        clickRow(genres, 2);
        rig.dialogs.answers = {yes};
        QTest::keyClick(genres, Qt::Key_Delete);
        QCOMPARE(rig.dialogs.texts(),
                 QStringList({"Are you sure you want to delete Rock and all its artists from "
                              "the database?"}));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QCOMPARE(rig.exists("LVNDB/Rock/Zep.lvn"), !yes);
        QCOMPARE(rig.exists("LVNDB/Rock/old/Deep.lvn"), otherFile && !yes);
        QCOMPARE(rig.exists("LVNDB/Rock"), !yes || otherFile);
        QCOMPARE(rig.exists("LVNDB/Rock/cover.jpg"), otherFile);
        QCOMPARE(rig.exists("LVNDB/Rock/.lvn-k1ll3d00"), leftover && !yes);
        // The songs themselves stay.
        QVERIFY(coretest::pathExists(rig.song("Zep - Kashmir.mp3")));
        QCOMPARE(texts(genres),
                 yes ? QStringList({"Blues", "jazz"}) : QStringList({"Blues", "jazz", "Rock"}));
        QCOMPARE(selectedTexts(genres), yes ? QStringList({"Blues"}) : QStringList({"Rock"}));
        QCOMPARE(rig.part<QLabel>("TotalG")->text(), QString::number(genres->count()));
        QCOMPARE(texts(rig.list("ArtistList")),
                 yes ? QStringList({"albert", "Muddy"}) : QStringList({"Zep"}));
    }

    void removingTheLastGenreEmptiesEverything() {
        WindowRig rig;
        rig.file("Only", "One", {"One - Song.mp3"});
        rig.build();
        rig.dialogs.answers = {true};
        rig.part<QAction>("RemoveGenre")->trigger();
        QCOMPARE(rig.list("GenreList")->count(), 0);
        for (const char* total : {"TotalG", "TotalA", "TotalS"})
            QCOMPARE(rig.part<QLabel>(total)->text(), QStringLiteral("0"));
        // Nothing left to remove, rename or clean: no question, no popup.
        rig.part<QAction>("RemoveGenre")->trigger();
        rig.part<QAction>("RenameGenre")->trigger();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QVERIFY(!rig.form->RenameForm()->isVisible());
    }

    // Three artists are moved to a genre that holds one of them already (in either
    // letter case): two move, the third stays behind, no longer selected.
    void moveThreeArtists_data() {
        QTest::addColumn<QByteArray>("held");
        QTest::newRow("same name") << QByteArray("Muddy");
        QTest::newRow("other letter case") << QByteArray("MUDDY");
    }
    void moveThreeArtists() {
        QFETCH(QByteArray, held);
        WindowRig rig;
        fill(rig);
        rig.file("Blues", "Otis", {"Otis - Dock.mp3"});
        rig.file("Rock", held, {"Muddy - Rocks.mp3"});
        TForm1& form = rig.build();
        TListBox* genres = rig.list("GenreList");
        TListBox* artists = rig.list("ArtistList");
        auto* move = rig.part<QPushButton>("MoveButton");
        artists->selectAll();
        move->click();
        QCOMPARE(move->text(), QStringLiteral("(now sele&ct which genre)"));
        QCOMPARE(form.Genres().moveSourceGenre(), QByteArray("Blues"));
        QCOMPARE(form.Genres().moveSourceIndex(), 0);

        clickRow(genres, 2);
        QCOMPARE(texts(artists), QStringList({"Muddy"}));
        QCOMPARE(selectedTexts(artists), QStringList({"Muddy"}));
        QVERIFY(rig.exists("LVNDB/Rock/albert.lvn"));
        QVERIFY(rig.exists("LVNDB/Rock/Otis.lvn"));
        QVERIFY(!rig.exists("LVNDB/Blues/albert.lvn"));
        QCOMPARE(rig.lines("Blues", "Muddy").size(), 2);
        QCOMPARE(rig.lines("Rock", held), QByteArrayList({rig.song("Muddy - Rocks.mp3")}));
        QCOMPARE(selectedTexts(genres), QStringList({"Blues"}));
        QCOMPARE(form.Lists().genrePath(), QByteArray("LVNDB/Blues/"));
        QCOMPARE(move->text(), MoveCaption);
        QCOMPARE(rig.part<QLabel>("TotalA")->text(), QStringLiteral("1"));
        QCOMPARE(texts(rig.list("SongList")), QStringList({"Hoochie", "Mannish Boy"}));

        // The next genre click is an ordinary one again.
        clickRow(genres, 2);
        QCOMPARE(texts(artists), QStringList({"albert", held, "Otis", "Zep"}));
    }

    void aMoveIsCancelled_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("the same genre clicked") << 0;
        QTest::newRow("the button pressed again") << 1;
        QTest::newRow("the source genre removed") << 2;
    }
    void aMoveIsCancelled() {
        QFETCH(int, how);
        WindowRig rig;
        fill(rig);
        rig.build();
        TListBox* genres = rig.list("GenreList");
        TListBox* artists = rig.list("ArtistList");
        auto* move = rig.part<QPushButton>("MoveButton");
        artists->selectAll();
        move->click();
        if (how == 0) {
            clickRow(genres, 0);
        } else if (how == 1) {
            move->click();
        } else {
            rig.dialogs.answers = {true};
            rig.form->RemoveGenreClick();
            QCOMPARE(texts(genres), QStringList({"jazz", "Rock"}));
            QCOMPARE(selectedTexts(genres), QStringList({"jazz"}));
            QCOMPARE(artists->count(), 0);
        }
        QCOMPARE(move->text(), MoveCaption);
        clickRow(genres, genres->count() - 1);
        QCOMPARE(texts(artists), QStringList({"Zep"}));
        QCOMPARE(rig.exists("LVNDB/Blues/albert.lvn"), how != 2);
        QVERIFY(!rig.exists("LVNDB/Rock/albert.lvn"));
    }

    void aMoveNeedsSelectedArtists() {
        WindowRig rig;
        fill(rig);
        rig.build();
        rig.list("ArtistList")->clearSelection();
        auto* move = rig.part<QPushButton>("MoveButton");
        move->click();
        QCOMPARE(move->text(), MoveCaption);
    }

    void cleanAllArtists_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F3") << true;
        QTest::newRow("menu") << false;
    }
    void cleanAllArtists() {
        QFETCH(bool, byKey);
        WindowRig rig;
        rig.file("Mixed", "a", {"a - gone.mp3"});
        rig.file("Mixed", "b", {"b - gone.mp3", "b - gone too.mp3"});
        rig.file("Mixed", "c", {"c - here.mp3", "c - gone.mp3"});
        rig.file("Mixed", "d", {"d - gone.mp3"});
        for (const char* gone :
             {"a - gone.mp3", "b - gone.mp3", "b - gone too.mp3", "c - gone.mp3", "d - gone.mp3"})
            QVERIFY(::unlink(rig.song(gone).constData()) == 0);
        rig.build();
        if (byKey)
            QTest::keyClick(rig.list("GenreList"), Qt::Key_F3);
        else
            rig.part<QAction>("CleanArtistsinGenre")->trigger();
        QCOMPARE(texts(rig.list("ArtistList")), QStringList({"c"}));
        QCOMPARE(rig.lines("Mixed", "c"), QByteArrayList({rig.song("c - here.mp3")}));
        for (const char* artist : {"a", "b", "d"})
            QVERIFY(!rig.exists(QByteArray("LVNDB/Mixed/") + artist + ".lvn"));
        QCOMPARE(rig.part<QLabel>("TotalA")->text(), QStringLiteral("1"));
    }

    // Save, purge and scan again from the window: the menu's check mark decides, and
    // goes to the settings.
    void associationsFromTheMenu_data() {
        QTest::addColumn<bool>("use");
        QTest::newRow("option on") << true;
        QTest::newRow("option off") << false;
    }
    void associationsFromTheMenu() {
        QFETCH(bool, use);
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        rig.part<QAction>("SaveAssociations")->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Lorvane"));
        QCOMPARE(LoadAssociationFile(rig.homePath("lorvane.gen")).size(), 3);
        rig.dialogs.answers = {true};
        form.PurgeDBClick();
        if (use)
            rig.part<QAction>("UseAssociations")->trigger();
        QCOMPARE(rig.part<QAction>("UseAssociations")->isChecked(), use);

        rig.part<QLineEdit>("CustomDir")->setText(QString::fromUtf8(rig.song("")));
        rig.part<QPushButton>("BitBtn1")->click();
        QCOMPARE(rig.exists("LVNDB/Rock/Zep.lvn"), use);
        QCOMPARE(rig.exists("LVNDB/Blues/Muddy.lvn"), use);
        QCOMPARE(rig.exists("LVNDB/Unknown/Zep.lvn"), !use);
        QCOMPARE(texts(rig.list("GenreList")).contains("Unknown"), !use);
        QCOMPARE(texts(rig.list("ArtistList")),
                 use ? QStringList({"albert", "Muddy"}) : QStringList());
        form.close();
        QCOMPARE(rig.settings.values.value("useassociations").toInt(), use ? 1 : 0);
    }

    void anAssociationFileThatCannotBeReadStopsTheScan() {
        WindowRig rig;
        fill(rig);
        coretest::writeBytes(rig.song("New - Song.mp3"), "ID3");
        coretest::writeBytes(rig.homePath("lorvane.gen"), "Artist;Genre\nNew;Rock\n");
        rig.settings.values.insert("useassociations", "1");
        rig.build();
        const auto before = snapshot(rig.homePath("LVNDB"));
        rig.part<QLineEdit>("CustomDir")->setText(QString::fromUtf8(rig.song("")));
        rig.part<QPushButton>("BitBtn1")->click();
        QCOMPARE(snapshot(rig.homePath("LVNDB")), before);
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown.first().kind, QStringLiteral("error"));
        QVERIFY(rig.dialogs.shown.first().text.contains(
            QString::fromUtf8(rig.homePath("lorvane.gen"))));
    }

    // A name that would reach outside its own folder, or names nothing, is refused with
    // a message; the popup stays open and nothing on disk changes.
    void unsafeNamesAreRefused_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        const std::pair<const char*, int> modes[] = {{"add genre", TRenameForm::AddGenre},
                                                     {"rename genre", TRenameForm::RenameGenre},
                                                     {"add artist", TRenameForm::AddArtist},
                                                     {"rename file", TRenameForm::RenameFile}};
        const std::pair<const char*, const char*> names[] = {
            {"a/b", "\"/\""}, {"../up", "\"/\""}, {"/tmp/x", "\"/\""},
            {".", "\"..\""},  {"..", "\"..\""},   {"   ", "empty"}};
        for (const auto& [modeName, mode] : modes) {
            for (const auto& [name, why] : names)
                QTest::addRow("%s: \"%s\"", modeName, name) << mode << name << why;
        }
        QTest::newRow("add genre: hidden") << int(TRenameForm::AddGenre) << ".hidden"
                                           << "\".\"";
        QTest::newRow("rename genre: hidden") << int(TRenameForm::RenameGenre) << ".hidden"
                                              << "\".\"";
    }
    void unsafeNamesAreRefused() {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, why);
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        switch (mode) {
        case TRenameForm::AddGenre:
            form.AddGenreClick();
            break;
        case TRenameForm::RenameGenre:
            form.RenameGenreClick();
            break;
        case TRenameForm::AddArtist:
            form.ManualAddClick();
            break;
        default:
            form.RenameSongClick();
        }
        TRenameForm* popup = form.RenameForm();
        QCOMPARE(popup->Mode, mode);
        const auto home = snapshot(rig.homePath());
        const auto music = snapshot(rig.song(""));
        const QStringList artists = texts(rig.list("ArtistList"));
        popup->setText(name);
        QTest::keyClick(popup->findChild<QLineEdit*>(QStringLiteral("FileName")), Qt::Key_Return);
        QVERIFY(popup->isVisible());
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QVERIFY2(rig.dialogs.shown.first().text.contains(why),
                 qPrintable(rig.dialogs.shown.first().text));
        QCOMPARE(snapshot(rig.homePath()), home);
        QCOMPARE(snapshot(rig.song("")), music);
        QCOMPARE(texts(rig.list("GenreList")), QStringList({"Blues", "jazz", "Rock"}));
        QCOMPARE(texts(rig.list("ArtistList")), artists);
    }

    // Another program holds the database past the give-up time: the command changes
    // nothing, and says why in a box as other store errors are shown.
    void aDatabaseInUseIsSaidInABox_data() {
        QTest::addColumn<QString>("command");
        for (const char* command :
             {"add genre", "rename genre", "remove genre", "move artist", "delete artist", "purge"})
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void aDatabaseInUseIsSaidInABox() {
        QFETCH(QString, command);
        WindowRig rig;
        fill(rig);
        TForm1& form = rig.build();
        DatabaseLock& lock = form.Store().databaseLock();
        lock.setGiveUpAfter(std::chrono::milliseconds(50));
        const int other = ::open(lock.lockFile().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        QVERIFY(other >= 0 && ::flock(other, LOCK_EX) == 0);
        const auto before = snapshot(rig.homePath("LVNDB"));
        TListBox* genres = rig.list("GenreList");
        TListBox* artists = rig.list("ArtistList");
        rig.dialogs.answers = {true};
        if (command == "add genre" || command == "rename genre") {
            genres->setFocus();
            QTest::keyClick(genres, command == "add genre" ? Qt::Key_F1 : Qt::Key_F2);
            form.RenameForm()->setText(QStringLiteral("Soul"));
            QTest::keyClick(form.RenameForm()->findChild<QLineEdit*>(QStringLiteral("FileName")),
                            Qt::Key_Return);
        } else if (command == "remove genre") {
            clickRow(genres, 2);
            QTest::keyClick(genres, Qt::Key_Delete);
        } else if (command == "move artist") {
            clickRow(artists, 1);
            QTest::mouseClick(rig.part<QPushButton>("MoveButton"), Qt::LeftButton);
            clickRow(genres, 2);
        } else if (command == "delete artist") {
            clickRow(artists, 1);
            QTest::keyClick(artists, Qt::Key_Delete);
        } else {
            rig.part<QAction>("PurgeDB")->trigger();
        }
        ::close(other);
        ::unlink(lock.lockFile().constData());
        QVERIFY(!rig.dialogs.shown.isEmpty());
        QCOMPARE(rig.dialogs.shown.last().kind, QStringLiteral("error"));
        QCOMPARE(rig.dialogs.shown.last().text,
                 QStringLiteral("The database is in use by another program."));
        QCOMPARE(snapshot(rig.homePath("LVNDB")), before);
        QCOMPARE(texts(genres), QStringList({"Blues", "jazz", "Rock"}));
        QVERIFY(texts(artists).contains(QStringLiteral("Muddy")) ||
                texts(artists).contains(QStringLiteral("Zep")));
    }
};

QTEST_MAIN(TestGenres)
#include "tst_ui_genres.moc"
