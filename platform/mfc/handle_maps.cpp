// Handle maps and the current message (see handle_maps.h).
#include "handle_maps.h"

#include <map>
#include <memory>

namespace afx {

namespace {

struct Maps {
    std::map<HWND, CWnd*> permanent;
    std::map<HWND, std::unique_ptr<CWnd>> temporary;
    std::map<HDC, std::unique_ptr<CDC>> dcs;
    CurrentMessage current{};
};

Maps& TheMaps() {
    static Maps maps;
    return maps;
}

}  // namespace

void AttachPermanent(HWND hWnd, CWnd* pWnd) {
    TheMaps().permanent[hWnd] = pWnd;
    TheMaps().temporary.erase(hWnd);
}

void DetachPermanent(HWND hWnd) {
    TheMaps().permanent.erase(hWnd);
}

CWnd* LookupPermanent(HWND hWnd) {
    auto& permanent = TheMaps().permanent;
    auto it = permanent.find(hWnd);
    return it == permanent.end() ? nullptr : it->second;
}

CWnd* TemporaryWnd(HWND hWnd) {
    PurgeTemporaries();
    auto& temporary = TheMaps().temporary;
    auto it = temporary.find(hWnd);
    if (it == temporary.end()) {
        auto wnd = std::make_unique<CWnd>();
        wnd->m_hWnd = hWnd;
        it = temporary.emplace(hWnd, std::move(wnd)).first;
    }
    return it->second.get();
}

void PurgeTemporaries() {
    auto& temporary = TheMaps().temporary;
    for (auto it = temporary.begin(); it != temporary.end();) {
        if (!::IsWindow(it->first)) {
            it->second->m_hWnd = NULL;
            it = temporary.erase(it);
        } else {
            ++it;
        }
    }
}

CDC* TemporaryDC(HDC hDC) {
    auto& dcs = TheMaps().dcs;
    auto it = dcs.find(hDC);
    if (it == dcs.end()) {
        auto dc = std::make_unique<CDC>();
        dc->m_hDC = hDC;
        it = dcs.emplace(hDC, std::move(dc)).first;
    }
    return it->second.get();
}

void ReleaseTemporaryDC(CDC* pDC) {
    auto& dcs = TheMaps().dcs;
    auto it = dcs.find(pDC->m_hDC);
    if (it != dcs.end() && it->second.get() == pDC) {
        dcs.erase(it);
    }
}

const CurrentMessage& Current() {
    return TheMaps().current;
}

MessageScope::MessageScope(const CurrentMessage& msg) : m_saved(TheMaps().current) {
    TheMaps().current = msg;
}

MessageScope::~MessageScope() {
    TheMaps().current = m_saved;
}

}  // namespace afx
