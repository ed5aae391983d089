#include "imaging/PngRowFilters.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vellumix {
namespace {

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

void unfilterUp(uint8_t* row, const uint8_t* previous, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        row[i] = uint8_t(row[i] + previous[i]);
    }
}

// One byte at a time; RGB and RGBA rows take the vector paths below.
void unfilterBytes(PngFilter type, uint8_t* row, const uint8_t* previous, size_t length,
                   size_t bpp) {
    for (size_t i = 0; i < length; ++i) {
        const int left = i >= bpp ? row[i - bpp] : 0;
        const int upLeft = i >= bpp ? previous[i - bpp] : 0;
        const int predictor = type == PngFilter::sub       ? left
                              : type == PngFilter::average ? (left + previous[i]) >> 1
                                                           : paeth(left, previous[i], upLeft);
        row[i] = uint8_t(row[i] + predictor);
    }
}

#if defined(__SSE2__)

// The sub, average and paeth filters depend on the pixel to the left, so
// pixels are undone one after the other, each pixel's channels at once in
// vector lanes. Three-byte pixels are moved with three-byte copies so that
// no access passes the row's end.
template <size_t bpp> __m128i loadPixel(const uint8_t* at) {
    int value = 0;
    std::memcpy(&value, at, bpp);
    return _mm_cvtsi32_si128(value);
}

template <size_t bpp> void storePixel(uint8_t* at, __m128i pixel) {
    const int value = _mm_cvtsi128_si32(pixel);
    std::memcpy(at, &value, bpp);
}

template <size_t bpp> void unfilterSub(uint8_t* row, size_t length) {
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i < length; i += bpp) {
        left = _mm_add_epi8(left, loadPixel<bpp>(row + i));
        storePixel<bpp>(row + i, left);
    }
}

template <size_t bpp> void unfilterAverage(uint8_t* row, const uint8_t* previous, size_t length) {
    const __m128i one = _mm_set1_epi8(1);
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i < length; i += bpp) {
        const __m128i up = loadPixel<bpp>(previous + i);
        // avg_epu8 rounds up; the filter's mean rounds down.
        const __m128i mean =
            _mm_sub_epi8(_mm_avg_epu8(left, up), _mm_and_si128(_mm_xor_si128(left, up), one));
        left = _mm_add_epi8(mean, loadPixel<bpp>(row + i));
        storePixel<bpp>(row + i, left);
    }
}

__m128i absolute(__m128i x) {
    return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x));
}

__m128i select(__m128i mask, __m128i chosen, __m128i other) {
    return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, other));
}

// Channels as 16-bit lanes, so that the predictor's differences fit.
template <size_t bpp> void unfilterPaeth(uint8_t* row, const uint8_t* previous, size_t length) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    for (size_t i = 0; i < length; i += bpp) {
        const __m128i b = _mm_unpacklo_epi8(loadPixel<bpp>(previous + i), zero);
        const __m128i pa = _mm_sub_epi16(b, c); // |p - a|, before the absolute value
        const __m128i pb = _mm_sub_epi16(a, c); // |p - b|
        const __m128i pc = absolute(_mm_add_epi16(pa, pb));
        const __m128i absA = absolute(pa), absB = absolute(pb);
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(absA, absB));
        const __m128i predictor = select(_mm_cmpeq_epi16(absA, smallest), a,
                                         select(_mm_cmpeq_epi16(absB, smallest), b, c));
        const __m128i pixel = _mm_unpacklo_epi8(loadPixel<bpp>(row + i), zero);
        // Bytewise addition keeps each lane's high byte zero.
        a = _mm_add_epi8(pixel, predictor);
        storePixel<bpp>(row + i, _mm_packus_epi16(a, a));
        c = b;
    }
}

template <size_t bpp>
void unfilterPixels(PngFilter type, uint8_t* row, const uint8_t* previous, size_t length) {
    switch (type) {
    case PngFilter::sub:
        return unfilterSub<bpp>(row, length);
    case PngFilter::average:
        return unfilterAverage<bpp>(row, previous, length);
    default:
        return unfilterPaeth<bpp>(row, previous, length);
    }
}

#endif

} // namespace

bool unfilterPngRow(uint8_t type, uint8_t* row, const uint8_t* previous, size_t length,
                    int bytesPerPixel) {
    const auto filter = PngFilter(type);
    switch (filter) {
    case PngFilter::none:
        return true;
    case PngFilter::up:
        unfilterUp(row, previous, length);
        return true;
    case PngFilter::sub:
    case PngFilter::average:
    case PngFilter::paeth:
        break;
    default:
        return false;
    }
#if defined(__SSE2__)
    if (bytesPerPixel == 4) {
        unfilterPixels<4>(filter, row, previous, length);
        return true;
    }
    if (bytesPerPixel == 3) {
        unfilterPixels<3>(filter, row, previous, length);
        return true;
    }
#endif
    unfilterBytes(filter, row, previous, length, size_t(bytesPerPixel));
    return true;
}

} // namespace vellumix
