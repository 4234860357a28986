#include "store/GenreFolders.h"

#include "files/FindFiles.h"
#include "files/FolderListing.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/StoreError.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace lorvane {

namespace {

QByteArray withoutSlash(QByteArray folder) {
    if (folder.endsWith('/'))
        folder.chop(1);
    return folder;
}

bool sameFile(const QByteArray& a, const QByteArray& b) {
    struct stat sa {
    }, sb{};
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool renameOnce(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace flag: a hard link fails when the name is
    // taken; folders (which cannot be linked) are checked first, then renamed.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0)
            return true;
        const int error = errno;
        ::unlink(to.constData());
        errno = error;
        return false;
    }
    if (errno == EEXIST)
        return false;
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.constData(), to.constData()) == 0;
}

} // namespace

QString NameRefusal(const QByteArray& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("The name is empty.");
    if (name.contains('/'))
        return QStringLiteral("The name must not contain \"/\".");
    if (name == "." || name == "..")
        return QStringLiteral("The name must not be \".\" or \"..\".");
    if (name.contains('\0'))
        return QStringLiteral("The name must not contain a zero character.");
    if (name.contains('\r') || name.contains('\n'))
        return QStringLiteral("The name must not contain a line break.");
    return {};
}

QString GenreNameRefusal(const QByteArray& name) {
    QString reason = NameRefusal(name);
    if (!reason.isEmpty())
        return reason;
    if (isHiddenName(name))
        return QStringLiteral("A genre name must not start with \".\".");
    return {};
}

bool RenameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (renameOnce(from, to))
        return true;
    // On a file system that ignores letter case, a new name differing only in case
    // finds the file itself in the way; it goes through a free name instead. Two hard
    // links of one file meet the same test, and there the second step fails.
    if (errno != EEXIST || from == to || !sameFile(from, to))
        return false;
    const QByteArray folder = from.left(from.lastIndexOf('/') + 1);
    QByteArray temp;
    for (int attempt = 0; attempt < 20; ++attempt) {
        temp = folder + ".lorvane-rename-" +
               QByteArray::number(QRandomGenerator::global()->generate(), 36);
        if (renameOnce(from, temp))
            break;
        temp.clear();
        if (errno != EEXIST)
            return false;
    }
    if (temp.isEmpty())
        return false;
    if (renameOnce(temp, to))
        return true;
    const int error = errno;
    renameOnce(temp, from);
    errno = error;
    return false;
}

QByteArray GenreFolders::existingGenre(const QByteArray& name) const {
    const QByteArray key = ArtistFile::nameKey(name);
    for (const QByteArray& genre : m_store.genres()) {
        if (ArtistFile::nameKey(genre) == key)
            return genre;
    }
    return {};
}

namespace {

// The genre commands answer only yes or no: a database in use is a no, with nothing
// changed.
std::optional<DatabaseLock::Hold> holdOrNothing(const ArtistStore& store) {
    try {
        return store.databaseLock().hold();
    } catch (const StoreError&) {
        return std::nullopt;
    }
}

} // namespace

bool GenreFolders::AddGenreFolder(const QByteArray& name) const {
    const auto hold = holdOrNothing(m_store);
    if (!hold || !GenreNameRefusal(name).isEmpty() || !existingGenre(name).isEmpty())
        return false;
    return ArtistFile::makeFolder(withoutSlash(m_store.genreFolder(name)));
}

bool GenreFolders::RenameGenreFolder(const QByteArray& genre, const QByteArray& newName) const {
    if (!NameRefusal(genre).isEmpty() || !GenreNameRefusal(newName).isEmpty() || genre == newName)
        return false;
    const auto hold = holdOrNothing(m_store);
    if (!hold)
        return false;
    // Only the genre itself may hold the new name under another letter case.
    const QByteArray holder = existingGenre(newName);
    if (!holder.isEmpty() && holder != genre)
        return false;
    return RenameNoReplace(withoutSlash(m_store.genreFolder(genre)),
                           withoutSlash(m_store.genreFolder(newName)));
}

bool GenreFolders::RemoveGenre(const QByteArray& genre, const CaptionSink& captions) const {
    if (!NameRefusal(genre).isEmpty())
        return false;
    const auto hold = holdOrNothing(m_store);
    if (!hold)
        return false;
    const QByteArray folder = m_store.genreFolder(genre);
    // A genre that is a link goes as a link; the folder it leads to is the user's.
    struct stat st {};
    if (::lstat(withoutSlash(folder).constData(), &st) == 0 && S_ISLNK(st.st_mode))
        return ::unlink(withoutSlash(folder).constData()) == 0;
    const FindOptions inside{.recurse = true, .followLinks = false};
    for (const QByteArray& file :
         FindFiles(folder, QByteArrayLiteral("*.lvn"), inside, GettingFilesCaptions(captions))) {
        if (m_store.mayRemove(file))
            ArtistFile::remove(file);
    }
    // A write cut short by a kill leaves its hidden temporary file, which would keep the
    // emptied folder on disk.
    for (const FolderEntry& entry : listFolder(folder)) {
        if (!entry.folder && ArtistFile::isTemporaryName(entry.name))
            ArtistFile::remove(folder + entry.name);
    }
    return ::rmdir(withoutSlash(folder).constData()) == 0;
}

bool GenreFolders::MoveArtist(const QByteArray& source, const QByteArray& target,
                              const QByteArray& artist) const {
    if (!NameRefusal(source).isEmpty() || !NameRefusal(target).isEmpty())
        return false;
    const auto hold = holdOrNothing(m_store);
    if (!hold)
        return false;
    const QByteArray from = m_store.artistFile(source, artist);
    if (from.isEmpty() || !ArtistFile::exists(from))
        return false;
    // The target's file of this artist, whatever its letter case, stays; nothing merges.
    if (ArtistFile::exists(m_store.artistFile(target, artist)))
        return false;
    const QByteArray name = from.mid(from.lastIndexOf('/') + 1);
    const QByteArray to = m_store.genreFolder(target) + name;
    // Neither end may lie behind a genre that is a link: a move would take a file away
    // from where the user keeps it, or put one there.
    if (!m_store.mayRemove(from) || !m_store.mayRemove(to))
        return false;
    return RenameNoReplace(from, to);
}

} // namespace lorvane
