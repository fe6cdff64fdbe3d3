#include "platform/webgl/GluMipmaps.h"

#include <algorithm>
#include <cmath>

namespace mwgl::glu {

int nearestPower(int value) {
    int i = 1;
    if (value <= 0) return -1;
    for (;;) {
        if (value == 1) return i;
        if (value == 3) return i * 4;
        value >>= 1;
        i *= 2;
    }
}

std::vector<std::uint8_t> halveImage(int components, int width, int height, const std::uint8_t* in) {
    const int newWidth = width > 1 ? width / 2 : 1;
    const int newHeight = height > 1 ? height / 2 : 1;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(newWidth) * newHeight * components);
    std::uint8_t* to = out.data();
    const std::size_t row = static_cast<std::size_t>(width) * components;
    if (width == 1 || height == 1) {
        // Pairs along the one row or column, rounded down as GLU rounds them.
        const std::size_t step = width == 1 ? row : components;
        const int pairs = newWidth > newHeight ? newWidth : newHeight;
        for (int i = 0; i < pairs; ++i, in += 2 * step) {
            for (int k = 0; k < components; ++k) *to++ = static_cast<std::uint8_t>((in[k] + in[k + step]) / 2);
        }
        return out;
    }
    for (int y = 0; y < newHeight; ++y) {
        const std::uint8_t* top = in + 2 * y * row;
        const std::uint8_t* bottom = top + row;
        for (int x = 0; x < newWidth; ++x, top += 2 * components, bottom += 2 * components) {
            for (int k = 0; k < components; ++k) {
                *to++ = static_cast<std::uint8_t>(
                    (top[k] + top[k + components] + bottom[k] + bottom[k + components] + 2) / 4);
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> scaleImage(int components, int width, int height, const std::uint8_t* in, std::size_t stride,
                                     int newWidth, int newHeight) {
    if (width == newWidth * 2 && height == newHeight * 2) {
        std::vector<std::uint8_t> tight(static_cast<std::size_t>(width) * height * components);
        for (int y = 0; y < height; ++y) {
            std::copy(in + y * stride, in + y * stride + static_cast<std::size_t>(width) * components,
                      tight.begin() + static_cast<std::ptrdiff_t>(y) * width * components);
        }
        return halveImage(components, width, height, tight.data());
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(newWidth) * newHeight * components);
    // Each output texel averages the input box it covers, edge texels
    // weighted by the part of them inside; positions step in float as
    // GLU's do, so the boxes fall where GLU's fall.
    const float convy = static_cast<float>(height) / newHeight;
    const float convx = static_cast<float>(width) / newWidth;
    const int convyInt = static_cast<int>(std::floor(convy));
    const float convyFloat = convy - convyInt;
    const int convxInt = static_cast<int>(std::floor(convx));
    const float convxFloat = convx - convxInt;
    const float area = convx * convy;
    auto texel = [&](int x, int y) {
        return in + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * components;
    };

    int lowyInt = 0;
    float lowyFloat = 0;
    int highyInt = convyInt;
    float highyFloat = convyFloat;
    for (int i = 0; i < newHeight; ++i) {
        if (highyInt >= height) highyInt = height - 1;
        int lowxInt = 0;
        float lowxFloat = 0;
        int highxInt = convxInt;
        float highxFloat = convxFloat;
        for (int j = 0; j < newWidth; ++j) {
            float totals[4] = {0, 0, 0, 0};
            auto add = [&](const std::uint8_t* t, float weight) {
                for (int k = 0; k < components; ++k) totals[k] += t[k] * weight;
            };
            if (highyInt > lowyInt && highxInt > lowxInt) {
                // The first row of the box.
                float yPercent = 1 - lowyFloat;
                add(texel(lowxInt, lowyInt), yPercent * (1 - lowxFloat));
                for (int l = lowxInt + 1; l < highxInt; ++l) add(texel(l, lowyInt), yPercent);
                add(texel(highxInt, lowyInt), yPercent * highxFloat);
                // The last row.
                yPercent = highyFloat;
                add(texel(lowxInt, highyInt), yPercent * (1 - lowxFloat));
                for (int l = lowxInt + 1; l < highxInt; ++l) add(texel(l, highyInt), yPercent);
                add(texel(highxInt, highyInt), yPercent * highxFloat);
                // The first and last columns between them.
                for (int m = lowyInt + 1; m < highyInt; ++m) {
                    const std::uint8_t* left = texel(lowxInt, m);
                    const std::uint8_t* right = texel(highxInt, m);
                    for (int k = 0; k < components; ++k) {
                        totals[k] += left[k] * (1 - lowxFloat) + right[k] * highxFloat;
                    }
                }
            } else if (highyInt > lowyInt) {
                const float xPercent = highxFloat - lowxFloat;
                add(texel(lowxInt, lowyInt), (1 - lowyFloat) * xPercent);
                for (int m = lowyInt + 1; m < highyInt; ++m) add(texel(lowxInt, m), xPercent);
                add(texel(lowxInt, highyInt), xPercent * highyFloat);
            } else if (highxInt > lowxInt) {
                const float yPercent = highyFloat - lowyFloat;
                add(texel(lowxInt, lowyInt), (1 - lowxFloat) * yPercent);
                for (int l = lowxInt + 1; l < highxInt; ++l) add(texel(l, lowyInt), yPercent);
                add(texel(highxInt, lowyInt), yPercent * highxFloat);
            } else {
                add(texel(lowxInt, lowyInt), (highyFloat - lowyFloat) * (highxFloat - lowxFloat));
            }
            // The whole texels inside.
            for (int m = lowyInt + 1; m < highyInt; ++m) {
                for (int l = lowxInt + 1; l < highxInt; ++l) add(texel(l, m), 1.0f);
            }
            std::uint8_t* to = out.data() + (static_cast<std::size_t>(i) * newWidth + j) * components;
            for (int k = 0; k < components; ++k) to[k] = static_cast<std::uint8_t>(totals[k] / area);

            lowxInt = highxInt;
            lowxFloat = highxFloat;
            highxInt += convxInt;
            highxFloat += convxFloat;
            if (highxFloat > 1) {
                highxFloat -= 1.0f;
                ++highxInt;
            }
        }
        lowyInt = highyInt;
        lowyFloat = highyFloat;
        highyInt += convyInt;
        highyFloat += convyFloat;
        if (highyFloat > 1) {
            highyFloat -= 1.0f;
            ++highyInt;
        }
    }
    return out;
}

}  // namespace mwgl::glu
