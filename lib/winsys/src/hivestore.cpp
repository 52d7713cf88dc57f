// The host's registry file: cached reads and locked, atomic read-modify-write.
#include <winsys/hive.h>
#include <winsys/host.h>
#include <winsys.h>

#include "hostfs.h"

#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace winsys {

namespace {

// One parsed hive per process. The file it came from is kept open so that
// its inode number cannot be reused by a later version: a file replaced by
// rename then always shows a different inode, even within one timestamp tick.
// Small files are compared by content as well, which also catches an editor
// rewriting the file in place within one tick.
constexpr off_t kCompareLimit = 128 * 1024;

struct HiveCache {
    std::mutex mutex;
    std::string path;
    struct stat identity {};
    int fd = -1;
    std::string text;
    std::shared_ptr<const Hive> hive;

    bool SameFile(const std::string& p, const struct stat& st) const
    {
        return hive && p == path && st.st_ino == identity.st_ino && st.st_dev == identity.st_dev &&
               st.st_size == identity.st_size && st.st_mtim.tv_sec == identity.st_mtim.tv_sec &&
               st.st_mtim.tv_nsec == identity.st_mtim.tv_nsec;
    }
    void Replace(const std::string& p, int newFd, std::string newText, std::shared_ptr<const Hive> h)
    {
        if (fd >= 0 && fd != newFd)
            ::close(fd);
        fd = newFd;
        path = p;
        // A big file is told apart by its identity alone; its text is not kept.
        text = newText.size() <= size_t(kCompareLimit) ? std::move(newText) : std::string();
        hive = std::move(h);
        if (::fstat(fd, &identity) != 0)
            hive.reset();
    }
};

HiveCache& Cache()
{
    static HiveCache* cache = new HiveCache;   // never destroyed: used until exit
    return *cache;
}

uint32_t LoadCurrent(const std::string& path, std::shared_ptr<const Hive>& out)
{
    HiveCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.mutex);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return ERROR_BADDB;
    if (cache.SameFile(path, st) && st.st_size > kCompareLimit) {
        out = cache.hive;
        return 0;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::string text;
    if (fd < 0 || !ReadFromFd(fd, text)) {
        if (fd >= 0)
            ::close(fd);
        return ERROR_BADDB;
    }
    if (cache.hive && cache.path == path && cache.identity.st_size <= kCompareLimit && cache.text == text) {
        cache.Replace(path, fd, std::move(text), cache.hive);
        out = cache.hive;
        return 0;
    }
    auto hive = std::make_shared<Hive>();
    if (!ParseHive(text, *hive, nullptr, nullptr)) {
        ::close(fd);
        return ERROR_BADDB;
    }
    cache.Replace(path, fd, std::move(text), hive);
    out = hive;
    return 0;
}

uint32_t Store(const std::string& path, std::shared_ptr<const Hive> hive)
{
    int fd = -1;
    std::string text = FormatHive(*hive);
    const uint32_t code = WriteFileAtomically(path, text, &fd);
    if (code == 0) {
        HiveCache& cache = Cache();
        std::lock_guard<std::mutex> guard(cache.mutex);
        cache.Replace(path, fd, std::move(text), std::move(hive));
    }
    return code;
}

}  // namespace

uint32_t ModifyHive(const std::function<uint32_t(Hive&)>& fn)
{
    const std::string root = ActiveRoot();
    HostLock lock(root);
    if (lock.error())
        return lock.error();
    const std::string path = HivePath(root);
    std::shared_ptr<const Hive> current;
    if (const uint32_t code = LoadCurrent(path, current))
        return code;
    auto work = std::make_shared<Hive>(*current);
    const uint32_t rc = fn(*work);
    if (rc != 0 || *work == *current)
        return rc;
    return Store(path, std::move(work));
}

uint32_t CurrentHive(std::shared_ptr<const Hive>& out)
{
    return LoadCurrent(HivePath(ActiveRoot()), out);
}

uint32_t ReadHive(const std::function<uint32_t(const Hive&)>& fn)
{
    std::shared_ptr<const Hive> current;
    if (const uint32_t code = LoadCurrent(HivePath(ActiveRoot()), current))
        return code;
    return fn(*current);
}

bool LoadHiveFile(const std::string& path, Hive& out, std::string* error, int* badLine)
{
    std::string text;
    if (!ReadWholeFile(path, text)) {
        if (error)
            *error = "cannot read " + path;
        if (badLine)
            *badLine = 0;
        return false;
    }
    return ParseHive(text, out, error, badLine);
}

bool SaveHiveFile(const std::string& path, const Hive& h, std::string* error)
{
    if (WriteFileAtomically(path, FormatHive(h)) == 0)
        return true;
    if (error)
        *error = "cannot write " + path;
    return false;
}

}  // namespace winsys
