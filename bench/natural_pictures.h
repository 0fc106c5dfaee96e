#pragma once
// A series of distinct webcam-like JPEG pictures for the load benchmarks: a landscape with a
// drifting cloudy sky, textured hills and a few vehicles that move between pictures, so that
// successive pictures differ where a motion test looks (large moving objects) and compress like
// an outdoor webcam's (fine texture). The quality is chosen so that the pictures average about
// the size asked for. Deterministic: the same arguments give the same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "media/mjpeg_encoder.h"

namespace bench {

namespace natural_detail {

inline std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// Smooth noise in 0..1 on a grid of `cell` pixels.
inline double ValueNoise(double x, double y, double cell, std::uint32_t seed) {
    const double gx = x / cell, gy = y / cell;
    const auto ix = static_cast<std::uint32_t>(std::floor(gx)), iy = static_cast<std::uint32_t>(std::floor(gy));
    const double fx = gx - std::floor(gx), fy = gy - std::floor(gy);
    const auto at = [&](std::uint32_t dx, std::uint32_t dy) {
        return static_cast<double>(Hash(ix + dx, iy + dy, seed) & 0xffff) / 65535.0;
    };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
    const double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
    return top + (bottom - top) * sy;
}

inline std::uint8_t Clamp(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

// Picture `index` of the series as B, G, R rows, top row first; `grain` scales the fine texture.
inline std::vector<std::uint8_t> Scene(int width, int height, int index, double grain) {
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    const double drift = index * 7.0;
    struct Vehicle {
        double y, speed, w, h;
        std::uint8_t b, g, r;
    };
    const Vehicle vehicles[] = {{0.70, 23, 0.14, 0.09, 40, 40, 200},
                                {0.80, -31, 0.18, 0.10, 200, 180, 30},
                                {0.62, 17, 0.10, 0.07, 230, 230, 230}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double fine = (static_cast<double>(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                                           static_cast<std::uint32_t>(index)) & 0xff) - 127.5) *
                                grain;
            const double horizon = height * (0.45 + 0.06 * std::sin(x * 0.011) + 0.03 * std::sin(x * 0.037 + 1.3));
            double b, g, r;
            if (y < horizon) {
                const double cloud =
                    std::pow(ValueNoise(x + drift, y, 90, 7) * 0.7 + ValueNoise(x + drift, y, 23, 8) * 0.3, 2);
                const double sky = static_cast<double>(y) / horizon;
                b = 235 - 60 * sky + 40 * cloud;
                g = 150 + 50 * sky + 90 * cloud;
                r = 90 + 80 * sky + 120 * cloud;
                b += fine * 0.3;
                g += fine * 0.3;
                r += fine * 0.3;
            } else {
                const double field = ValueNoise(x, y, 40, 3), leaf = ValueNoise(x, y, 6, 4);
                b = 30 + 30 * field + 40 * leaf + fine;
                g = 80 + 70 * field + 60 * leaf + fine;
                r = 50 + 60 * field + 30 * leaf + fine;
            }
            for (const Vehicle& v : vehicles) {
                const double span = width * (1 + v.w);
                const double left = std::fmod(std::fmod(v.speed * index * 3.0, span) + span, span) - width * v.w;
                if (x >= left && x < left + width * v.w && y >= height * v.y && y < height * (v.y + v.h)) {
                    b = v.b + fine * 0.2;
                    g = v.g + fine * 0.2;
                    r = v.r + fine * 0.2;
                }
            }
            std::uint8_t* p = &bgr[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                    static_cast<std::size_t>(x)) * 3];
            p[0] = Clamp(b);
            p[1] = Clamp(g);
            p[2] = Clamp(r);
        }
    }
    return bgr;
}

inline std::string Encode(const std::vector<std::uint8_t>& bgr, int width, int height, int quality) {
    media::FrameRows rows{bgr.data(), width, height, static_cast<std::size_t>(width) * 3, false};
    std::vector<std::uint8_t> out;
    media::EncodeJPEG(rows, quality, out);
    return {out.begin(), out.end()};
}

}  // namespace natural_detail

// count distinct pictures of width x height averaging about targetBytes each.
inline std::vector<std::string> NaturalPictures(int count, int width = 640, int height = 480,
                                                std::size_t targetBytes = 38 * 1024) {
    using namespace natural_detail;
    constexpr double kGrain = 0.35;
    std::vector<std::vector<std::uint8_t>> scenes;
    for (int i = 0; i < count; ++i) scenes.push_back(Scene(width, height, i, kGrain));
    // The quality whose pictures come nearest the target, from a few of them.
    const auto meanSize = [&](int quality) {
        const int sample = std::min(count, 4);
        std::size_t total = 0;
        for (int i = 0; i < sample; ++i)
            total += Encode(scenes[static_cast<std::size_t>(i)], width, height, quality).size();
        return total / static_cast<std::size_t>(std::max(sample, 1));
    };
    int low = 10, high = 95;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (meanSize(mid) <= targetBytes) low = mid;
        else high = mid - 1;
    }
    std::vector<std::string> pictures;
    for (const auto& scene : scenes) pictures.push_back(Encode(scene, width, height, low));
    return pictures;
}

}  // namespace bench
