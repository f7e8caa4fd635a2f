// The Sample Grabber's names, with what the Windows SDK in use lacks of them.
//
// mingw-w64's <qedit.h> declares ISampleGrabber and its interface id but not
// the class id CLSID_SampleGrabber, which its strmiids library does define;
// the declaration is given here. On Linux our media layer's <qedit.h>
// declares all of them.
#pragma once

#include <qedit.h>

#ifdef _WIN32
EXTERN_C const CLSID CLSID_SampleGrabber;
#endif
