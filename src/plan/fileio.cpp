#include "plan/fileio.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

const char kTooLarge[] = "too large to be a plan";
const char kNotRegular[] = "not a regular file";
const char kReadOnly[] = "the file is read-only";
const char kTempSuffix[] = ".halvix-tmp";

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
  const std::filesystem::path p(path);
  dir = p.has_parent_path() ? p.parent_path().string() : std::string(".");
  base = p.filename().string();
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

// The process that made a temporary of `base`, from its name
// ".NAME.PID.halvix-tmp" or ".NAME.PID-N.halvix-tmp"; 0 for any other name.
pid_t TempOwner(const std::string& entry, const std::string& base) {
  const std::size_t head = base.size() + 2;  // "." NAME "."
  const std::size_t tail = sizeof kTempSuffix - 1;
  if (entry.size() <= head + tail || entry[0] != '.' || entry.compare(1, base.size(), base) != 0 ||
      entry[head - 1] != '.' || entry.compare(entry.size() - tail, tail, kTempSuffix) != 0) {
    return 0;
  }
  long long pid = 0;
  bool in_pid = true;
  for (std::size_t i = head; i < entry.size() - tail; ++i) {
    const char c = entry[i];
    if (c == '-' && i > head && in_pid) {
      in_pid = false;
    } else if (c < '0' || c > '9') {
      return 0;
    } else if (in_pid) {
      pid = pid * 10 + (c - '0');
      if (pid > INT32_MAX) return 0;
    }
  }
  return static_cast<pid_t>(pid);
}

// Temporary files of `base` whose process is gone: a save killed half-way.
// One whose process still runs may be a save in progress, however old, and
// this process has none in progress while it starts one.
void RemoveStaleTemps(const std::string& dir, const std::string& base) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    const pid_t owner = TempOwner(name, base);
    if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    const std::string path = dir + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path.c_str());
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

namespace {

// A new version of a file, written in full beside it and not yet in place.
struct Staged {
  std::string target;
  std::string dir;
  std::string temp;
};

// Writes `bytes` to a temporary beside the file `path` names, flushed to
// disk, with the old file's owner, group and mode. False with the reason
// and nothing left behind.
bool Stage(const std::string& path, const std::string& bytes, Staged& staged, std::string& error) {
  if (!ResolveWriteTarget(path, staged.target, error)) return false;
  struct stat old;
  const bool existed = stat(staged.target.c_str(), &old) == 0;

  std::string base;
  SplitPath(staged.target, staged.dir, base);
  RemoveStaleTemps(staged.dir, base);

  int raw = -1;
  const std::string stem = staged.dir + "/." + base + "." + std::to_string(getpid());
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    staged.temp = stem + (attempt ? "-" + std::to_string(attempt) : std::string()) + kTempSuffix;
    raw = open(staged.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
  bool ok = true;
  if (existed) {
    // The new file takes the old one's place for its owner too: a plan
    // shared through a group stays the owner's, and root saving a user's
    // plan leaves it the user's. Where that is not allowed the file is
    // left as it was rather than taken from its owner.
    if ((old.st_uid != geteuid() || old.st_gid != getegid()) &&
        fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
      error = old.st_uid != geteuid()
                  ? "it belongs to another user (uid " + std::to_string(old.st_uid) +
                        "), and a saved copy would be yours; save it under another name"
                  : "its group (gid " + std::to_string(old.st_gid) +
                        ") is not yours to give the saved copy; save it under another name";
      ok = false;
    }
    // After the owner: changing it may clear the set-id bits.
    if (ok) fchmod(fd.get(), old.st_mode & 07777);
  }
  ok = ok && WriteAll(fd.get(), bytes, error);
  // The data must be on disk before the rename makes it the file.
  if (ok && fsync(fd.get()) != 0) {
    error = Reason(errno);
    ok = false;
  }
  if (close(fd.release()) != 0 && ok) {
    error = Reason(errno);
    ok = false;
  }
  if (!ok) unlink(staged.temp.c_str());
  return ok;
}

void SyncDirectory(const std::string& dir) {
  Fd d(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (d.get() >= 0) fsync(d.get());  // some file systems cannot; the file is written all the same
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
  Staged staged;
  if (!Stage(path, bytes, staged, error)) return false;
  if (std::rename(staged.temp.c_str(), staged.target.c_str()) != 0) {
    error = Reason(errno);
    unlink(staged.temp.c_str());
    return false;
  }
  SyncDirectory(staged.dir);
  return true;
}

bool ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& files,
                  std::string& error) {
  std::vector<Staged> staged(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!Stage(files[i].first, files[i].second, staged[i], error)) {
      error = files[i].first + ": " + error;
      for (std::size_t done = 0; done < i; ++done) unlink(staged[done].temp.c_str());
      return false;
    }
  }
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (std::rename(staged[i].temp.c_str(), staged[i].target.c_str()) != 0) {
      // Renames within a folder do not fail for want of room; the files
      // already renamed are whole new versions.
      error = files[i].first + ": " + Reason(errno);
      for (std::size_t rest = i; rest < staged.size(); ++rest) unlink(staged[rest].temp.c_str());
      return false;
    }
  }
  for (const Staged& file : staged) SyncDirectory(file.dir);
  return true;
}

std::string DirectoryOfProgram() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}
