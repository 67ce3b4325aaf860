// The POSIX side of file_access.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

#include "vxtags/file_access.h"

namespace vxtags {
namespace {

// The C library's wording, spelled out so that the Windows side can give the same.
std::string ReasonOf(int error) {
  switch (error) {
    case ENOENT: return "No such file or directory";
    case EACCES:
    case EPERM: return "Permission denied";
    case EISDIR: return "Is a directory";
    case ENOTDIR: return "Not a directory";
    case EFBIG: return "File too large";
    case ENOSPC: return "No space left on device";
    case ENAMETOOLONG: return "File name too long";
    case EROFS: return "Read-only file system";
    case EIO: return "Input/output error";
    default: return std::strerror(error);
  }
}

// The reason an existing path is not a file to read from or replace.
std::string KindReason(mode_t mode) {
  if (S_ISDIR(mode)) return "Is a directory";
  if (S_ISFIFO(mode)) return "Not a regular file (a FIFO)";
  if (S_ISSOCK(mode)) return "Not a regular file (a socket)";
  if (S_ISLNK(mode)) return "Is a symbolic link; name the file it points to";
  return "Not a regular file (a device)";
}

FileIdentity IdentityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino), true};
}

}  // namespace

InputFile::InputFile(const std::string& path) {
  owned_ = path != STANDARD_INPUT;
  // O_NONBLOCK: opening a FIFO that has no writer would otherwise wait for one.
  const int fd = owned_ ? open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : STDIN_FILENO;
  if (fd < 0) {
    reason_ = ReasonOf(errno);
    return;
  }
  struct stat status;
  if (fstat(fd, &status) != 0) {
    reason_ = ReasonOf(errno);
  } else if (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode)) {
    reason_ = KindReason(status.st_mode);
  } else {
    // Reads of a pipe wait for its writer like any reader's; without a writer they end at once.
    if (owned_) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    identity_ = IdentityOf(status);
    regular_ = S_ISREG(status.st_mode);
    handle_ = fd;
    open_ = true;
    return;
  }
  if (owned_) close(fd);
}

InputFile::~InputFile() {
  if (open_ && owned_) close(static_cast<int>(handle_));
}

std::size_t InputFile::Read(unsigned char* buffer, std::size_t capacity) {
  if (!open_ || failed_ || capacity == 0) return 0;
  for (;;) {
    const ssize_t n = read(static_cast<int>(handle_), buffer, capacity);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EINTR) continue;
    failed_ = true;
    reason_ = ReasonOf(errno);
    return 0;
  }
}

namespace {

constexpr char TEMPORARY_PREFIX[] = ".vxtags-";
constexpr char TEMPORARY_SUFFIX[] = ".tmp";
constexpr std::size_t TEMPORARY_NAME_SIZE = sizeof TEMPORARY_PREFIX - 1 + 6 + sizeof TEMPORARY_SUFFIX - 1;

// The temporary file a signal must remove: a fixed buffer, since the handler
// may touch nothing else.
char PendingTemporary[4096];
volatile std::sig_atomic_t PendingArmed = 0;
constexpr int CAUGHT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGALRM, SIGUSR1, SIGUSR2};

extern "C" void RemovePendingAndDie(int signal) {
  if (PendingArmed) unlink(PendingTemporary);
  std::signal(signal, SIG_DFL);
  raise(signal);
}

void ArmSignalCleanup(const std::string& temporary) {
  if (temporary.size() >= sizeof PendingTemporary) return;
  std::memcpy(PendingTemporary, temporary.c_str(), temporary.size() + 1);
  struct sigaction action = {};
  action.sa_handler = RemovePendingAndDie;
  sigemptyset(&action.sa_mask);
  for (int signal : CAUGHT_SIGNALS) sigaction(signal, &action, nullptr);
  PendingArmed = 1;
}

void DisarmSignalCleanup() { PendingArmed = 0; }

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// A temporary file whose writer has gone holds no lock: only a run that was
// killed leaves one, and its name says it is ours.
void RemoveAbandonedTemporaries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const struct dirent* entry = readdir(dir)) {
    const std::size_t length = std::strlen(entry->d_name);
    if (length != TEMPORARY_NAME_SIZE || std::strncmp(entry->d_name, TEMPORARY_PREFIX, sizeof TEMPORARY_PREFIX - 1) != 0 ||
        std::strcmp(entry->d_name + length - (sizeof TEMPORARY_SUFFIX - 1), TEMPORARY_SUFFIX) != 0)
      continue;
    const std::string path = folder + "/" + entry->d_name;
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held, named;
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(path.c_str(), &named) == 0 && SameFile(held, named))
      unlink(path.c_str());
    close(fd);
  }
  closedir(dir);
}

// Creates and locks a temporary file in folder. The lock is held until the
// file is renamed or removed, which tells a later run that it is in use.
int CreateTemporary(const std::string& folder, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = folder + "/" + TEMPORARY_PREFIX + "XXXXXX" + TEMPORARY_SUFFIX;
    const int fd = mkostemps(temporary.data(), sizeof TEMPORARY_SUFFIX - 1, O_CLOEXEC);
    if (fd < 0) return -1;
    // A cleaning run may have taken it between the creation and the lock.
    struct stat held, named;
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &held) == 0 && lstat(temporary.c_str(), &named) == 0 &&
        SameFile(held, named))
      return fd;
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

WriteResult Refused(std::string reason) { return {WriteOutcome::Refused, std::move(reason)}; }

}  // namespace

WriteResult CheckOutputFile(const std::string& path, const FileIdentity& input) {
  struct stat existing;
  if (lstat(path.c_str(), &existing) != 0)
    return errno == ENOENT ? WriteResult{WriteOutcome::Written, ""} : WriteResult{WriteOutcome::Failed, ReasonOf(errno)};
  struct stat target;
  if (stat(path.c_str(), &target) == 0 && IdentityOf(target) == input)
    return Refused("Is the input file itself; name another output");
  if (!S_ISREG(existing.st_mode)) return Refused(KindReason(existing.st_mode));
  // Write bits first: root may write anything, and would replace a protected file.
  if ((existing.st_mode & 0222) == 0) return Refused("Read-only file");
  if (access(path.c_str(), W_OK) != 0) return Refused(ReasonOf(errno));
  return {WriteOutcome::Written, ""};
}

WriteResult ReplaceOutputFile(const std::string& path, const std::string& bytes, const FileIdentity& input) {
  const WriteResult allowed = CheckOutputFile(path, input);
  if (allowed.outcome != WriteOutcome::Written) return allowed;
  struct stat existing;
  mode_t mode;
  if (stat(path.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }

  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  RemoveAbandonedTemporaries(folder);
  std::string temporary;
  const int fd = CreateTemporary(folder, temporary);
  if (fd < 0) return {WriteOutcome::Failed, ReasonOf(errno)};
  ArmSignalCleanup(temporary);
  bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
  const int saved = errno;
  if (!ok) unlink(temporary.c_str());
  DisarmSignalCleanup();
  close(fd);
  return ok ? WriteResult{WriteOutcome::Written, ""} : WriteResult{WriteOutcome::Failed, ReasonOf(saved)};
}

}  // namespace vxtags
