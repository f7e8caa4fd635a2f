// The IIDs of the media interfaces that the capture drivers' objects list, for
// ComObject's QueryInterface (see com_object.h).
#pragma once

#include <qedit.h>

#include "platform/com/com_object.h"

#define TENEBRIX_MEDIA_INTERFACE_ID(Interface)                \
    template <>                                               \
    struct InterfaceId<Interface> {                           \
        static const IID& Value() { return IID_##Interface; } \
    };

TENEBRIX_MEDIA_INTERFACE_ID(IBaseFilter)
TENEBRIX_MEDIA_INTERFACE_ID(ISampleGrabber)
TENEBRIX_MEDIA_INTERFACE_ID(IGraphBuilder)
TENEBRIX_MEDIA_INTERFACE_ID(IMediaControl)
TENEBRIX_MEDIA_INTERFACE_ID(IMediaEvent)
TENEBRIX_MEDIA_INTERFACE_ID(ICaptureGraphBuilder2)
TENEBRIX_MEDIA_INTERFACE_ID(ICreateDevEnum)
TENEBRIX_MEDIA_INTERFACE_ID(IAMCrossbar)

#undef TENEBRIX_MEDIA_INTERFACE_ID
