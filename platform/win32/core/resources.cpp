// Finding the program's resources by id, LoadStringA and GetModuleHandleA.
//
// Stands in for FindResource/LoadResource over the executable's resource
// section: the program links resource modules (see resource_module.h) that
// register here before main runs. The module handle passed to the calls is
// not examined, since the program is the only module.
#include "platform/win32/resource_module.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace win32res {

namespace {

std::vector<const ResourceModule*>& Modules() {
    static std::vector<const ResourceModule*> modules;
    return modules;
}

template <class T, class Get>
const T* Search(WORD id, Get get) {
    const auto& modules = Modules();
    for (auto it = modules.rbegin(); it != modules.rend(); ++it) {
        int count = 0;
        const T* items = get(**it, &count);
        for (int i = 0; i < count; ++i) {
            if (items[i].id == id) {
                return &items[i];
            }
        }
    }
    return nullptr;
}

}  // namespace

// Windows' standard 16-colour palette.
const DWORD kIconPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

bool RegisterResourceModule(const ResourceModule* module) {
    if (module != nullptr) {
        Modules().push_back(module);
    }
    return true;
}

const DialogTemplate* FindDialogTemplate(WORD id) {
    return Search<DialogTemplate>(id, [](const ResourceModule& m, int* n) {
        *n = m.dialogCount;
        return m.dialogs;
    });
}

const StringResource* FindString(WORD id) {
    return Search<StringResource>(id, [](const ResourceModule& m, int* n) {
        *n = m.stringCount;
        return m.strings;
    });
}

const IconResource* FindIcon(WORD id) {
    return Search<IconResource>(id, [](const ResourceModule& m, int* n) {
        *n = m.iconCount;
        return m.icons;
    });
}

}  // namespace win32res

int WINAPI LoadStringA(HINSTANCE, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    if (lpBuffer == nullptr || cchBufferMax <= 0 || uID > 0xFFFF) {
        return 0;
    }
    const win32res::StringResource* s = win32res::FindString(static_cast<WORD>(uID));
    if (s == nullptr || s->text == nullptr) {
        lpBuffer[0] = '\0';
        return 0;
    }
    // Truncated to the buffer, always terminated, as LoadStringA does.
    const int length = static_cast<int>(std::strlen(s->text));
    const int n = length < cchBufferMax - 1 ? length : cchBufferMax - 1;
    std::memcpy(lpBuffer, s->text, n);
    lpBuffer[n] = '\0';
    return n;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    // Only the program itself is a module; its resources are the linked ones.
    static char programModule;
    return lpModuleName == nullptr ? reinterpret_cast<HMODULE>(&programModule) : nullptr;
}
