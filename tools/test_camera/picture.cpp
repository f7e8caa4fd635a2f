// The test camera's options and pictures.
#include "tools/test_camera/picture.h"

#include <cstdlib>
#include <cstring>

#include "image/dib_image.h"

namespace {

const int kMinSide = 16, kMaxWidth = 1920, kMaxHeight = 1080;

bool ParseSize(const std::string& value, int* width, int* height) {
    char* end = nullptr;
    const long w = std::strtol(value.c_str(), &end, 10);
    if (end == value.c_str() || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* rest = end + 1;
    const long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || w < kMinSide || w > kMaxWidth || h < kMinSide ||
        h > kMaxHeight) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

// Blue, green, red of the eight bars, left to right.
const uint8_t kBars[8][3] = {{255, 255, 255}, {0, 255, 255}, {255, 255, 0}, {0, 255, 0},
                             {255, 0, 255},   {0, 0, 255},   {255, 0, 0},   {0, 0, 0}};

// A triangle wave over 0 .. span: the ball goes to and fro.
int Bounce(int64_t step, int span) {
    if (span <= 0) {
        return 0;
    }
    const int64_t phase = step % (2 * static_cast<int64_t>(span));
    return static_cast<int>(phase < span ? phase : 2 * span - phase);
}

}  // namespace

bool ParseCameraOptions(const char* text, CameraOptions* options, std::string* error) {
    *options = CameraOptions();
    const std::string all = text ? text : "";
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        const std::string item = all.substr(start, end - start);
        start = end + 1;
        if (item.empty()) {
            continue;
        }
        const size_t equals = item.find('=');
        const std::string key = item.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
        if (key == "size") {
            if (!ParseSize(value, &options->width, &options->height)) {
                *error = "size must be WxH, 16x16 to 1920x1080: " + value;
                return false;
            }
        } else if (key == "picture") {
            if (value == "still") {
                options->kind = CameraOptions::kStill;
            } else if (value == "moving") {
                options->kind = CameraOptions::kMoving;
            } else if (!value.empty()) {
                options->kind = CameraOptions::kFile;
                options->file = value;
            } else {
                *error = "picture must be still, moving or a BMP file";
                return false;
            }
        } else {
            *error = "unknown option: " + key;
            return false;
        }
    }
    return true;
}

bool CameraPicture::Prepare(const CameraOptions& options) {
    m_width = options.width;
    m_height = options.height;
    m_kind = options.kind;
    m_still.clear();
    if (m_kind != CameraOptions::kFile) {
        return true;
    }
    CDibImage file;
    if (file.Load(options.file.c_str()) != 0 || file.Width() <= 0 || file.Height() <= 0) {
        return false;
    }
    // Nearest pixel: the file fills the frame, whatever its own size.
    m_still.resize(static_cast<size_t>(m_width) * m_height * 3);
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* row =
            file.Row(static_cast<int>(static_cast<int64_t>(y) * file.Height() / m_height));
        for (int x = 0; x < m_width; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * file.Width() / m_width);
            std::memcpy(&m_still[(static_cast<size_t>(y) * m_width + x) * 3], row + 3 * sx, 3);
        }
    }
    return true;
}

void CameraPicture::Pixel(int64_t frameNumber, int x, int y, uint8_t* bgr) const {
    switch (m_kind) {
        case CameraOptions::kFile:
            std::memcpy(bgr, &m_still[(static_cast<size_t>(y) * m_width + x) * 3], 3);
            return;
        case CameraOptions::kStill:
            if (y < m_height / 2) {
                std::memcpy(bgr, kBars[x * 8 / m_width], 3);
            } else {
                bgr[0] = static_cast<uint8_t>(x * 255 / (m_width - 1));
                bgr[1] = static_cast<uint8_t>(y * 255 / (m_height - 1));
                bgr[2] = ((x / 8 + y / 8) & 1) ? 200 : 40;
            }
            return;
        case CameraOptions::kMoving: {
            const int radius = m_height / 6;
            const int cx = radius + Bounce(frameNumber * 7, m_width - 2 * radius);
            const int cy = radius + Bounce(frameNumber * 5, m_height - 2 * radius);
            const int dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy <= radius * radius) {
                bgr[0] = 240, bgr[1] = 240, bgr[2] = 250;
            } else {
                bgr[0] = static_cast<uint8_t>(x * 255 / m_width);
                bgr[1] = 96;
                bgr[2] = static_cast<uint8_t>(y * 255 / m_height);
            }
            return;
        }
    }
}

void CameraPicture::Draw(int64_t frameNumber, uint8_t* bits) const {
    const int stride = Stride();
    for (int y = 0; y < m_height; ++y) {
        uint8_t* row = bits + static_cast<size_t>(m_height - 1 - y) * stride;
        for (int x = 0; x < m_width; ++x) {
            Pixel(frameNumber, x, y, row + 3 * x);
        }
        std::memset(row + 3 * m_width, 0, stride - 3 * m_width);
    }
}
