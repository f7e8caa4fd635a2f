#include "tests/processing/reference/dib_pictures.h"

#include <cstring>

namespace reference {

CDibImage ToImage(const Picture& picture, std::uint8_t padding) {
    CDibImage image;
    image.Create(picture.width, picture.height);
    if (image.Bits() != nullptr) {
        std::memset(image.Bits(), padding, static_cast<size_t>(image.ImageSize()));
        for (int i = 0; i < picture.height; ++i) {
            std::memcpy(image.Row(i), picture.At(0, i), static_cast<size_t>(picture.width) * 3);
        }
    }
    return image;
}

Picture ToPicture(const CDibImage& image) {
    Picture picture(image.Width(), image.Height());
    for (int i = 0; i < image.Height(); ++i) {
        std::memcpy(picture.At(0, i), image.Row(i), static_cast<size_t>(image.Width()) * 3);
    }
    return picture;
}

Picture RandomPicture(int width, int height, std::mt19937* random) {
    Picture picture(width, height);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : picture.bytes) {
        b = static_cast<std::uint8_t>(byte(*random));
    }
    return picture;
}

}  // namespace reference
