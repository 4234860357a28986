// lorvane-probe tag FILE [--title T] [--artist A] [--album B] [--year Y] [--comment C]
// [--genre N] | FILE --remove, each with [--charset NAME]: the tag panel's "Save" and
// "Remove" on one file. The tag is read first, as a click on the song does; the values
// given replace what it holds.
#include "charset.h"
#include "cli/CommandRegistry.h"

#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"

#include <QTextStream>

namespace {

int fail(const QString& message) {
    QTextStream(stderr) << message << '\n';
    return 1;
}

int run(const QStringList& given) {
    QStringList args = given;
    QByteArrayList raw = cli::rawArguments(given);
    QByteArray charset = id3v1::DefaultCharset;
    if (!probe::takeCharsetOption(args, raw, charset))
        return 2;
    if (args.isEmpty())
        return fail(QStringLiteral("tag: give FILE"));
    bool remove = false;
    TMP3Info info;
    info.setCharset(charset);
    try {
        info.setFilename(raw.first());
    } catch (const InOutError&) {
        // The panel shows "Error getting ID3 tag." and still lets the user save.
    }
    QString error;
    QObject::connect(&info, &TMP3Info::onError,
                     [&error](TMP3Info* sender) { error = sender->Error(); });
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& option = args[i];
        if (option == QLatin1String("--remove")) {
            remove = true;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("tag: %1 needs a value").arg(option));
        const QString& value = args[++i];
        if (option == QLatin1String("--title"))
            info.setTitle(value);
        else if (option == QLatin1String("--artist"))
            info.setArtist(value);
        else if (option == QLatin1String("--album"))
            info.setAlbum(value);
        else if (option == QLatin1String("--year"))
            info.setYear(value);
        else if (option == QLatin1String("--comment"))
            info.setComment(value);
        else if (option == QLatin1String("--genre"))
            info.setGenreID(value.toInt());
        else
            return fail(QStringLiteral("tag: unknown option %1").arg(option));
    }
    if (remove && args.size() != 2)
        return fail(QStringLiteral("tag: --remove takes no values"));

    error.clear();
    try {
        if (remove)
            info.RemoveID3();
        else
            info.Save();
    } catch (const InOutError& e) {
        return fail(QStringLiteral("%1 (%2)").arg(remove ? QStringLiteral("Error removing ID3 tag.")
                                                         : QStringLiteral("Error saving ID3 tag."),
                                                  QString::fromLocal8Bit(e.what())));
    }
    // Failures the tag object reports itself (no file, no tag, read-only).
    if (!error.isEmpty())
        return fail(error);
    return 0;
}

const bool registered = cli::registerCommand(
    "tag",
    "FILE [--title T] [--artist A] [--album B] [--year Y] [--comment C] [--genre N] | "
    "FILE --remove, [--charset NAME]  (the tag panel's Save or Remove)",
    run);

} // namespace
