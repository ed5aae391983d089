#include "recording/GifFile.h"

#include "recording/RecordingError.h"

namespace vellumix {

namespace {

[[noreturn]] void failed(int error) {
    throw RecordingError(QStringLiteral("The GIF could not be written: %1.")
                             .arg(QString::fromUtf8(GifErrorString(error))));
}

} // namespace

GifFile::GifFile(QSize size, const QVector<quint32>& palette) {
    int error = 0;
    m_file = EGifOpen(this, &GifFile::append, &error);
    if (!m_file) {
        failed(error);
    }
    EGifSetGifVersion(m_file, true);
    GifColorType colours[256] = {};
    for (int i = 0; i < palette.size() && i < transparentIndex; ++i) {
        colours[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8),
                      GifByteType(palette[i])};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    const int described = EGifPutScreenDesc(m_file, size.width(), size.height(), 8, 0, map);
    GifFreeMapObject(map);
    check(described);
    // The application extension browsers read as "loop forever".
    const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    const GifByteType endless[] = {1, 0, 0};
    check(EGifPutExtensionLeader(m_file, APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(m_file, sizeof netscape, netscape));
    check(EGifPutExtensionBlock(m_file, sizeof endless, endless));
    check(EGifPutExtensionTrailer(m_file));
}

GifFile::~GifFile() {
    if (m_file) {
        EGifCloseFile(m_file, nullptr);
    }
}

int GifFile::append(GifFileType* file, const GifByteType* bytes, int length) {
    static_cast<GifFile*>(file->UserData)
        ->m_bytes.append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

void GifFile::check(int result) const {
    if (result != GIF_OK) {
        failed(m_file->Error);
    }
}

void GifFile::addFrame(const QRect& rect, const QByteArray& indices, int centiseconds,
                       bool transparent) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = centiseconds;
    control.TransparentColor = transparent ? transparentIndex : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    check(EGifPutExtension(m_file, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension));
    check(
        EGifPutImageDesc(m_file, rect.x(), rect.y(), rect.width(), rect.height(), false, nullptr));
    auto* row = reinterpret_cast<GifPixelType*>(const_cast<char*>(indices.constData()));
    for (int y = 0; y < rect.height(); ++y, row += rect.width()) {
        check(EGifPutLine(m_file, row, rect.width()));
    }
}

QByteArray GifFile::close() {
    int error = 0;
    const int closed = EGifCloseFile(m_file, &error);
    m_file = nullptr;
    if (closed != GIF_OK) {
        failed(error);
    }
    return std::move(m_bytes);
}

} // namespace vellumix
