#pragma once

#include <QImage>

#include <cstddef>

namespace vellumix {

// Memory for whole-image buffers of tens of megabytes, released with
// std::free. Where the kernel offers transparent huge pages on request, the
// buffer asks for them: a 4K image's 33 MB in small pages costs eight
// thousand page faults, a tenth of the CPU of loading and saving it.
// Returns null when the memory is not available.
unsigned char* allocateLargeBuffer(size_t bytes);

// A 32-bit image whose pixels live in such a buffer; null when the memory is
// not available.
QImage largeImage(QSize size, QImage::Format format);

} // namespace vellumix
