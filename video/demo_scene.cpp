// The demo scene (see demo_scene.h). Everything is laid out in a 320 x 240
// design space; each pixel takes the colour of the design point at its
// centre, so the scene keeps its look at any size.
#include "video/demo_scene.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kDesignWidth = 320.0, kDesignHeight = 240.0;
constexpr double kPi = 3.14159265358979323846;

struct Colour {
    uint8_t blue, green, red;
};

Colour Shade(Colour c, double factor) {
    auto channel = [factor](uint8_t v) {
        return static_cast<uint8_t>(std::clamp(v * factor, 0.0, 255.0));
    };
    return {channel(c.blue), channel(c.green), channel(c.red)};
}

// A small integer hash: the same irregular detail (plank tints, book colours)
// at every size and in every run.
uint32_t Hash(uint32_t n) {
    n ^= n >> 16;
    n *= 0x7feb352dU;
    n ^= n >> 15;
    n *= 0x846ca68bU;
    n ^= n >> 16;
    return n;
}

bool InBox(double x, double y, double left, double top, double right, double bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

const Colour kBookColours[] = {{40, 40, 170},  {150, 80, 30},   {40, 130, 60}, {30, 150, 200},
                               {120, 50, 110}, {200, 190, 170}, {60, 60, 60},  {20, 90, 160}};

// The colour of the empty room at design point (x, y).
Colour RoomAt(double x, double y) {
    // Window: frame, cross bars, sky with a cloud.
    if (InBox(x, y, 200, 30, 290, 110)) {
        const bool frame = !InBox(x, y, 204, 34, 286, 106);
        const bool bars = std::fabs(x - 245) < 1.5 || std::fabs(y - 70) < 1.5;
        if (frame || bars) {
            return {240, 244, 246};
        }
        if (InEllipse(x, y, 228, 52, 14, 6) || InEllipse(x, y, 238, 49, 9, 6)) {
            return {250, 250, 252};
        }
        const double t = (y - 34) / 72.0;
        return {static_cast<uint8_t>(235 + 15 * t), static_cast<uint8_t>(180 + 45 * t),
                static_cast<uint8_t>(110 + 80 * t)};
    }
    // A framed picture: sky, a sun and a green hill.
    if (InBox(x, y, 40, 40, 100, 85)) {
        if (!InBox(x, y, 44, 44, 96, 81)) {
            return {40, 60, 90};
        }
        if (InEllipse(x, y, 70, 90, 38, 22)) {
            return {70, 160, 80};
        }
        if (InEllipse(x, y, 84, 54, 5, 5)) {
            return {60, 200, 250};
        }
        return {230, 200, 150};
    }
    // Bookshelf: sides and boards, books of varied height and colour.
    if (InBox(x, y, 8, 92, 62, 170)) {
        if (x < 11 || x >= 59) {
            return {40, 70, 110};
        }
        const int shelf = static_cast<int>((y - 92) / 26);
        const double shelfBottom = 92 + 26 * (shelf + 1);
        if (y >= shelfBottom - 3) {
            return {40, 70, 110};
        }
        const int book = static_cast<int>((x - 11) / 6);
        const uint32_t h = Hash(static_cast<uint32_t>(shelf * 16 + book));
        const double top = shelfBottom - 3 - (14 + h % 8);
        if (y >= top && std::fmod(x - 11, 6.0) < 5.2) {
            return kBookColours[(h >> 8) % 8];
        }
        return {30, 45, 70};
    }
    // Floor lamp: shade, pole, base.
    if (y >= 50 && y < 72) {
        const double half = 8 + (y - 50) * 0.45;
        if (std::fabs(x - 300) < half) {
            return {170, 225, 248};
        }
    }
    if (std::fabs(x - 300) < 1.5 && y >= 72 && y < 200) {
        return {50, 50, 55};
    }
    if (InEllipse(x, y, 300, 200, 10, 3)) {
        return {50, 50, 55};
    }
    // Plant: leaves over a pot.
    if (InEllipse(x, y, 124, 136, 9, 16) || InEllipse(x, y, 136, 134, 8, 18) ||
        InEllipse(x, y, 130, 128, 6, 20)) {
        return InEllipse(x, y, 130, 128, 6, 20) ? Colour{40, 120, 30} : Colour{50, 145, 45};
    }
    if (InBox(x, y, 119, 150, 141, 174) && std::fabs(x - 130) < 11 - (y - 150) * 0.12) {
        return {60, 95, 190};
    }
    // Rug on the floor.
    if (InEllipse(x, y, 160, 210, 78, 13)) {
        return std::fmod(std::fabs(x - 160), 12.0) < 6 ? Colour{60, 60, 150} : Colour{70, 80, 170};
    }
    // Skirting board between wall and floor.
    if (y >= 164 && y < 170) {
        return {232, 238, 242};
    }
    // Floor: planks 14 high, seams every 60 with an offset per row, a tint each.
    if (y >= 170) {
        const int row = static_cast<int>((y - 170) / 14);
        const double along = x + row * 23;
        const int plank = static_cast<int>(std::floor(along / 60));
        if (std::fmod(y - 170, 14.0) < 1 || std::fmod(along + 600, 60.0) < 1) {
            return {35, 60, 95};
        }
        const double tint = 0.9 + (Hash(static_cast<uint32_t>(row * 64 + plank + 32)) % 21) / 100.0;
        return Shade({60, 105, 155}, tint);
    }
    // Wall: a striped paper, a little darker towards the ceiling.
    const Colour paper = std::fmod(x, 16.0) < 8 ? Colour{168, 200, 226} : Colour{158, 190, 218};
    return Shade(paper, 0.86 + 0.14 * y / 164.0);
}

// The figure's pose: where it stands and how its limbs are turned (radians
// from straight down; positive turns towards +x).
struct Pose {
    double x;  // centre line, design units
    double leftLeg, rightLeg;
    double leftArm, rightUpperArm, rightForearm;
};

bool PoseAt(double t, Pose* pose) {
    const double kStand = 165;
    *pose = {kStand, 0.08, -0.08, 0.12, -0.12, 0.0};
    double walk = -1;  // seconds of walking, when walking
    if (t >= DemoScene::kWalkInStart && t < DemoScene::kWalkInEnd) {
        walk = t - DemoScene::kWalkInStart;
        pose->x = -30 + (kStand + 30) * walk / (DemoScene::kWalkInEnd - DemoScene::kWalkInStart);
    } else if (t >= DemoScene::kWalkOffStart && t < DemoScene::kWalkOffEnd) {
        walk = t - DemoScene::kWalkOffStart;
        pose->x =
            kStand + (350 - kStand) * walk / (DemoScene::kWalkOffEnd - DemoScene::kWalkOffStart);
    } else if (t < DemoScene::kWalkInEnd || t >= DemoScene::kWalkOffEnd) {
        return false;
    }
    if (walk >= 0) {
        const double swing = std::sin(walk * 2 * kPi * 1.6);
        pose->leftLeg = 0.45 * swing;
        pose->rightLeg = -0.45 * swing;
        pose->leftArm = -0.4 * swing;
        pose->rightUpperArm = 0.4 * swing;
        pose->rightForearm = pose->rightUpperArm;
    } else if (t >= DemoScene::kWaveStart && t < DemoScene::kWaveEnd) {
        pose->rightUpperArm = -2.3;  // raised out to the side
        pose->rightForearm = kPi + 0.5 * std::sin((t - DemoScene::kWaveStart) * 2 * kPi * 2.5);
    }
    return true;
}

// Distance from (x, y) to the segment from (ax, ay) to (bx, by).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double along =
        std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (ax + along * dx), y - (ay + along * dy));
}

struct Limb {
    double ax, ay, bx, by, radius;
    Colour colour;
};

}  // namespace

DemoScene::DemoScene(int width, int height)
    : m_width(width), m_height(height), m_room(static_cast<size_t>(width) * height * 3) {
    uint8_t* p = m_room.data();
    for (int i = 0; i < height; ++i) {
        const double y = (i + 0.5) * kDesignHeight / height;
        for (int j = 0; j < width; ++j, p += 3) {
            const Colour c = RoomAt((j + 0.5) * kDesignWidth / width, y);
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    }
}

void DemoScene::Draw(double seconds, uint8_t* rows, int stride) const {
    for (int i = 0; i < m_height; ++i) {
        std::memcpy(rows + static_cast<size_t>(i) * stride,
                    &m_room[static_cast<size_t>(i) * m_width * 3],
                    static_cast<size_t>(m_width) * 3);
    }
    DrawFigure(seconds, rows, stride);
}

void DemoScene::DrawFigure(double seconds, uint8_t* rows, int stride) const {
    double t = std::fmod(seconds, kLoopSeconds);
    if (t < 0) {
        t += kLoopSeconds;
    }
    Pose pose;
    if (!PoseAt(t, &pose)) {
        return;
    }
    const Colour kShirt = {50, 45, 200}, kTrousers = {95, 55, 35}, kSkin = {150, 185, 235},
                 kHair = {25, 45, 75}, kShoe = {30, 30, 30};
    const double cx = pose.x;
    auto end = [](double ax, double ay, double length, double angle, double* bx, double* by) {
        *bx = ax + length * std::sin(angle);
        *by = ay + length * std::cos(angle);
    };
    Limb limbs[8];
    int n = 0;
    double fx, fy;
    end(cx - 6, 150, 58, pose.leftLeg, &fx, &fy);
    limbs[n++] = {cx - 6, 150, fx, fy, 6, kTrousers};
    limbs[n++] = {fx - 1, fy + 4, fx + 5, fy + 4, 3.5, kShoe};
    end(cx + 6, 150, 58, pose.rightLeg, &fx, &fy);
    limbs[n++] = {cx + 6, 150, fx, fy, 6, kTrousers};
    limbs[n++] = {fx - 1, fy + 4, fx + 5, fy + 4, 3.5, kShoe};
    limbs[n++] = {cx, 104, cx, 146, 15, kShirt};
    double ex, ey, hx, hy;
    end(cx - 16, 102, 50, pose.leftArm, &hx, &hy);
    limbs[n++] = {cx - 16, 102, hx, hy, 4.5, kShirt};
    end(cx + 16, 102, 26, pose.rightUpperArm, &ex, &ey);
    limbs[n++] = {cx + 16, 102, ex, ey, 4.5, kShirt};
    end(ex, ey, 24, pose.rightForearm, &fx, &fy);
    limbs[n++] = {ex, ey, fx, fy, 4.5, kSkin};

    // Only the pixels around the figure are visited.
    const double sx = m_width / kDesignWidth, sy = m_height / kDesignHeight;
    const int left = std::max(0, static_cast<int>(std::floor((cx - 70) * sx)));
    const int right = std::min(m_width, static_cast<int>(std::ceil((cx + 70) * sx)));
    const int top = std::max(0, static_cast<int>(std::floor(30 * sy)));
    const int bottom = std::min(m_height, static_cast<int>(std::ceil(232 * sy)));
    for (int i = top; i < bottom; ++i) {
        const double y = (i + 0.5) / sy;
        uint8_t* p = rows + static_cast<size_t>(i) * stride + static_cast<size_t>(left) * 3;
        for (int j = left; j < right; ++j, p += 3) {
            const double x = (j + 0.5) / sx;
            const Colour* c = nullptr;
            for (int k = 0; k < n; ++k) {
                const Limb& l = limbs[k];
                if (SegmentDistance(x, y, l.ax, l.ay, l.bx, l.by) <= l.radius) {
                    c = &l.colour;
                }
            }
            if (InEllipse(x, y, cx, 82, 11, 13)) {
                c = y < 77 || std::fabs(x - cx) > 9.5 ? &kHair : &kSkin;
            }
            if (c != nullptr) {
                p[0] = c->blue;
                p[1] = c->green;
                p[2] = c->red;
            }
        }
    }
}
