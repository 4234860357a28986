// lorvane-probe info FILE... [--charset NAME]: the song panel's "File Info:" lines and
// the ID3v1 tag of each file, as the panel would show them.
#include "charset.h"
#include "cli/CommandRegistry.h"

#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"
#include "metadata/RawFile.h"
#include "metadata/mpegfile.h"

#include <QFile>
#include <QTextStream>

namespace {

int run(const QStringList& given) {
    QTextStream out(stdout);
    QStringList args = given;
    QByteArrayList paths = cli::rawArguments(given);
    QByteArray charset = id3v1::DefaultCharset;
    if (!probe::takeCharsetOption(args, paths, charset))
        return 2;
    if (args.isEmpty()) {
        QTextStream(stderr) << "usage: lorvane-probe info FILE... [--charset NAME]\n";
        return 2;
    }
    int status = 0;
    for (const QByteArray& path : paths) {
        out << QFile::decodeName(path) << '\n';
        if (!RawFile::exists(path)) {
            out << "File doesn't exist!\n\n";
            status = 1;
            continue;
        }
        MPEGInfoLines lines;
        try {
            TMPEGData data;
            ReadMPEGData(data, path);
            lines = FormatMPEGInfo(data);
        } catch (const InOutError&) {
            out << "Error getting MP3 info.\n";
            lines = MPEGErrorLines();
            status = 1;
        }
        out << lines.BitRate << '\n'
            << lines.Bytes << '\n'
            << lines.Layer << '\n'
            << lines.Seconds << '\n';

        TMP3Info info;
        info.setCharset(charset);
        try {
            info.setFilename(path);
            if (info.Valid()) {
                out << "Title: " << info.Title() << '\n'
                    << "Artist: " << info.Artist() << '\n'
                    << "Album: " << info.Album() << '\n'
                    << "Year: " << info.Year() << '\n'
                    << "Comment: " << info.Comment() << '\n'
                    << "Genre: " << info.GenreID() << ' ' << info.Genre() << '\n';
            } else {
                out << info.Error() << '\n';
            }
        } catch (const InOutError&) {
            out << "Error getting ID3 tag.\n";
            status = 1;
        }
        out << '\n';
    }
    return status;
}

const bool registered = cli::registerCommand("info", "FILE... [--charset NAME]", run);

} // namespace
