#pragma once

#include <QImage>

#include <cstddef>

namespace vellumix {

// Memory for whole-image buffers of tens of megabytes, given back with
// releaseLargeBuffer. Fresh memory costs as much as decoding into it: a 4K
// image's 33 MB is eight thousand page faults, each page cleared by the
// kernel. So the buffer asks for transparent huge pages where the kernel
// offers them, and the block released last is kept for the next request it
// fits: loading, editing and saving allocate and free image-sized buffers one
// after another. Returns null when the memory is not available.
unsigned char* allocateLargeBuffer(size_t bytes);
void releaseLargeBuffer(void* memory);

// A 32-bit image whose pixels live in such a buffer; null when the memory is
// not available.
QImage largeImage(QSize size, QImage::Format format);

} // namespace vellumix
