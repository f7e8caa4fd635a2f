// The shown picture's way out of the dialog besides the window: after every
// tick the frame cycle hands the picture it built, HUD included, to the outlet
// that the program's start-up has set. There is none unless one is set.
#pragma once

#include "image/dib_image.h"

class ShownPictureOutlet {
  public:
    // Called on the user-interface thread; must not keep the reference.
    virtual void TakePicture(const CDibImage& picture) = 0;

  protected:
    ~ShownPictureOutlet() = default;
};

// The outlet stays set until it is replaced (null: none).
void SetShownPictureOutlet(ShownPictureOutlet* outlet);
void PassShownPicture(const CDibImage& picture);
