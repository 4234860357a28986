#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QStringList>

// The --charset NAME option of the tag commands: the set ID3v1 text is read and
// written in, one of the settings values the File menu offers.
namespace probe {

// Takes every "--charset NAME" out of args and raw (the same arguments as bytes, same
// positions) and leaves the last NAME in charset. False, with a message on stderr, when
// NAME is missing or not a known set.
bool takeCharsetOption(QStringList& args, QByteArrayList& raw, QByteArray& charset);

} // namespace probe
