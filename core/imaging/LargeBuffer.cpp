#include "imaging/LargeBuffer.h"

#include <cstdlib>

#include <sys/mman.h>

namespace vellumix {

namespace {

constexpr size_t hugePage = size_t(2) << 20;

} // namespace

unsigned char* allocateLargeBuffer(size_t bytes) {
    if (bytes < hugePage) {
        return static_cast<unsigned char*>(std::malloc(bytes));
    }
    const size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    void* memory = std::aligned_alloc(hugePage, rounded);
#ifdef MADV_HUGEPAGE
    if (memory != nullptr) {
        // Only a hint: without huge pages the buffer works the same.
        madvise(memory, rounded, MADV_HUGEPAGE);
    }
#endif
    return static_cast<unsigned char*>(memory);
}

QImage largeImage(QSize size, QImage::Format format) {
    if (size.isEmpty() || QImage::toPixelFormat(format).bitsPerPixel() != 32) {
        return {};
    }
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    unsigned char* memory = allocateLargeBuffer(size_t(bytesPerLine) * size_t(size.height()));
    if (memory == nullptr) {
        return {};
    }
    QImage image(memory, size.width(), size.height(), bytesPerLine, format, std::free, memory);
    if (image.isNull()) {
        std::free(memory);
    }
    return image;
}

} // namespace vellumix
