// The framework's maps from handles to objects (internal).
//
// Stands in for MFC's permanent and temporary handle maps: a window handle
// maps to the CWnd attached to it, or to a temporary CWnd that FromHandle
// makes and that lives until its window is destroyed; the same for menus and
// device contexts. Also the record of the message being handled, for
// CWnd::Default.
#pragma once

#include <afxwin.h>

#include <map>
#include <memory>

namespace afx {

// The object that map holds for handle, made (with its handle member set)
// when there is none yet.
template <class Object, class Handle>
Object* FindOrMake(std::map<Handle, std::unique_ptr<Object>>& map, Handle handle,
                   Handle Object::*member) {
    auto it = map.find(handle);
    if (it == map.end()) {
        auto object = std::make_unique<Object>();
        (*object).*member = handle;
        it = map.emplace(handle, std::move(object)).first;
    }
    return it->second.get();
}

void AttachPermanent(HWND hWnd, CWnd* pWnd);
void DetachPermanent(HWND hWnd);
CWnd* LookupPermanent(HWND hWnd);
CWnd* TemporaryWnd(HWND hWnd);
void PurgeTemporaries();  // drops temporaries of destroyed windows

CDC* TemporaryDC(HDC hDC);
void ReleaseTemporaryDC(CDC* pDC);

// The message being handled by the innermost AfxWndProc call.
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
const CurrentMessage& Current();
// Makes msg current for the life of the object.
class MessageScope {
  public:
    explicit MessageScope(const CurrentMessage& msg);
    ~MessageScope();

  private:
    CurrentMessage m_saved;
};

}  // namespace afx
