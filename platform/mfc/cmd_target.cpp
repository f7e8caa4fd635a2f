// Message-map lookup and handler calls of CCmdTarget.
//
// Stands in for MFC's dispatch through AFX_MSGMAP: the entries of the most
// derived class's map come first, then those of each base class in turn.
#include <afxwin.h>

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == message && e->nCode == code && e->nID <= id && id <= e->nLastID) {
                return e;
            }
        }
    }
    return nullptr;
}

namespace {

// The stored handler back in its own type (the bytes were copied from it).
template <class Pmf>
Pmf HandlerAs(const AFX_MSGMAP_ENTRY& entry) {
    Pmf pmf;
    std::memcpy(&pmf, &entry.pfn, sizeof pmf);
    return pmf;
}

}  // namespace

LRESULT CCmdTarget::CallHandler(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam) {
    switch (entry.nSig) {
        case AfxSig_vv:
            (this->*HandlerAs<void (CCmdTarget::*)()>(entry))();
            return 0;
        case AfxSig_vw:
            (this->*HandlerAs<void (CCmdTarget::*)(UINT)>(entry))(static_cast<UINT>(wParam));
            return 0;
        case AfxSig_vp:
            (this->*HandlerAs<void (CCmdTarget::*)(UINT_PTR)>(entry))(
                static_cast<UINT_PTR>(wParam));
            return 0;
        case AfxSig_vwl:
            (this->*HandlerAs<void (CCmdTarget::*)(UINT, LPARAM)>(entry))(static_cast<UINT>(wParam),
                                                                          lParam);
            return 0;
        case AfxSig_hv:
            return reinterpret_cast<LRESULT>(
                (this->*HandlerAs<HCURSOR (CCmdTarget::*)()>(entry))());
        case AfxSig_lwl:
            return (this->*HandlerAs<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(entry))(wParam,
                                                                                      lParam);
        default:
            return 0;
    }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (entry == nullptr) {
        return FALSE;
    }
    CallHandler(*entry, 0, 0);
    return TRUE;
}
