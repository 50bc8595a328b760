// Draws the module's six 32x32 RGB icons and writes them as TIFF files into a folder:
//   make_icons <res folder>
// Each icon is a list of shapes painted in order over a dark tile; every pixel is sampled
// 4x4 times so that edges are smooth.
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 4;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A shape answers whether a point lies inside it and, if so, its colour there.
using Shape = std::function<bool(double x, double y, Colour& out)>;

Shape solid(std::function<bool(double, double)> inside, Colour colour) {
    return [inside, colour](double x, double y, Colour& out) {
        if (!inside(x, y)) return false;
        out = colour;
        return true;
    };
}

std::function<bool(double, double)> rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

std::function<bool(double, double)> disc(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

std::function<bool(double, double)> ring(double cx, double cy, double r, double width) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d <= r && d >= r - width;
    };
}

// A line segment of the given thickness with round ends.
std::function<bool(double, double)> segment(double x0, double y0, double x1, double y1, double width) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
    };
}

std::function<bool(double, double)> triangle(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        const auto edge = [](double px, double py, double qx, double qy, double rx, double ry) {
            return (qx - px) * (ry - py) - (qy - py) * (rx - px);
        };
        const double e0 = edge(ax, ay, bx, by, x, y);
        const double e1 = edge(bx, by, cx, cy, x, y);
        const double e2 = edge(cx, cy, ax, ay, x, y);
        return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
    };
}

std::function<bool(double, double)> roundedTile(double inset, double radius) {
    return [=](double x, double y) {
        const double lo = inset + radius, hi = kSize - inset - radius;
        const double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
        return std::hypot(x - cx, y - cy) <= radius;
    };
}

const Colour kBackground{0.16, 0.16, 0.18};
const Colour kWhite{0.95, 0.95, 0.95};

std::vector<uint8_t> render(const std::vector<Shape>& shapes) {
    std::vector<uint8_t> rgb(kSize * kSize * 3);
    for (int py = 0; py < kSize; ++py)
        for (int px = 0; px < kSize; ++px) {
            Colour sum{0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = px + (sx + 0.5) / kSamples, y = py + (sy + 0.5) / kSamples;
                    Colour c = kBackground;
                    for (const Shape& shape : shapes) {
                        Colour here;
                        if (shape(x, y, here)) c = here;
                    }
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            const double n = kSamples * kSamples;
            uint8_t* out = &rgb[(py * kSize + px) * 3];
            out[0] = static_cast<uint8_t>(std::lround(std::clamp(sum.r / n, 0.0, 1.0) * 255));
            out[1] = static_cast<uint8_t>(std::lround(std::clamp(sum.g / n, 0.0, 1.0) * 255));
            out[2] = static_cast<uint8_t>(std::lround(std::clamp(sum.b / n, 0.0, 1.0) * 255));
        }
    return rgb;
}

// Render settings: three sliders with knobs on a blue tile.
std::vector<Shape> configIcon() {
    const Colour tile{0.15, 0.35, 0.70};
    std::vector<Shape> s{solid(roundedTile(1, 5), tile)};
    const double knobs[3] = {20, 11, 16};
    for (int i = 0; i < 3; ++i) {
        const double y = 9 + i * 7;
        s.push_back(solid(segment(6, y, 26, y, 2), kWhite));
        s.push_back(solid(disc(knobs[i], y, 3.2), Colour{1.0, 0.78, 0.25}));
    }
    return s;
}

// Export: a page with an arrow leaving it to the right.
std::vector<Shape> exportIcon(bool run) {
    const Colour tile{0.10, 0.50, 0.50};
    const Colour arrow{1.0, 0.78, 0.25};
    std::vector<Shape> s{solid(roundedTile(1, 5), tile)};
    s.push_back(solid(rect(6, 5, 19, 27), kWhite));
    s.push_back(solid(triangle(14, 5, 19, 5, 19, 10), tile));
    for (int i = 0; i < 3; ++i) s.push_back(solid(rect(8, 11 + i * 4.5, 16, 12.5 + i * 4.5), Colour{0.55, 0.6, 0.65}));
    if (!run) {
        s.push_back(solid(segment(13, 16, 22, 16, 3), arrow));
        s.push_back(solid(triangle(21, 10, 28, 16, 21, 22), arrow));
    } else {
        // A play triangle in a disc: export, then render.
        s.push_back(solid(disc(22, 20, 8), arrow));
        s.push_back(solid(triangle(19.5, 15.5, 27, 20, 19.5, 24.5), Colour{0.85, 0.25, 0.15}));
    }
    return s;
}

// Light tag: a sun with eight rays.
std::vector<Shape> lightIcon() {
    const Colour sun{1.0, 0.82, 0.20};
    std::vector<Shape> s{solid(roundedTile(1, 5), Colour{0.20, 0.18, 0.35})};
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        s.push_back(solid(segment(16 + 9 * std::cos(a), 16 + 9 * std::sin(a), 16 + 13 * std::cos(a),
                                  16 + 13 * std::sin(a), 2.2),
                          sun));
    }
    s.push_back(solid(disc(16, 16, 6.5), sun));
    return s;
}

// Object tag: a cube drawn with three shaded faces.
std::vector<Shape> objectIcon() {
    std::vector<Shape> s{solid(roundedTile(1, 5), Colour{0.35, 0.35, 0.38})};
    // Corners of an isometric cube around (16, 16).
    const double top[4][2] = {{16, 5}, {26, 10.5}, {16, 16}, {6, 10.5}};
    const double left[4][2] = {{6, 10.5}, {16, 16}, {16, 28}, {6, 22.5}};
    const double right[4][2] = {{16, 16}, {26, 10.5}, {26, 22.5}, {16, 28}};
    const auto quad = [](const double q[4][2]) {
        auto a = triangle(q[0][0], q[0][1], q[1][0], q[1][1], q[2][0], q[2][1]);
        auto b = triangle(q[0][0], q[0][1], q[2][0], q[2][1], q[3][0], q[3][1]);
        return [a, b](double x, double y) { return a(x, y) || b(x, y); };
    };
    s.push_back(solid(quad(top), Colour{0.90, 0.90, 0.92}));
    s.push_back(solid(quad(left), Colour{0.62, 0.66, 0.72}));
    s.push_back(solid(quad(right), Colour{0.45, 0.49, 0.56}));
    return s;
}

// Material helper tag: a shaded sphere with a highlight.
std::vector<Shape> materialIcon() {
    std::vector<Shape> s{solid(roundedTile(1, 5), Colour{0.30, 0.22, 0.22})};
    s.push_back([](double x, double y, Colour& out) {
        const double r = 12, dx = (x - 16) / r, dy = (y - 16) / r;
        const double d2 = dx * dx + dy * dy;
        if (d2 > 1) return false;
        const double nz = std::sqrt(1 - d2);
        // Light from the upper left, in front.
        const double diffuse = std::max(0.0, -0.5 * dx - 0.5 * dy + 0.7 * nz);
        const double spec = std::pow(std::max(0.0, -0.35 * dx - 0.35 * dy + 0.87 * nz), 40);
        const Colour base{0.85, 0.25, 0.15};
        out = mix({base.r * (0.15 + 0.85 * diffuse), base.g * (0.15 + 0.85 * diffuse),
                   base.b * (0.15 + 0.85 * diffuse)},
                  kWhite, std::min(1.0, spec));
        return true;
    });
    s.push_back(solid(ring(16, 16, 12.5, 0.8), Colour{0.1, 0.05, 0.05}));
    return s;
}

bool writeTiff(const std::string& path, const std::vector<uint8_t>& rgb) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kSize);
    bool ok = true;
    for (int row = 0; row < kSize && ok; ++row)
        ok = TIFFWriteScanline(tif, const_cast<uint8_t*>(&rgb[row * kSize * 3]), row, 0) == 1;
    TIFFClose(tif);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <res folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const struct {
        const char* file;
        std::vector<Shape> shapes;
    } icons[] = {
        {"lumenoconfig.tif", configIcon()},
        {"lumenoexportcommand.tif", exportIcon(false)},
        {"lumenoexportandruncommand.tif", exportIcon(true)},
        {"lumenolighttag.tif", lightIcon()},
        {"lumenogenericobjtag.tif", objectIcon()},
        {"lumenomaterialhelpertag.tif", materialIcon()},
    };
    for (const auto& icon : icons) {
        const std::string path = folder + "/" + icon.file;
        if (!writeTiff(path, render(icon.shapes))) {
            std::fprintf(stderr, "%s: cannot write the icon\n", path.c_str());
            return 1;
        }
        std::printf("wrote %s\n", path.c_str());
    }
    return 0;
}
