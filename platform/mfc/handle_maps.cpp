// Handle maps and the current message (see handle_maps.h).
//
// Stands in for MFC's per-thread handle maps and its record of the message
// being handled; one thread only.
#include "handle_maps.h"

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
    return FindOrMake(TheMaps().temporary, hWnd, &CWnd::m_hWnd);
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
    return FindOrMake(TheMaps().dcs, hDC, &CDC::m_hDC);
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
