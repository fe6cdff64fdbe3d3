// A floating-point RGBA painting surface for the generated pictures: layers
// are composed in linear-ish float space and quantised once, when the file
// is written, so gradients and glows stay smooth.
#pragma once

#include <cstdint>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

Colour mix(const Colour& a, const Colour& b, float t);
Colour operator*(const Colour& c, float k);
Colour operator+(const Colour& a, const Colour& b);

// Piecewise-linear colour ramp over [0, 1]; stops in increasing position.
struct Ramp {
    struct Stop {
        float at;
        Colour colour;
    };
    std::vector<Stop> stops;
    Colour operator()(float t) const;
};

class Canvas {
public:
    Canvas(int width, int height, const Colour& fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Colour& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Colour& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // Bilinear sample at pixel-centre coordinates, clamped at the edges.
    Colour sample(float x, float y) const;

    // Paints `colour` over pixel (x, y) with coverage `amount` (0..1, times colour.a).
    void blend(int x, int y, const Colour& colour, float amount = 1.0f);
    // Adds light: colour * amount on top of what is there.
    void add(int x, int y, const Colour& colour, float amount = 1.0f);

    // Area-averaging resample to another size (down or up).
    Canvas resized(int width, int height) const;
    // Gaussian-like blur (three box passes) of every channel.
    Canvas blurred(float radius) const;
    // Quarter turn counter-clockwise: text set left to right reads bottom to top.
    Canvas rotatedLeft() const;

    // 8-bit RGB (or RGBA) rows, top row first, with ordered dithering so
    // smooth gradients do not band.
    std::vector<std::uint8_t> toBytes(int components) const;

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

// A single-channel coverage mask (text, shapes) the size of a canvas.
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), values_(static_cast<std::size_t>(width) * height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    float& at(int x, int y) { return values_[static_cast<std::size_t>(y) * width_ + x]; }
    float at(int x, int y) const { return values_[static_cast<std::size_t>(y) * width_ + x]; }
    float clampedAt(int x, int y) const;
    Mask blurred(float radius) const;
    Mask shifted(int dx, int dy) const;
    Mask rotatedLeft() const;
    // Grows the shape by `radius` pixels (max filter), for outlines.
    Mask dilated(int radius) const;
    void unite(const Mask& other);  // max of both

private:
    int width_;
    int height_;
    std::vector<float> values_;
};
