#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// Names on disk are bytes; the window shows and edits them as text. A name written by
// an older 8-bit program is usually not UTF-8, and its bytes must survive an edit
// that did not touch them.
//
// How to use: show a name with DisplayText(). When the user edits a shown name, take
// the bytes back with EditedNameBytes(original bytes, edited text), never by encoding
// the text afresh. A name typed from nothing goes through NameBytes(), or through
// TypedNameBytes() when it may name an entry the user sees in a list.
namespace lorvane {

// The text of bytes: each part between "/" reads as UTF-8 when it is valid UTF-8,
// otherwise as Windows-1252, the code page such names were most likely written in
// (the bytes it leaves undefined read as U+FFFD).
QString DisplayText(const QByteArray& bytes);

// Bytes of a name the user typed from nothing (genre, artist, separator, folder): UTF-8.
QByteArray NameBytes(const QString& typed);

// The bytes of `edited`, which the user made from DisplayText(original): every
// character the edit left in place keeps its bytes of original; a new character is
// written in the code page original is in (when original is not UTF-8 and the
// character exists there), otherwise in UTF-8.
QByteArray EditedNameBytes(const QByteArray& original, const QString& edited);

// The bytes of a typed name: those of the entry of `listed` that reads exactly as
// typed (so that typing a shown name names that entry), else NameBytes(typed).
QByteArray TypedNameBytes(const QString& typed, const QByteArrayList& listed);

} // namespace lorvane
