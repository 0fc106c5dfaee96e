// Picture decoding speed against libjpeg-turbo called in this process with the same options.
//
// Pictures: three different photo-like 640 x 480 JPEGs of about 38 KB (sky, hills, textured
// ground, a few hard edges, sensor noise) and one 1920 x 1080 picture, made here with libjpeg.
// Cases: scale 1/1, 1/2, 1/4, 1/8 x colour or grey x default or fast DCT (the fast one also
// without smooth upsampling, as the program asks for it).
// Paths measured, each against the anchor on the same pictures in the same rounds:
// - decoder: `DecodeJpeg` into one bitmap kept from picture to picture, as repeated decodes do;
// - picture: a `JpegPicture` set to the case's options and decoded from no bitmap, as the object
//   the program keeps, draws and compares decodes a newly received picture.
// Anchor: one libjpeg-turbo decompressor kept for the whole run, each picture read from memory
// into a buffer allocated once (the decoder path's own bitmap storage), every row pointer
// handed to it at once.
// Times are this thread's CPU time per picture, the best of several alternating rounds (robust
// on a shared machine). The last line is the worst ratio, program speed / libjpeg-turbo speed.
// ORVELLO_BENCH_ROUNDS overrides the number of rounds (default 7).

#include "engine/jpeg_decoder.h"
#include "engine/jpeg_picture.h"
#include "tests/engine/jpeg_library_decoder.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

using engine::JpegDecodeOptions;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Smooth pseudo-random relief: lattice values blended bilinearly, several octaves.
double Lattice(int x, int y, unsigned seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double Relief(double x, double y, unsigned seed) {
    double sum = 0, amplitude = 0.5;
    for (int octave = 0; octave < 5; ++octave) {
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = x - x0, fy = y - y0;
        const double top = Lattice(x0, y0, seed + octave) * (1 - fx) + Lattice(x0 + 1, y0, seed + octave) * fx;
        const double bottom = Lattice(x0, y0 + 1, seed + octave) * (1 - fx) + Lattice(x0 + 1, y0 + 1, seed + octave) * fx;
        sum += amplitude * (top * (1 - fy) + bottom * fy);
        x *= 2.1;
        y *= 2.1;
        amplitude *= 0.5;
    }
    return sum;  // 0 .. about 1
}

// An outdoor webcam's view: a sky gradient with clouds, a hill line, textured ground, a dark
// building with lit windows, and per-pixel sensor noise.
engine::Bitmap Scene(int w, int h, unsigned seed) {
    const double scale = 640.0 / w;  // the same view at any size
    return testpictures::MakeBitmap(w, h, [&](int px, int py) {
        const double x = px * scale, y = py * scale;
        const double horizon = 230 + 60 * Relief(x / 180.0, 0.5, seed) - 30;
        double r, g, b;
        if (y < horizon) {
            const double cloud = std::max(0.0, Relief(x / 90.0, y / 45.0, seed + 7) - 0.45) * 2.5;
            r = 90 + y * 0.35 + 150 * cloud;
            g = 140 + y * 0.25 + 110 * cloud;
            b = 220 - y * 0.1 + 35 * cloud;
        } else {
            const double texture = Relief(x / 12.0, y / 9.0, seed + 3);
            const double field = Relief(x / 150.0, y / 80.0, seed + 5);
            r = 60 + 70 * field + 50 * texture;
            g = 90 + 60 * field + 45 * texture;
            b = 40 + 30 * field + 25 * texture;
        }
        const double bx = 380 + 60.0 * (seed % 3);
        if (x > bx && x < bx + 120 && y > horizon - 90 && y < horizon + 40) {
            const bool window = static_cast<int>(x - bx) % 20 > 11 && static_cast<int>(y) % 24 > 14;
            r = window ? 230 : 70;
            g = window ? 210 : 65;
            b = window ? 120 : 75;
        }
        const double noise = (Lattice(px, py, seed + 11) - 0.5) * 10;
        const auto byte = [noise](double v) { return static_cast<std::uint32_t>(std::clamp(v + noise, 0.0, 255.0)); };
        return byte(r) | byte(g) << 8 | byte(b) << 16;
    });
}

struct PictureSet {
    std::string name;
    std::vector<std::string> pictures;
};

std::vector<PictureSet> MakePictures() {
    PictureSet small{"640x480", {}};
    for (unsigned seed = 1; seed <= 3; ++seed)
        small.pictures.push_back(testpictures::EncodeJpeg(Scene(640, 480, seed), 83));
    PictureSet large{"1920x1080", {testpictures::EncodeJpeg(Scene(1920, 1080, 4), 83)}};
    return {small, large};
}

const std::uint8_t* Data(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

// One way of decoding a picture set once, picture after picture.
using Pass = std::function<void(const std::vector<std::string>&)>;

// Seconds per picture of each pass: the best of `rounds` rounds, the passes alternating within
// each round so that a busy moment of the machine hits them alike.
std::vector<double> Measure(const std::vector<Pass>& passes, const std::vector<std::string>& pictures, int repeats,
                            int rounds) {
    std::vector<double> best(passes.size(), 1e9);
    for (const Pass& pass : passes)
        pass(pictures);  // warm caches and the allocator
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < passes.size(); ++i) {
            const double start = ThreadCpuSeconds();
            for (int r = 0; r < repeats; ++r)
                passes[i](pictures);
            const double each = (ThreadCpuSeconds() - start) / (repeats * static_cast<double>(pictures.size()));
            best[i] = std::min(best[i], each);
        }
    return best;
}

engine::JpegScale ScaleOf(int denominator) {
    return static_cast<engine::JpegScale>(denominator);
}

}  // namespace

int main() {
    const char* roundsText = std::getenv("ORVELLO_BENCH_ROUNDS");
    const int rounds = roundsText ? std::max(1, std::atoi(roundsText)) : 7;
    const std::vector<PictureSet> sets = MakePictures();
    for (const PictureSet& set : sets) {
        std::size_t total = 0;
        for (const std::string& p : set.pictures)
            total += p.size();
        std::printf("%s: %zu pictures, %.1f KB each on average\n", set.name.c_str(), set.pictures.size(),
                    total / 1024.0 / set.pictures.size());
    }
    std::printf("\n%-10s %-5s %-6s %-7s %12s %12s %12s %9s %9s\n", "pictures", "scale", "colour", "DCT", "anchor us",
                "decoder us", "picture us", "decoder", "picture");

    // The decoder's bitmap, sized once for the largest picture (so its storage never moves), is
    // the anchor's output buffer too: the two write the same memory, so they differ only in their code (where a buffer
    // lies against the library's own buffers changes the speed of both by several per cent).
    engine::Bitmap kept;
    kept.ResizeForOverwrite(1920, 1080, 24);
    const std::size_t capacity = kept.size();
    unsigned char* const anchorOutput = kept.data();
    testpictures::LibraryDecoder anchor;
    double worst = 1e9;
    std::string worstCase;
    for (const PictureSet& set : sets) {
        // The program's picture objects, made once: each decode below starts from no bitmap, as
        // a newly received picture does, without counting the copy of its bytes.
        std::vector<engine::JpegPicture> objects;
        for (const std::string& p : set.pictures)
            objects.emplace_back(p);
        // About 40 ms of full-size work per pass and round, fewer repeats for the large picture.
        const int baseRepeats = set.name == "640x480" ? 8 : 2;
        for (int denominator : {1, 2, 4, 8})
            for (bool grey : {false, true})
                for (bool fast : {false, true}) {
                    const JpegDecodeOptions options{denominator, grey, fast};
                    const std::vector<Pass> passes = {
                        [&](const std::vector<std::string>& pictures) {
                            for (const std::string& p : pictures)
                                anchor.Decode(p, options, anchorOutput, capacity);
                        },
                        [&](const std::vector<std::string>& pictures) {
                            for (const std::string& p : pictures)
                                engine::DecodeJpeg(Data(p), p.size(), options, kept);
                        },
                        [&](const std::vector<std::string>&) {
                            for (engine::JpegPicture& picture : objects) {
                                picture.SetScale(ScaleOf(denominator == 1 ? 2 : 1));  // drops the decoded bitmap
                                picture.SetScale(ScaleOf(denominator));
                                picture.SetGrayscale(grey);
                                picture.SetPerformance(fast ? engine::JpegPerformance::BestSpeed
                                                            : engine::JpegPerformance::BestQuality);
                                picture.DIBNeeded();
                            }
                        },
                    };
                    const int repeats = baseRepeats * denominator;  // more of the quicker small scales
                    const std::vector<double> t = Measure(passes, set.pictures, repeats, rounds);
                    const double decoderRatio = t[0] / t[1];
                    const double pictureRatio = t[0] / t[2];
                    const std::string name = set.name + " 1/" + std::to_string(denominator) + (grey ? " grey" : " colour") +
                                             (fast ? " fast" : " default");
                    if (std::min(decoderRatio, pictureRatio) < worst) {
                        worst = std::min(decoderRatio, pictureRatio);
                        worstCase = name + (decoderRatio <= pictureRatio ? " (decoder)" : " (picture)");
                    }
                    std::printf("%-10s 1/%-3d %-6s %-7s %12.1f %12.1f %12.1f %9.3f %9.3f\n", set.name.c_str(), denominator,
                                grey ? "grey" : "colour", fast ? "fast" : "default", t[0] * 1e6, t[1] * 1e6, t[2] * 1e6,
                                decoderRatio, pictureRatio);
                }
    }
    std::printf("\nratios are program speed / libjpeg-turbo speed (anchor time / program time)\n");
    std::printf("worst ratio, program / libjpeg-turbo in-process: %.3f (%s)\n", worst, worstCase.c_str());
    return 0;
}
