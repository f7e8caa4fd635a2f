// A fresh directory under /tmp (on Windows the temporary folder) that is the current directory for
// one test and is removed afterwards, so file tests never see each other's files.
#pragma once

#include <string>
#include <vector>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    std::string m_previous;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& path);
