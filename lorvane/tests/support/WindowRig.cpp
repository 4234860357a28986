#include "WindowRig.h"

#include "TListBox.h"
#include "store/ArtistFile.h"

#include <QTest>

namespace windowtest {

TForm1& WindowRig::create(lorvane::FileClipboard* useClipboard) {
    TForm1Services services{QFile::encodeName(home.path()) + '/', &settings, &shell, boxes};
    if (withPlayer) {
        services.playerBus = &bus;
        services.volume = &volume;
        services.runner = &runner;
    }
    form = std::make_unique<TForm1>(services);
    form->setFileClipboard(useClipboard ? useClipboard : &clipboard);
    if (withTaskbar)
        form->setTaskbarEntry(&taskbar);
    return *form;
}

TForm1& WindowRig::build(lorvane::FileClipboard* useClipboard) {
    TForm1& built = create(useClipboard);
    built.show();
    if (!QTest::qWaitForWindowExposed(&built))
        qFatal("the window was not shown");
    return built;
}

QByteArray WindowRig::homePath(const QByteArray& relative) const {
    return QFile::encodeName(home.path()) + '/' + relative;
}

QByteArray WindowRig::song(const QByteArray& name) const {
    return QFile::encodeName(music.path()) + '/' + name;
}

void WindowRig::file(const QByteArray& genre, const QByteArray& artist,
                     const QByteArrayList& songs) {
    QByteArrayList paths;
    for (const QByteArray& s : songs) {
        coretest::writeBytes(song(s), "ID3");
        paths << song(s);
    }
    coretest::writeBytes(homePath("LVNDB/" + genre + '/' + artist + ".lvn"),
                         lorvane::ArtistFile::joinLines(paths));
}

QByteArrayList WindowRig::lines(const QByteArray& genre, const QByteArray& artist) const {
    return lorvane::ArtistFile::read(homePath("LVNDB/" + genre + '/' + artist + ".lvn"));
}

bool WindowRig::exists(const QByteArray& relative) const {
    return coretest::pathExists(homePath(relative));
}

TListBox* WindowRig::list(const char* name) const {
    return part<TListBox>(name);
}

QStringList texts(const TListBox* list) {
    QStringList all;
    for (int r = 0; r < list->count(); ++r)
        all << list->textAt(r);
    return all;
}

QStringList selectedTexts(const TListBox* list) {
    QStringList all;
    for (int r = 0; r < list->count(); ++r) {
        if (list->isRowSelected(r))
            all << list->textAt(r);
    }
    return all;
}

void clickRow(TListBox* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void selectTexts(TListBox* list, const QStringList& wanted) {
    for (int r = 0; r < list->count(); ++r)
        list->setRowSelected(r, wanted.contains(list->textAt(r)));
}

} // namespace windowtest
