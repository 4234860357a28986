#pragma once

#include <QString>

// Caption texts that several of the main window's commands set.
namespace lorvane::captions {

inline const QString ProductName = QStringLiteral("Lorvane");
inline const QString ArtistGone =
    QStringLiteral("(artist deleted because there were no songs existing)");

} // namespace lorvane::captions
