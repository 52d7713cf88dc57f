#include "hostfs.h"

#include <winsys.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winsys {

namespace {

constexpr char kTempPrefix[] = ".registry.reg.";

uint32_t ErrnoToWin(int e)
{
    return e == EACCES || e == EPERM || e == EROFS ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Temporary files left by a writer that died; only called under the lock,
// when no other writer can own one.
void RemoveStaleTemps(const std::string& root)
{
    DIR* dir = ::opendir(root.c_str());
    if (!dir)
        return;
    while (dirent* e = ::readdir(dir))
        if (std::strncmp(e->d_name, kTempPrefix, sizeof kTempPrefix - 1) == 0)
            ::unlink((root + "/" + e->d_name).c_str());
    ::closedir(dir);
}

}  // namespace

bool MakeDirs(const std::string& dir, std::string* error)
{
    std::string path;
    for (size_t pos = 0; pos != std::string::npos;) {
        const size_t next = dir.find('/', pos + 1);
        path = dir.substr(0, next);
        pos = next;
        if (path.empty() || ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
            continue;
        if (error)
            *error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        if (error)
            *error = dir + " is not a folder";
        return false;
    }
    return true;
}

bool ReadFromFd(int fd, std::string& out)
{
    out.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        out.append(buf, size_t(n));
    }
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ReadFromFd(fd, out);
    ::close(fd);
    return ok;
}

uint32_t WriteFileAtomically(const std::string& path, const std::string& text, int* fdOut)
{
    const std::string folder = path.substr(0, path.rfind('/'));
    std::string tmp = folder + "/" + kTempPrefix + "XXXXXX";
    const int fd = ::mkostemp(&tmp[0], O_CLOEXEC);
    if (fd < 0)
        return ErrnoToWin(errno);
    struct stat old;
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    const bool ok = WriteAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0 &&
                    ::rename(tmp.c_str(), path.c_str()) == 0;
    const int err = errno;
    if (!ok) {
        ::unlink(tmp.c_str());
        ::close(fd);
        return ErrnoToWin(err);
    }
    if (fdOut)
        *fdOut = fd;
    else
        ::close(fd);
    return 0;
}

HostLock::HostLock(const std::string& root)
{
    m_Fd = ::open((root + "/.registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_Fd < 0) {
        m_Error = errno == ENOENT ? ERROR_BADDB : ErrnoToWin(errno);
        return;
    }
    while (::flock(m_Fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            m_Error = ERROR_CANTWRITE;
            return;
        }
    }
    RemoveStaleTemps(root);
}

HostLock::~HostLock()
{
    if (m_Fd >= 0)
        ::close(m_Fd);
}

}  // namespace winsys
