#include "pack/pictures/Canvas.h"

#include <algorithm>
#include <cmath>

Colour mix(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Colour operator*(const Colour& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a * k}; }
Colour operator+(const Colour& a, const Colour& b) { return {a.r + b.r, a.g + b.g, a.b + b.b, a.a + b.a}; }

Colour Ramp::operator()(float t) const {
    if (stops.empty()) return {};
    if (t <= stops.front().at) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const float span = stops[i].at - stops[i - 1].at;
            return mix(stops[i - 1].colour, stops[i].colour, span > 0 ? (t - stops[i - 1].at) / span : 1.0f);
        }
    }
    return stops.back().colour;
}

namespace {

// One box pass of half-width k along rows (step 1) or columns (step width).
template <typename T>
void boxPass(std::vector<T>& values, int count, int length, int lineStep, int itemStep, int k) {
    std::vector<T> line(static_cast<std::size_t>(length));
    const float scale = 1.0f / static_cast<float>(2 * k + 1);
    for (int l = 0; l < count; ++l) {
        T* first = values.data() + static_cast<std::size_t>(l) * lineStep;
        auto item = [&](int i) -> const T& {
            return first[static_cast<std::size_t>(std::clamp(i, 0, length - 1)) * itemStep];
        };
        T sum = item(0) * 0.0f;
        for (int i = -k; i <= k; ++i) sum = sum + item(i);
        for (int i = 0; i < length; ++i) {
            line[static_cast<std::size_t>(i)] = sum * scale;
            sum = sum + item(i + k + 1) + item(i - k) * -1.0f;
        }
        for (int i = 0; i < length; ++i)
            first[static_cast<std::size_t>(i) * itemStep] = line[static_cast<std::size_t>(i)];
    }
}

// Three box passes each way approximate a Gaussian of the given radius.
template <typename T>
void blur(std::vector<T>& values, int width, int height, float radius) {
    const int k = std::max(1, static_cast<int>(std::lround(radius / 1.7f)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(values, height, width, width, 1, k);
        boxPass(values, width, height, 1, width, k);
    }
}

// Area-averaging resample of `count` lines from `from` items to `to` items.
template <typename T>
std::vector<T> resampleLines(const std::vector<T>& in, int from, int to, int count, int inLineStep, int inItemStep,
                             int outLineStep, int outItemStep, std::size_t outSize) {
    std::vector<T> out(outSize);
    const double scale = static_cast<double>(from) / to;
    for (int l = 0; l < count; ++l) {
        for (int i = 0; i < to; ++i) {
            double start = i * scale;
            double end = (i + 1) * scale;
            if (scale < 1.0) {  // enlarging: interpolate between neighbours instead
                const double centre = (i + 0.5) * scale - 0.5;
                const int a = std::clamp(static_cast<int>(std::floor(centre)), 0, from - 1);
                const int b = std::min(a + 1, from - 1);
                const float t = static_cast<float>(std::clamp(centre - std::floor(centre), 0.0, 1.0));
                const T& va = in[static_cast<std::size_t>(l) * inLineStep + static_cast<std::size_t>(a) * inItemStep];
                const T& vb = in[static_cast<std::size_t>(l) * inLineStep + static_cast<std::size_t>(b) * inItemStep];
                out[static_cast<std::size_t>(l) * outLineStep + static_cast<std::size_t>(i) * outItemStep] =
                    va * (1.0f - t) + vb * t;
                continue;
            }
            T sum = in[0] * 0.0f;
            for (int s = static_cast<int>(start); s < from && s < end; ++s) {
                const double weight = std::min<double>(end, s + 1) - std::max<double>(start, s);
                sum = sum + in[static_cast<std::size_t>(l) * inLineStep + static_cast<std::size_t>(s) * inItemStep] *
                                static_cast<float>(weight);
            }
            out[static_cast<std::size_t>(l) * outLineStep + static_cast<std::size_t>(i) * outItemStep] =
                sum * static_cast<float>(1.0 / scale);
        }
    }
    return out;
}

}  // namespace

Canvas::Canvas(int width, int height, const Colour& fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

Colour Canvas::sample(float x, float y) const {
    x = std::clamp(x, 0.0f, static_cast<float>(width_ - 1));
    y = std::clamp(y, 0.0f, static_cast<float>(height_ - 1));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, width_ - 1);
    const int y1 = std::min(y0 + 1, height_ - 1);
    const float fx = x - x0;
    const float fy = y - y0;
    return mix(mix(at(x0, y0), at(x1, y0), fx), mix(at(x0, y1), at(x1, y1), fx), fy);
}

void Canvas::blend(int x, int y, const Colour& colour, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float t = std::clamp(amount * colour.a, 0.0f, 1.0f);
    Colour& p = at(x, y);
    p.r += (colour.r - p.r) * t;
    p.g += (colour.g - p.g) * t;
    p.b += (colour.b - p.b) * t;
}

void Canvas::add(int x, int y, const Colour& colour, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Colour& p = at(x, y);
    p.r += colour.r * amount;
    p.g += colour.g * amount;
    p.b += colour.b * amount;
}

Canvas Canvas::resized(int width, int height) const {
    Canvas out(width, height);
    const std::vector<Colour> rows =
        resampleLines(pixels_, width_, width, height_, width_, 1, width, 1, static_cast<std::size_t>(width) * height_);
    out.pixels_ =
        resampleLines(rows, height_, height, width, 1, width, 1, width, static_cast<std::size_t>(width) * height);
    return out;
}

Canvas Canvas::blurred(float radius) const {
    Canvas out = *this;
    blur(out.pixels_, width_, height_, radius);
    return out;
}

Canvas Canvas::rotatedLeft() const {
    Canvas out(height_, width_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.at(y, width_ - 1 - x) = at(x, y);
    return out;
}

std::vector<std::uint8_t> Canvas::toBytes(int components) const {
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pixels_.size() * components);
    auto quantise = [](float v, float dither) {
        return static_cast<std::uint8_t>(std::clamp(std::floor(v * 255.0f + dither), 0.0f, 255.0f));
    };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Colour& p = at(x, y);
            const float dither = (kBayer[y & 3][x & 3] + 0.5f) / 16.0f;
            bytes.push_back(quantise(p.r, dither));
            bytes.push_back(quantise(p.g, dither));
            bytes.push_back(quantise(p.b, dither));
            if (components == 4) bytes.push_back(quantise(p.a, dither));
        }
    }
    return bytes;
}

float Mask::clampedAt(int x, int y) const { return at(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1)); }

Mask Mask::blurred(float radius) const {
    Mask out = *this;
    blur(out.values_, width_, height_, radius);
    return out;
}

Mask Mask::shifted(int dx, int dy) const {
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const int sx = x - dx;
            const int sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < width_ && sy < height_) out.at(x, y) = at(sx, sy);
        }
    }
    return out;
}

Mask Mask::rotatedLeft() const {
    Mask out(height_, width_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.at(y, width_ - 1 - x) = at(x, y);
    return out;
}

Mask Mask::dilated(int radius) const {
    // Separable max filter with a square footprint, softened by a blur afterwards where needed.
    Mask rows(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float m = 0;
            for (int d = -radius; d <= radius; ++d) m = std::max(m, clampedAt(x + d, y));
            rows.at(x, y) = m;
        }
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float m = 0;
            for (int d = -radius; d <= radius; ++d) m = std::max(m, rows.clampedAt(x, y + d));
            out.at(x, y) = m;
        }
    return out;
}

void Mask::unite(const Mask& other) {
    for (std::size_t i = 0; i < values_.size(); ++i) values_[i] = std::max(values_[i], other.values_[i]);
}
