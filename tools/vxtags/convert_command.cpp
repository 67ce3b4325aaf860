// vxtags convert [--to-utf8] INPUT OUTPUT: a definition file between the UTF-8
// an author edits and the code page 932 the add-in reads. Refusals are
// printed as "INPUT:LINE:COLUMN: message" and leave OUTPUT as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/vxtags/commands.h"
#include "tools/vxtags/definition_convert.h"

namespace {

// A definition file holds at most a few megabytes; anything far larger is
// not one, and is not worth holding in memory.
constexpr std::size_t LARGEST_INPUT = 64u << 20;

int Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "vxtags convert: %s %s: %s\n", what, path.c_str(), std::strerror(errno));
  return 2;
}

// Reads the whole input and tells its identity, taken from the open file so
// that links to it are recognised whatever path names them.
bool ReadInput(const char* path, std::string& bytes, struct stat& identity) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fstat(fd, &identity) == 0 && S_ISREG(identity.st_mode);
  if (ok && static_cast<std::size_t>(identity.st_size) > LARGEST_INPUT) {
    errno = EFBIG;
    ok = false;
  } else if (!ok && errno == 0) {
    errno = EISDIR;
  }
  char chunk[65536];
  for (ssize_t n; ok && (n = read(fd, chunk, sizeof chunk)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0 && bytes.size() + static_cast<std::size_t>(n) <= LARGEST_INPUT;
    if (ok) bytes.append(chunk, static_cast<std::size_t>(n));
  }
  const int saved = errno;
  close(fd);
  errno = saved;
  return ok;
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

// A file beside the output, renamed over it once it is whole: the output is
// either replaced entire or left as it was. It keeps the mode of the file it
// replaces, or gets the one a new file would.
bool WriteBeside(const std::string& path, const std::string& bytes) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temporary = folder + (slash == std::string::npos ? "/." : ".") + name + ".vxtags-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  struct stat existing;
  mode_t mode;
  if (stat(path.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = WriteAll(fd, bytes) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    const int saved = errno;
    unlink(temporary.c_str());
    errno = saved;
  }
  return ok;
}

}  // namespace

int vxtags::RunConvertCommand(int argc, char** argv) {
  const bool toUtf8 = argc > 0 && std::strcmp(argv[0], "--to-utf8") == 0;
  if (toUtf8) {
    --argc;
    ++argv;
  }
  if (argc != 2 || argv[0][0] == '-' || argv[1][0] == '-') return Usage();
  const std::string input = argv[0];
  const std::string output = argv[1];

  std::string bytes;
  struct stat inputIdentity;
  errno = 0;
  if (!ReadInput(input.c_str(), bytes, inputIdentity)) return Fail("cannot read", input);
  struct stat outputIdentity;
  if (stat(output.c_str(), &outputIdentity) == 0 && outputIdentity.st_dev == inputIdentity.st_dev &&
      outputIdentity.st_ino == inputIdentity.st_ino) {
    std::fprintf(stderr, "vxtags convert: %s is the input file itself; name another output\n", output.c_str());
    return 2;
  }

  const Conversion conversion = toUtf8 ? ConvertDefinitionToUtf8(bytes) : ConvertDefinitionToCp932(bytes);
  if (conversion.findingCount > 0) {
    for (const ConvertFinding& finding : conversion.findings)
      std::printf("%s:%llu:%llu: %s\n", input.c_str(), static_cast<unsigned long long>(finding.line),
                  static_cast<unsigned long long>(finding.column), finding.message.c_str());
    const auto count = static_cast<unsigned long long>(conversion.findingCount);
    if (count > conversion.findings.size())
      std::printf("%s: %llu more findings not shown\n", input.c_str(), count - conversion.findings.size());
    std::printf("%s: %llu findings; %s was not written\n", input.c_str(), count, output.c_str());
    return 1;
  }
  if (!WriteBeside(output, conversion.output)) return Fail("cannot write", output);
  return 0;
}
