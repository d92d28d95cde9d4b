#include "rom/tile_codec_avx2.h"

#include "model/sprite_store.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

namespace tessel {

namespace {

#define TESSEL_AVX2 __attribute__((target("avx2"), always_inline)) inline

// Four rows per register, each row's bytes mirrored so that column 0 is the
// byte movemask puts in bit 7 of that row's mask byte. Shifting bit N of
// every byte up to bit 7 then yields plane N of four rows in one movemask;
// interleaving the plane words byte by byte gives the tile's byte order.
TESSEL_AVX2 __m128i twoRows(const std::uint8_t* in)
{
    return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in)),
                              _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + kBufferWidth)));
}

TESSEL_AVX2 __m256i mirroredRows(const std::uint8_t* in)
{
    const __m256i mirror = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,
                                            7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(twoRows(in)),
                                              twoRows(in + 2 * kBufferWidth), 1);
    return _mm256_shuffle_epi8(v, mirror);
}

template <int Shift>
TESSEL_AVX2 __m128i planeWord(__m256i top, __m256i bottom)
{
    const auto lo = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_slli_epi64(top, Shift)));
    const auto hi = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_slli_epi64(bottom, Shift)));
    return _mm_cvtsi64_si128(static_cast<long long>(lo | (std::uint64_t{hi} << 32)));
}

// Decoding four rows per register: every row's plane byte is spread over
// the row's eight bytes (pshufb), tested against each column's bit, and the
// four planes are summed Horner-fashion: acc = 2 * acc + bit.
TESSEL_AVX2 __m256i addPlane(__m256i acc, __m256i source, __m256i select)
{
    const __m256i columnBits = _mm256_set1_epi64x(0x0102040810204080LL);
    const __m256i spread = _mm256_and_si256(_mm256_shuffle_epi8(source, select), columnBits);
    const __m256i set = _mm256_cmpeq_epi8(spread, columnBits); // -1 where the bit is set
    return _mm256_sub_epi8(_mm256_add_epi8(acc, acc), set);
}

TESSEL_AVX2 __m256i decodeFourRows(__m256i planes01, __m256i planes23, int firstRow)
{
    // Row k's plane bytes are 2k (plane 0 or 2) and 2k + 1 (plane 1 or 3);
    // the upper lane holds rows firstRow + 2 and firstRow + 3.
    const char a = static_cast<char>(2 * firstRow), b = static_cast<char>(2 * firstRow + 2);
    const char c = static_cast<char>(2 * firstRow + 4), d = static_cast<char>(2 * firstRow + 6);
    const __m256i even = _mm256_setr_epi8(a, a, a, a, a, a, a, a, b, b, b, b, b, b, b, b,
                                          c, c, c, c, c, c, c, c, d, d, d, d, d, d, d, d);
    const __m256i odd = _mm256_add_epi8(even, _mm256_set1_epi8(1));
    __m256i acc = addPlane(_mm256_setzero_si256(), planes23, odd); // plane 3
    acc = addPlane(acc, planes23, even);                           // plane 2
    acc = addPlane(acc, planes01, odd);                            // plane 1
    return addPlane(acc, planes01, even);                          // plane 0
}

TESSEL_AVX2 void storeFourRows(__m256i rows, std::uint8_t* out)
{
    const __m128i lo = _mm256_castsi256_si128(rows), hi = _mm256_extracti128_si256(rows, 1);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), lo);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + kBufferWidth), _mm_unpackhi_epi64(lo, lo));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 2 * kBufferWidth), hi);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * kBufferWidth), _mm_unpackhi_epi64(hi, hi));
}

} // namespace

bool processorHasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

__attribute__((target("avx2"))) void encodeTileAvx2(const std::uint8_t* in, std::uint8_t* tile)
{
    const __m256i top = mirroredRows(in), bottom = mirroredRows(in + 4 * kBufferWidth);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(tile),
                     _mm_unpacklo_epi8(planeWord<7>(top, bottom), planeWord<6>(top, bottom)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(tile + 16),
                     _mm_unpacklo_epi8(planeWord<5>(top, bottom), planeWord<4>(top, bottom)));
}

__attribute__((target("avx2"))) void decodeTileAvx2(const std::uint8_t* tile, std::uint8_t* out)
{
    const __m256i planes01 =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile)));
    const __m256i planes23 =
        _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile + 16)));
    storeFourRows(decodeFourRows(planes01, planes23, 0), out);
    storeFourRows(decodeFourRows(planes01, planes23, 4), out + 4 * kBufferWidth);
}

} // namespace tessel

#else

namespace tessel {

// Other processors always take the portable codec.
bool processorHasAvx2() { return false; }
void decodeTileAvx2(const std::uint8_t*, std::uint8_t*) {}
void encodeTileAvx2(const std::uint8_t*, std::uint8_t*) {}

} // namespace tessel

#endif
