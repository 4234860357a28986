#include "charset.h"

#include "metadata/TagCharset.h"

#include <cstdio>

namespace probe {

bool takeCharsetOption(QStringList& args, QByteArrayList& raw, QByteArray& charset) {
    for (qsizetype i = 0; i < args.size();) {
        if (args[i] != QLatin1String("--charset")) {
            ++i;
            continue;
        }
        const QByteArray name =
            id3v1::canonicalCharset(i + 1 < args.size() ? args[i + 1].toLatin1() : QByteArray());
        if (name.isEmpty()) {
            std::fputs("--charset takes one of:", stderr);
            for (const id3v1::CharsetChoice& c : id3v1::charsetChoices())
                std::fprintf(stderr, " %s", c.name);
            std::fputs("\n", stderr);
            return false;
        }
        charset = name;
        args.remove(i, 2);
        raw.remove(i, 2);
    }
    return true;
}

} // namespace probe
