#include "tests/image/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

#ifdef _WIN32
// A new folder in the user's temporary folder (Windows has no mkdtemp).
std::string MakeTempDir() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (unsigned attempt = 0;; ++attempt) {
        const std::filesystem::path path =
            base / ("tenebrix-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(GetTickCount()) + "-" + std::to_string(attempt));
        if (std::filesystem::create_directory(path)) {
            return path.string();
        }
    }
}
#else
std::string MakeTempDir() {
    char pattern[] = "/tmp/tenebrix-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}
#endif

}  // namespace

TempDir::TempDir() {
    m_path = MakeTempDir();
    m_previous = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
}

TempDir::~TempDir() {
    std::filesystem::current_path(m_previous);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}
