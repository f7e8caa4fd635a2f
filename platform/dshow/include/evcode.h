// The filter graph's event codes of <evcode.h>, for Linux builds.
//
// Stands in for the DirectShow event codes that the system reads: the end of
// every stream and a stop on an error (both sent by our graph), and a device
// removed. The values are the Windows ones.
#pragma once

#define EC_COMPLETE 0x01     // every stream has ended; parameter 1: S_OK
#define EC_ERRORABORT 0x03   // streaming stopped on an error; parameter 1: the HRESULT
#define EC_DEVICE_LOST 0x1F  // a device was removed; parameter 2: 0 removed, 1 back
