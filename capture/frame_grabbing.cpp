// CCaptureManager: the frame format of a device taken and the copy of its
// newest frame into memory or into an image.
//
// A device index outside the devices taken gives 0 for the format and -1 for
// the copies, touching nothing. The copy never writes more than FrameSize
// bytes, and a grab only copies into an image whose pixel buffer holds exactly
// that many.
#include "capture/capture_manager.h"

const CaptureDevice* CCaptureManager::DeviceInUse(int deviceIndex) const {
    if (deviceIndex < 0 || deviceIndex >= m_deviceCount) {
        return NULL;
    }
    return &m_devices[deviceIndex];
}

int CCaptureManager::FrameWidth(int deviceIndex) const {
    const CaptureDevice* device = DeviceInUse(deviceIndex);
    return device ? device->header.bmiHeader.biWidth : 0;
}

int CCaptureManager::FrameHeight(int deviceIndex) const {
    const CaptureDevice* device = DeviceInUse(deviceIndex);
    return device ? device->header.bmiHeader.biHeight : 0;
}

int CCaptureManager::FrameSize(int deviceIndex) const {
    const CaptureDevice* device = DeviceInUse(deviceIndex);
    return device ? static_cast<int>(device->header.bmiHeader.biSizeImage) : 0;
}

int CCaptureManager::CopyCurrentBuffer(int deviceIndex, BYTE* bits) {
    const CaptureDevice* device = DeviceInUse(deviceIndex);
    // A null destination would only ask the grabber for the size, which is
    // not a copy.
    if (device == NULL || device->grabber == NULL || bits == NULL) {
        return -1;
    }
    LONG size = FrameSize(deviceIndex);
    if (size <= 0) {
        return -1;
    }
    const HRESULT hr = device->grabber->GetCurrentBuffer(&size, reinterpret_cast<LONG*>(bits));
    return FAILED(hr) ? -1 : 0;
}

int CCaptureManager::GrabFrame(int deviceIndex, CDibImage* image) {
    if (DeviceInUse(deviceIndex) == NULL || image == NULL) {
        return -1;
    }
    const bool matches = image->Bits() != NULL && image->Width() == FrameWidth(deviceIndex) &&
                         image->Height() == FrameHeight(deviceIndex) &&
                         image->ImageSize() == FrameSize(deviceIndex);
    if (!matches) {
        image->Reset();
        AllocateFrameImage(deviceIndex, image);
    }
    // An image that could not take the format has no buffer of FrameSize bytes.
    if (image->Bits() == NULL || image->ImageSize() != FrameSize(deviceIndex)) {
        return -1;
    }
    return CopyCurrentBuffer(deviceIndex, image->Bits());
}

int CCaptureManager::AllocateFrameImage(int deviceIndex, CDibImage* image) {
    const CaptureDevice* device = DeviceInUse(deviceIndex);
    if (device == NULL || image == NULL) {
        return -1;
    }
    if (image->Bits() != NULL) {
        image->Reset();
    }
    image->SetHeader(device->header);
    return image->Bits() != NULL ? 0 : -1;
}
