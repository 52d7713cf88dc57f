// File-level access to the host folder shared by the hive store and host set-up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace winsys {

class Hive;

// The folder the emulated calls work on; creates the default sample host
// when WINSYS_ROOT is unset and there is none yet.
std::string ActiveRoot();

// The current host's hive, parsed once per version of the file (0 or an error code).
uint32_t CurrentHive(std::shared_ptr<const Hive>& out);

bool MakeDirs(const std::string& dir, std::string* error);
bool ReadWholeFile(const std::string& path, std::string& out);
bool ReadFromFd(int fd, std::string& out);
// Writes text to a temporary file in the same folder and renames it over path.
// Returns 0 or a Windows error code; *fd receives the new file, open, when given.
uint32_t WriteFileAtomically(const std::string& path, const std::string& text, int* fd = nullptr);

// An exclusive lock on the host folder, held for the object's lifetime.
class HostLock {
public:
    explicit HostLock(const std::string& root);
    ~HostLock();
    HostLock(const HostLock&) = delete;
    HostLock& operator=(const HostLock&) = delete;
    uint32_t error() const { return m_Error; }

private:
    int m_Fd = -1;
    uint32_t m_Error = 0;
};

}  // namespace winsys
