// GenreCommands.h: GenreCommands, the main window's genre commands: adding, renaming and
// removing genres, moving artists between them, cleaning a whole genre, and the
// association table.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class CollectionLists;
class WindowContext;
namespace lorvane {
class AssociationSource;
class Associations;
} // namespace lorvane

// A move is armed by the move button with the loaded genre's selected artists; the next
// genre click names the target (takeGenreClick), and the lists come back on the source.
class GenreCommands : public QObject {
    Q_OBJECT
public:
    GenreCommands(WindowContext& context, CollectionLists& lists, QObject* parent = nullptr);
    ~GenreCommands() override;

    // The association table ("lorvane.gen" in the data home), read by add runs when
    // "Use Associations When Adding" is ticked.
    lorvane::AssociationSource* associations() const;
    const QByteArray& associationFileName() const;

    // Whether the move button is armed, waiting for the target genre.
    bool moveArmed() const;
    // The genre whose selected artists a move takes, and its row when it was armed.
    const QByteArray& moveSourceGenre() const { return m_moveSourceGenre; }
    int moveSourceIndex() const { return m_moveSourceIndex; }
    // For a genre click: completes an armed move onto the clicked genre and returns true;
    // false when no move is armed.
    bool takeGenreClick();

    // Keys let go in the genre list, handed on by the window once it has placed the popup
    // beside it.
    void genreListKeys(int key);

public slots:
    void AddGenreClick();
    void AddGenreFolder(const QString& name);
    void RenameGenreClick();
    void RenameGenreFolder(const QString& newName);
    void RemoveGenreClick();
    void MoveButtonClick();
    void CleanArtistsinGenreClick();
    void SaveAssociationsClick();

private:
    void completeMove();

    WindowContext& m_context;
    CollectionLists& m_lists;
    std::unique_ptr<lorvane::Associations> m_associations;
    QString m_moveCaption; // the move button's normal caption
    QByteArray m_moveSourceGenre;
    int m_moveSourceIndex = -1;
};
