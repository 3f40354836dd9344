#include "plan/fileio.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char kTooLarge[] = "too large to be a plan";
const char kNotRegular[] = "not a regular file";
const char kReadOnly[] = "the file is read-only";
const char kTempSuffix[] = ".halvix-tmp";

// When this process started, on the wall clock that file times use. Read
// afresh each time, as a forked child is a process of its own. Rounded down
// to the kernel's clock tick, which errs on the side of keeping a file.
const timespec kLoaded = [] {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

timespec ProcessStart() {
  FILE* f = std::fopen("/proc/self/stat", "re");
  if (!f) return kLoaded;
  char text[1024];
  const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  text[n] = '\0';
  const char* p = std::strrchr(text, ')');  // the command name may hold anything
  unsigned long long ticks = 0;
  // Field 22, the start time in clock ticks since boot, is the 20th after the name.
  for (int field = 0; p && field < 20; ++field) p = std::strchr(p + 1, ' ');
  const long hz = sysconf(_SC_CLK_TCK);
  if (!p || std::sscanf(p + 1, "%llu", &ticks) != 1 || hz <= 0) return kLoaded;
  timespec real{};
  timespec boot{};
  clock_gettime(CLOCK_REALTIME, &real);
  clock_gettime(CLOCK_BOOTTIME, &boot);
  const long double since_boot = static_cast<long double>(ticks) / hz;
  const long double start =
      real.tv_sec + real.tv_nsec / 1e9L - (boot.tv_sec + boot.tv_nsec / 1e9L) + since_boot;
  timespec result{};
  result.tv_sec = static_cast<time_t>(start);
  result.tv_nsec = static_cast<long>((start - result.tv_sec) * 1e9L);
  return result;
}

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Closes a descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

void SplitPath(const std::string& path, std::string& dir, std::string& base) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    dir = ".";
    base = path;
  } else {
    dir = slash == 0 ? "/" : path.substr(0, slash);
    base = path.substr(slash + 1);
  }
}

// The end of a chain of symbolic links starting at `path`, which need not
// exist; false when the chain loops.
bool FollowLinks(const std::string& path, std::string& end) {
  end = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (lstat(end.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = readlink(end.c_str(), &link[0], link.size());
    if (n < 0) return true;  // gone meanwhile: the open that follows reports it
    link.resize(static_cast<std::size_t>(n));
    if (link.empty() || link[0] != '/') {
      std::string dir;
      std::string base;
      SplitPath(end, dir, base);
      link = dir + "/" + link;
    }
    end = link;
  }
  return false;
}

// ".NAME.PID.halvix-tmp" or ".NAME.PID-N.halvix-tmp" for the target NAME.
bool IsOurTemp(const std::string& entry, const std::string& base) {
  const std::size_t head = base.size() + 2;  // "." NAME "."
  const std::size_t tail = sizeof kTempSuffix - 1;
  if (entry.size() <= head + tail || entry[0] != '.' || entry.compare(1, base.size(), base) != 0 ||
      entry[head - 1] != '.' || entry.compare(entry.size() - tail, tail, kTempSuffix) != 0) {
    return false;
  }
  for (std::size_t i = head; i < entry.size() - tail; ++i) {
    const char c = entry[i];
    if (!(c >= '0' && c <= '9') && c != '-') return false;
  }
  return true;
}

// Temporary files of `base` older than this process, left by a save that
// was killed: none can belong to a save still in progress, which takes
// milliseconds.
void RemoveStaleTemps(const std::string& dir, const std::string& base) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  const timespec start = ProcessStart();
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (!IsOurTemp(name, base)) continue;
    const std::string path = dir + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && Before(st.st_mtim, start)) {
      unlink(path.c_str());
    }
  }
  closedir(d);
}

std::string Reason(int err) {
  return std::strerror(err);
}

}  // namespace

bool ReadStream(int fd, std::size_t limit, std::string& bytes, std::string& error) {
  bytes.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = Reason(errno);
      return false;
    }
    if (got == 0) return true;
    if (bytes.size() + static_cast<std::size_t>(got) > limit) {
      error = kTooLarge;
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

InputFile::~InputFile() {
  Close();
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(other.fd_), size_(other.size_), mtime_ns_(other.mtime_ns_) {
  other.fd_ = -1;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    size_ = other.size_;
    mtime_ns_ = other.mtime_ns_;
    other.fd_ = -1;
  }
  return *this;
}

void InputFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

ReadStatus InputFile::Open(const std::string& path, std::string& error) {
  Close();
  // Without O_NONBLOCK the open of a FIFO waits for a writer that may never come.
  Fd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT) return ReadStatus::Missing;
    error = Reason(errno);
    return ReadStatus::Failed;
  }
  struct stat st;
  if (fstat(fd.get(), &st) != 0) {
    error = Reason(errno);
    return ReadStatus::Failed;
  }
  if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? Reason(EISDIR) : kNotRegular;
    return ReadStatus::Failed;
  }
  size_ = static_cast<unsigned long long>(st.st_size);
  mtime_ns_ = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  fd_ = fd.release();
  return ReadStatus::Ok;
}

long InputFile::Read(char* buffer, std::size_t n, std::string& error) {
  for (;;) {
    const ssize_t got = read(fd_, buffer, n);
    if (got >= 0) return static_cast<long>(got);
    if (errno == EINTR) continue;
    error = Reason(errno);
    return -1;
  }
}

ReadStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes,
                           std::string& error) {
  bytes.clear();
  InputFile file;
  const ReadStatus opened = file.Open(path, error);
  if (opened != ReadStatus::Ok) return opened;
  if (file.size() > limit) {
    error = kTooLarge;
    return ReadStatus::TooLarge;
  }
  bytes.reserve(static_cast<std::size_t>(file.size()));
  // The size read above is a hint: a file growing meanwhile still stops at the limit.
  return ReadStream(file.fd(), limit, bytes, error) ? ReadStatus::Ok : ReadStatus::Failed;
}

bool ResolveWriteTarget(const std::string& path, std::string& target, std::string& error) {
  if (path.empty()) {
    error = Reason(ENOENT);
    return false;
  }
  if (!FollowLinks(path, target)) {
    error = Reason(ELOOP);
    return false;
  }
  struct stat st;
  if (stat(target.c_str(), &st) != 0) {
    if (errno == ENOENT) return true;  // a new file; a missing directory shows when it is made
    error = Reason(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? Reason(EISDIR) : kNotRegular;
    return false;
  }
  // Checked by the mode as well: root may write anything, yet a file the
  // user made read-only is not to be replaced behind their back.
  if ((st.st_mode & 0222) == 0) {
    error = kReadOnly;
    return false;
  }
  if (access(target.c_str(), W_OK) != 0) {
    error = errno == EACCES ? kReadOnly : Reason(errno);
    return false;
  }
  return true;
}

bool WriteAll(int fd, const std::string& bytes, std::string& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      error = Reason(errno);
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
  std::string target;
  if (!ResolveWriteTarget(path, target, error)) return false;
  struct stat old;
  const bool existed = stat(target.c_str(), &old) == 0;

  std::string dir;
  std::string base;
  SplitPath(target, dir, base);
  RemoveStaleTemps(dir, base);

  std::string temp;
  int raw = -1;
  const std::string stem = dir + "/." + base + "." + std::to_string(getpid());
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    temp = stem + (attempt ? "-" + std::to_string(attempt) : std::string()) + kTempSuffix;
    raw = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) {
      error = Reason(errno);
      return false;
    }
  }
  if (raw < 0) {
    error = Reason(EEXIST);
    return false;
  }
  Fd fd(raw);
  if (existed) fchmod(fd.get(), old.st_mode & 07777);

  bool ok = WriteAll(fd.get(), bytes, error);
  // The data must be on disk before the rename makes it the file.
  if (ok && fsync(fd.get()) != 0) {
    error = Reason(errno);
    ok = false;
  }
  if (close(fd.release()) != 0 && ok) {
    error = Reason(errno);
    ok = false;
  }
  if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
    error = Reason(errno);
    ok = false;
  }
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  Fd d(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (d.get() >= 0) fsync(d.get());  // some file systems cannot; the file is written all the same
  return true;
}

std::string DirectoryOfProgram() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::string();
  std::string path(buffer, static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
