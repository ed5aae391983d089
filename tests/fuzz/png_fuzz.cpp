#include "imaging/DocumentError.h"
#include "imaging/PngCodec.h"

#include <QByteArray>
#include <QtEndian>

#include <libdeflate.h>

// libFuzzer target for decodePng: every input must decode or fail with
// DocumentError, never crash or leak. Chunk CRCs are recomputed first so that
// mutations reach the header and the compressed rows instead of stopping at
// the checksum. Run with scripts/fuzz.sh png.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (qsizetype at = 8; bytes.size() - at >= 12;) {
        const uint32_t length = qFromBigEndian<uint32_t>(bytes.constData() + at);
        if (length > uint64_t(bytes.size() - at - 12)) {
            break;
        }
        const uint32_t crc = libdeflate_crc32(0, bytes.constData() + at + 4, length + 4);
        qToBigEndian(crc, bytes.data() + at + 8 + length);
        at += 12 + qsizetype(length);
    }
    try {
        if (vellumix::decodePng(bytes).isNull()) {
            __builtin_trap();
        }
    } catch (const vellumix::DocumentError&) {
    }
    return 0;
}
