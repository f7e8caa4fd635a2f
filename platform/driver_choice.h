// How a platform subset (windows, video capture) chooses its driver: once per
// process, the one that code selected if any, else the one its environment
// variable names, else the real one. A name that is set but unknown is an
// error the subset reports, never a silent fallback.
#pragma once

#include <cstdlib>

// The driver name in `variable` when it is set and not empty, else `fallback`.
inline const char* DriverNameFromEnvironment(const char* variable, const char* fallback) {
    const char* name = std::getenv(variable);
    return (name != nullptr && name[0] != '\0') ? name : fallback;
}
