#include "store/ListOrder.h"

namespace lorvane {

bool ListLess(const QString& a, const QString& b, int tieA, int tieB) {
    if (const int c = QString::compare(a, b, Qt::CaseInsensitive))
        return c < 0;
    if (const int c = QString::compare(a, b, Qt::CaseSensitive))
        return c < 0;
    return tieA < tieB;
}

} // namespace lorvane
