#include "imaging/LargeBuffer.h"

#include <QMutex>

#include <cstdlib>
#include <unordered_map>
#include <utility>

#include <sys/mman.h>

namespace vellumix {

namespace {

constexpr size_t hugePage = size_t(2) << 20;

struct Blocks {
    QMutex mutex;
    std::unordered_map<void*, size_t> sizes; // of the large blocks in use
    void* spare = nullptr;
    size_t spareSize = 0;
};

Blocks& blocks() {
    static Blocks instance;
    return instance;
}

void* takeSpare(size_t bytes) {
    Blocks& b = blocks();
    QMutexLocker lock(&b.mutex);
    if (b.spare == nullptr || b.spareSize < bytes) {
        return nullptr;
    }
    void* memory = std::exchange(b.spare, nullptr);
    b.sizes.emplace(memory, b.spareSize);
    return memory;
}

} // namespace

unsigned char* allocateLargeBuffer(size_t bytes) {
    if (bytes < hugePage) {
        return static_cast<unsigned char*>(std::malloc(bytes));
    }
    const size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    if (void* spare = takeSpare(rounded)) {
        return static_cast<unsigned char*>(spare);
    }
    void* memory = std::aligned_alloc(hugePage, rounded);
    if (memory == nullptr) {
        return nullptr;
    }
#ifdef MADV_HUGEPAGE
    // Only a hint: without huge pages the buffer works the same.
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    Blocks& b = blocks();
    QMutexLocker lock(&b.mutex);
    b.sizes.emplace(memory, rounded);
    return static_cast<unsigned char*>(memory);
}

void releaseLargeBuffer(void* memory) {
    Blocks& b = blocks();
    QMutexLocker lock(&b.mutex);
    const auto large = b.sizes.find(memory);
    if (large == b.sizes.end()) {
        std::free(memory);
        return;
    }
    std::free(b.spare);
    b.spare = memory;
    b.spareSize = large->second;
    b.sizes.erase(large);
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
    QImage image(memory, size.width(), size.height(), bytesPerLine, format, releaseLargeBuffer,
                 memory);
    if (image.isNull()) {
        releaseLargeBuffer(memory);
    }
    return image;
}

} // namespace vellumix
