// CoInitialize, CoUninitialize, CoCreateInstance and the task allocator.
//
// Stands in for OLE32's runtime for in-process classes only (see com_server.h).
// Initialisation is counted per process, not per thread: the first CoInitialize
// starts the registered servers, the matching last CoUninitialize stops them.
// A CoUninitialize without a CoInitialize does nothing.
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <objbase.h>

#include "platform/com/com_server.h"

namespace {

struct Runtime {
    std::mutex lock;
    std::vector<const ComInprocServer*> servers;
    std::vector<bool> started;
    int initCount = 0;
};

Runtime& TheRuntime() {
    static Runtime runtime;
    return runtime;
}

}  // namespace

bool ComRegisterServer(const ComInprocServer* server) {
    Runtime& rt = TheRuntime();
    std::lock_guard<std::mutex> guard(rt.lock);
    rt.servers.push_back(server);
    rt.started.push_back(false);
    return true;
}

HRESULT CoInitialize(LPVOID) {
    Runtime& rt = TheRuntime();
    std::lock_guard<std::mutex> guard(rt.lock);
    const bool first = rt.initCount++ == 0;
    HRESULT result = first ? S_OK : S_FALSE;
    for (size_t i = 0; i < rt.servers.size(); ++i) {
        if (rt.started[i]) {
            continue;
        }
        const HRESULT hr = rt.servers[i]->start();
        if (SUCCEEDED(hr)) {
            rt.started[i] = true;
        } else {
            result = hr;
        }
    }
    return result;
}

void CoUninitialize() {
    Runtime& rt = TheRuntime();
    std::lock_guard<std::mutex> guard(rt.lock);
    if (rt.initCount == 0 || --rt.initCount > 0) {
        return;
    }
    for (size_t i = rt.servers.size(); i-- > 0;) {
        if (rt.started[i]) {
            rt.servers[i]->stop();
            rt.started[i] = false;
        }
    }
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (pUnkOuter != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    Runtime& rt = TheRuntime();
    std::vector<const ComInprocServer*> running;
    {
        std::lock_guard<std::mutex> guard(rt.lock);
        if (rt.initCount == 0) {
            return CO_E_NOTINITIALIZED;
        }
        for (size_t i = 0; i < rt.servers.size(); ++i) {
            if (rt.started[i]) {
                running.push_back(rt.servers[i]);
            }
        }
    }
    for (const ComInprocServer* server : running) {
        const HRESULT hr = server->create(rclsid, riid, ppv);
        if (hr != REGDB_E_CLASSNOTREG) {
            return hr;
        }
    }
    return REGDB_E_CLASSNOTREG;
}

LPVOID CoTaskMemAlloc(size_t cb) {
    return std::malloc(cb == 0 ? 1 : cb);
}

void CoTaskMemFree(LPVOID pv) {
    std::free(pv);
}
