#include "store/ArtistFile.h"

#include "files/PathText.h"
#include "store/StoreError.h"

namespace lorvane::ArtistFile {

QByteArray readRaw(const QByteArray& path, bool* exists) {
    std::optional<QByteArray> content = ByteFile::readRaw(path, exists);
    if (!content)
        throw StoreError::cannotOpen(path);
    return std::move(*content);
}

QByteArrayList read(const QByteArray& path, bool* exists) {
    return splitLines(readRaw(path, exists));
}

void checkReplaceable(const QByteArray& path, Links links) {
    if (!ByteFile::isReplaceable(path, links))
        throw StoreError::cannotCreate(path);
}

void writeAtomic(const QByteArray& path, const QByteArray& content, Links links) {
    if (!ByteFile::writeAtomic(path, content, links))
        throw StoreError::cannotCreate(path);
}

void write(const QByteArray& path, const QByteArrayList& lines, Links links) {
    ArtistFile::writeAtomic(path, joinLines(lines), links);
}

bool writeOrRemove(const QByteArray& path, const QByteArrayList& lines, bool mayRemove) {
    if (!lines.isEmpty() || !mayRemove) {
        write(path, lines);
        return false;
    }
    remove(path);
    return true;
}

QByteArray songKey(const QByteArray& path) {
    return asciiFolded(plainPath(path));
}

QByteArray asciiFolded(const QByteArray& text) {
    QByteArray out = text;
    char* data = out.data();
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (data[i] >= 'A' && data[i] <= 'Z')
            data[i] = char(data[i] + ('a' - 'A'));
    }
    return out;
}

bool isStorableLine(const QByteArray& path) {
    return !path.contains('\r') && !path.contains('\n');
}

} // namespace lorvane::ArtistFile
