#include "capture/Yuv420.h"

namespace {

// BT.709's weights of red and blue in luma; green has the rest.
constexpr double kRed = 0.2126, kBlue = 0.0722, kGreen = 1.0 - kRed - kBlue;
// Limited range: luma spans 219 of the 256 steps from 16, chroma 224 about 128.
constexpr double kLumaSpan = 219.0 / 255.0, kChromaSpan = 224.0 / 255.0;

constexpr int kFractionBits = 16;
constexpr int fixedPoint(double value) {
    return static_cast<int>(value * (1 << kFractionBits) + (value < 0 ? -0.5 : 0.5));
}

constexpr int kLumaR = fixedPoint(kRed * kLumaSpan);
constexpr int kLumaG = fixedPoint(kGreen * kLumaSpan);
constexpr int kLumaB = fixedPoint(kBlue * kLumaSpan);
// Each difference's green weight is the negated sum of the other two, so
// that every grey has no colour at all: 128 exactly.
constexpr int kBlueR = fixedPoint(-kRed / (2.0 * (1.0 - kBlue)) * kChromaSpan);
constexpr int kBlueB = fixedPoint(0.5 * kChromaSpan);
constexpr int kBlueG = -kBlueR - kBlueB;
constexpr int kRedR = fixedPoint(0.5 * kChromaSpan);
constexpr int kRedB = fixedPoint(-kBlue / (2.0 * (1.0 - kRed)) * kChromaSpan);
constexpr int kRedG = -kRedR - kRedB;

// Chroma comes from sums of four pixels: two more bits to shift away. The
// 128 added before the shift keeps every sum positive; both biases round.
constexpr int kChromaShift = kFractionBits + 2;
constexpr int kChromaBias = (128 << kChromaShift) + (1 << (kChromaShift - 1));
constexpr int kLumaBias = (16 << kFractionBits) + (1 << (kFractionBits - 1));

[[gnu::always_inline]] inline void lumaRow(const std::uint8_t* __restrict bgra, std::size_t width,
                                           std::uint8_t* __restrict luma) {
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint8_t* pixel = bgra + 4 * x;
        luma[x] = static_cast<std::uint8_t>((kLumaB * pixel[0] + kLumaG * pixel[1] + kLumaR * pixel[2] + kLumaBias) >>
                                            kFractionBits);
    }
}

// One row of chroma from the two rows of pixels it stands for.
[[gnu::always_inline]] inline void chromaRow(const std::uint8_t* __restrict upper, const std::uint8_t* __restrict lower,
                                             std::size_t width, std::uint8_t* __restrict blue,
                                             std::uint8_t* __restrict red) {
    for (std::size_t x = 0; x < width / 2; ++x) {
        const std::uint8_t* a = upper + 8 * x;
        const std::uint8_t* b = lower + 8 * x;
        const int sumB = a[0] + a[4] + b[0] + b[4];
        const int sumG = a[1] + a[5] + b[1] + b[5];
        const int sumR = a[2] + a[6] + b[2] + b[6];
        blue[x] =
            static_cast<std::uint8_t>((kBlueR * sumR + kBlueG * sumG + kBlueB * sumB + kChromaBias) >> kChromaShift);
        red[x] = static_cast<std::uint8_t>((kRedR * sumR + kRedG * sumG + kRedB * sumB + kChromaBias) >> kChromaShift);
    }
}

[[gnu::always_inline]] inline void convertRows(const std::uint8_t* bgra, int width, int height, std::uint8_t* planes) {
    const auto w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    const std::size_t rowBytes = w * 4;
    std::uint8_t* lumaPlane = planes;
    std::uint8_t* bluePlane = planes + w * h;
    std::uint8_t* redPlane = bluePlane + (w / 2) * (h / 2);
    // Two video rows at a time; the upper one lies further up the frame read back.
    for (std::size_t y = 0; y < h; y += 2) {
        const std::uint8_t* upper = bgra + (h - 1 - y) * rowBytes;
        const std::uint8_t* lower = upper - rowBytes;
        lumaRow(upper, w, lumaPlane + y * w);
        lumaRow(lower, w, lumaPlane + (y + 1) * w);
        chromaRow(upper, lower, w, bluePlane + (y / 2) * (w / 2), redPlane + (y / 2) * (w / 2));
    }
}

// The same loops twice: the compiler vectorises them about twice as well
// where it may use AVX2, which the processor is asked about once.
[[gnu::target("avx2")]] void convertWithAvx2(const std::uint8_t* bgra, int width, int height, std::uint8_t* planes) {
    convertRows(bgra, width, height, planes);
}

void convertPlain(const std::uint8_t* bgra, int width, int height, std::uint8_t* planes) {
    convertRows(bgra, width, height, planes);
}

}  // namespace

std::size_t yuv420Bytes(int width, int height) {
    const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    return pixels + pixels / 2;
}

void convertToYuv420(const std::uint8_t* bgra, int width, int height, std::uint8_t* planes) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    (avx2 ? convertWithAvx2 : convertPlain)(bgra, width, height, planes);
}
