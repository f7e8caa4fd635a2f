// Choosing the window driver (see driver.h).
//
// Stands in for the one display a Windows program always has. The choice is
// made once per process and never changes.
#include "driver.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/driver_choice.h"

namespace win32core {

WindowDriver* CreateGtkDriver(std::string* error);

namespace {

const DriverEntry kGtkDriver = {"gtk", "GTK 3 windows on the desktop", CreateGtkDriver};

// The known drivers, the real one first.
std::vector<const DriverEntry*>& Drivers() {
    static std::vector<const DriverEntry*> drivers = {&kGtkDriver};
    return drivers;
}

struct Selection {
    bool chosen = false;
    const char* name = "";
    WindowDriver* driver = nullptr;
};

Selection& TheSelection() {
    static Selection selection;
    return selection;
}

const DriverEntry* FindEntry(const char* name) {
    for (const DriverEntry* e : Drivers()) {
        if (std::strcmp(e->name, name) == 0) {
            return e;
        }
    }
    return nullptr;
}

bool Start(const char* name, std::string* error) {
    Selection& s = TheSelection();
    s.chosen = true;
    const DriverEntry* entry = FindEntry(name);
    if (entry == nullptr) {
        *error = std::string("no window driver named \"") + name +
                 "\" (known: " + DriverNames(Drivers()) + ")";
        return false;
    }
    s.name = entry->name;
    s.driver = entry->create(error);
    return s.driver != nullptr;
}

}  // namespace

bool AddWindowDriver(const DriverEntry* entry) {
    Drivers().push_back(entry);
    return true;
}

WindowDriver* Driver() {
    Selection& s = TheSelection();
    if (!s.chosen) {
        const char* name = DriverNameFromEnvironment("TENEBRIX_WINDOW_DRIVER", "gtk");
        std::string error;
        if (!Start(name, &error)) {
            std::fprintf(stderr, "tenebrix: window driver \"%s\" cannot start: %s\n", name,
                         error.c_str());
        }
    }
    return s.driver;
}

bool SelectDriver(const char* name, std::string* error) {
    Selection& s = TheSelection();
    if (s.chosen) {
        if (s.driver != nullptr && std::strcmp(s.name, name) == 0) {
            return true;
        }
        *error = std::string("the window driver \"") + s.name + "\" is already in use";
        return false;
    }
    return Start(name, error);
}

}  // namespace win32core
