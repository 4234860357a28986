#pragma once

#include <QString>

// The order of the three lists of the main window: alphabetical without regard to letter
// case, whatever order the entries come in. The window's lists and every tool that
// predicts what they show use this one rule.
namespace lorvane {

// Whether a is listed before b. Texts equal apart from letter case are put in a fixed
// order (case-sensitive, then by tie, e.g. the line index of a song) so the order never
// depends on how the entries arrived.
bool ListLess(const QString& a, const QString& b, int tieA = 0, int tieB = 0);

} // namespace lorvane
