// The shown picture's outlet (see picture_outlet.h).
#include "app/picture_outlet.h"

namespace {

ShownPictureOutlet* s_outlet = nullptr;

}  // namespace

void SetShownPictureOutlet(ShownPictureOutlet* outlet) {
    s_outlet = outlet;
}

void PassShownPicture(const CDibImage& picture) {
    if (s_outlet != nullptr) {
        s_outlet->TakePicture(picture);
    }
}
