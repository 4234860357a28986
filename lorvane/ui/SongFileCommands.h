// SongFileCommands.h: SongFileCommands, the main window's commands on the song files
// themselves: rename, copy to the clipboard, delete.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class CollectionLists;
class WindowContext;
namespace lorvane {
class AssociationSource;
class FileClipboard;
} // namespace lorvane

// A song's file changes on disk first; the database and the lists follow only what
// happened to it, so a file that stays is never lost from the collection.
class SongFileCommands : public QObject {
    Q_OBJECT
public:
    // associations: the table a renamed song's new artist is filed by (may be null).
    SongFileCommands(WindowContext& context, CollectionLists& lists,
                     lorvane::AssociationSource* associations, QObject* parent = nullptr);

    // The clipboard that the copy command puts files on; none by default.
    void setFileClipboard(lorvane::FileClipboard* clipboard) { m_clipboard = clipboard; }

    // Keys let go in the song list that the window leaves to the song files (F2 to F4).
    void songListKeys(int key);
    // Why the rename popup's text cannot name the file, "" when it can.
    QString renameRefusal(const QString& typed) const;
    // The rename popup confirmed with this text.
    void renameSong(const QString& typed);

public slots:
    void RenameSongClick();
    void CopyMp3FileClick();
    void DelMp3FileClick();

private:
    void showRenameSong(int top);

    WindowContext& m_context;
    CollectionLists& m_lists;
    lorvane::AssociationSource* m_associations;
    lorvane::FileClipboard* m_clipboard = nullptr;
    QByteArray m_renameBytes; // the bytes of the name the rename popup was opened with
};
