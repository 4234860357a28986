// Feeds arbitrary bytes to the frame search; reading them in tiny blocks must give
// the same answer as reading them in one piece.
#include "metadata/mpegfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    MemoryMPEGSource whole(bytes);
    TMPEGData a;
    const int resultA = ReadMPEGStream(a, whole);
    MemoryMPEGSource pieces(bytes);
    TMPEGData b;
    const int resultB = ReadMPEGStream(b, pieces, 5);
    if (resultA != resultB || a.Duration != b.Duration || a.BitRate != b.BitRate ||
        a.SampleRate != b.SampleRate || a.FrameLength != b.FrameLength || a.Layer != b.Layer ||
        a.FileSize != b.FileSize || a.AudioBytes != b.AudioBytes)
        std::abort();
    // An accepted frame is a usable one.
    if (resultA == 0 && size > 5 && !IsValidFrame(a))
        std::abort();
    if (a.AudioBytes < 0 || a.AudioBytes > a.FileSize)
        std::abort();
    FormatMPEGInfo(a);
    return 0;
}
