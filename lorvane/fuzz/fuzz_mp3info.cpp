// Reads arbitrary bytes as a file's tag, saves what was read, and removes it again:
// what is saved must read back unchanged, and each write must move the file size
// by exactly one tag or not at all.
#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string tempPath() {
    static std::string path = [] {
        // Memory-backed when possible: every input is written and rewritten as a file.
        std::string pattern = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        pattern += "/fuzz_mp3info.XXXXXX";
        char* dir = pattern.data();
        if (!::mkdtemp(dir))
            std::abort();
        static std::string folder = dir;
        std::atexit([] {
            ::unlink((folder + "/song.mp3").c_str());
            ::rmdir(folder.c_str());
        });
        return folder + "/song.mp3";
    }();
    return path;
}

long long sizeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

struct Values {
    QString title, artist, album, year, comment;
    int genre;
    bool operator==(const Values&) const = default;
};

Values valuesOf(const TMP3Info& info) {
    return {info.Title(), info.Artist(), info.Album(), info.Year(), info.Comment(), info.GenreID()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = tempPath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    const QByteArray name(path.c_str());

    TMP3Info info;
    try {
        info.setFilename(name);
    } catch (const InOutError&) {
        if (size >= 128 || info.Valid())
            std::abort();
        return 0;
    }
    const bool hadTag = info.Valid();
    if (hadTag !=
        (size >= 128 && std::string(reinterpret_cast<const char*>(data) + size - 128, 3) == "TAG"))
        std::abort();

    // Typed text of any kind: the input seen as UTF-16 becomes the title.
    const QString typed = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                             qsizetype(std::min<size_t>(size, 80) / 2));
    info.setTitle(typed);
    if (info.Title().size() > 2 * id3v1::TextLength)
        std::abort();
    const Values saved = valuesOf(info);
    const long long before = sizeOf(path);
    info.Save();
    if (!info.Saved() || sizeOf(path) != before + (hadTag ? 0 : 128))
        std::abort();

    TMP3Info reread;
    reread.setFilename(name);
    Values expected = saved;
    // Written in the default character set with '?' for the rest, cut at a whole
    // character within 30 bytes; the reader drops trailing blanks.
    const id3v1::TagCharset charset;
    const QByteArray bytes = charset.encode(saved.title, id3v1::TextLength);
    QString title = charset.decode(bytes.constData(), int(bytes.size()));
    while (title.endsWith(QLatin1Char(' ')))
        title.chop(1);
    expected.title = title;
    if (!reread.Valid() || !(valuesOf(reread) == expected))
        std::abort();

    reread.RemoveID3();
    if (sizeOf(path) != before + (hadTag ? -128 : 0))
        std::abort();
    return 0;
}
