// What the fuzz targets share: a failed check that libFuzzer reports as a
// finding, and files for the functions that read or write paths.
//
// The readers take a path, as the program hands them one; a memory file gives
// them one without touching the disk, so that millions of inputs a minute stay
// cheap. Linux only, as libFuzzer is.
#pragma once

#include <sanitizer/common_interface_defs.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A property that must hold for every input; a failure is a finding. Said on
// the sanitizers' report stream, which stays open when a target's own stderr
// is closed (libFuzzer's -close_fd_mask).
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            __sanitizer_report_error_summary("fuzz check failed: " #condition " (" __FILE__ \
                                             ":" FUZZ_LINE_TEXT(__LINE__) ")");             \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)
#define FUZZ_LINE_TEXT(line) FUZZ_STRINGIFY(line)
#define FUZZ_STRINGIFY(text) #text

// An anonymous in-memory file, reachable by a path for the life of the process.
class MemoryFile {
  public:
    MemoryFile() : m_fd(memfd_create("fuzz-input", 0)) {
        FUZZ_CHECK(m_fd >= 0);
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~MemoryFile() { close(m_fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // The file's whole contents become `data`.
    void Write(const std::uint8_t* data, std::size_t size) {
        FUZZ_CHECK(ftruncate(m_fd, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            FUZZ_CHECK(n > 0);
            done += static_cast<std::size_t>(n);
        }
    }
    const char* Path() const { return m_path.c_str(); }

  private:
    int m_fd;
    std::string m_path;
};

// A folder of the fuzz target's own for files that must be real ones (a save
// may replace its file through the folder). Targets remove their files after
// each input; the empty folder goes at exit.
class ScratchFolder {
  public:
    ScratchFolder() {
        const char* shm = "/dev/shm";  // memory-backed where the system has it
        std::string pattern =
            std::string(access(shm, W_OK) == 0 ? shm : "/tmp") + "/tenebrix-fuzz-XXXXXX";
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~ScratchFolder() { rmdir(m_path.c_str()); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const char* name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};
