// Command-line reading (see argument_reader.h).
#include "video/argument_reader.h"

#include <cstring>

bool ArgumentReader::Next() {
    if (++m_index >= m_argc) {
        return false;
    }
    m_current = m_argv[m_index];
    return true;
}

bool ArgumentReader::Is(const char* name, std::string* value, std::string* error) {
    const size_t n = std::strlen(name);
    if (m_current.compare(0, n, name) != 0) {
        return false;
    }
    if (m_current.size() > n) {
        if (m_current[n] != '=') {
            return false;
        }
        *value = m_current.substr(n + 1);
    } else if (m_index + 1 < m_argc) {
        *value = m_argv[++m_index];
    } else {
        *error = std::string(name) + " needs a value";
        return true;
    }
    if (value->empty()) {
        *error = std::string(name) + " needs a value";
    }
    return true;
}
