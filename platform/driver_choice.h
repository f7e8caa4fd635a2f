// How a platform subset (windows, video capture) chooses its driver: once per
// process, the one that code selected if any, else the one its environment
// variable names, else the real one. A name that is set but unknown is an
// error the subset reports, never a silent fallback.
#pragma once

#include <cstdlib>
#include <string>

// The driver name in `variable` when it is set and not empty, else `fallback`.
inline const char* DriverNameFromEnvironment(const char* variable, const char* fallback) {
    const char* name = std::getenv(variable);
    return (name != nullptr && name[0] != '\0') ? name : fallback;
}

// The names of a table's drivers, in order and comma-separated ("gtk, null"),
// for the error that an unknown name gives.
template <class Drivers>
std::string DriverNames(const Drivers& drivers) {
    std::string names;
    for (const auto* driver : drivers) {
        names += (names.empty() ? "" : ", ") + std::string(driver->name);
    }
    return names;
}
