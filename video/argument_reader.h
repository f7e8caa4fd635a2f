// Reading a command line: options as "--name VALUE" or "--name=VALUE", and
// the other arguments in order. Errors are one line without the program name.
#pragma once

#include <string>

class ArgumentReader {
  public:
    ArgumentReader(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

    // Steps to the next argument; false at the end.
    bool Next();
    // Whether the current argument is the option `name` ("--record"); when it
    // takes a value, reads it into *value, or sets *error when it has none.
    bool Is(const char* name, std::string* value, std::string* error);
    bool IsFlag(const char* name) const { return m_current == name; }
    bool IsOption() const { return m_current.size() > 1 && m_current[0] == '-'; }
    const std::string& Current() const { return m_current; }

  private:
    int m_argc;
    char** m_argv;
    int m_index = 0;
    std::string m_current;
};
