#include "data/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "lang/LanguageTexts.h"

namespace zmp {

namespace {

// Symbolic links followed before a path counts as a loop (as the system does).
constexpr int kMostLinks = 40;

void SetError(FileError* e, int code, bool notRegularFile = false) {
  if (e) *e = FileError{code, notRegularFile};
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

mode_t NewFileMode(mode_t bits) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return bits & ~mask;
}

// Writes all of bytes, going on after short writes and interruptions.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file a write of path goes to: symbolic links followed to their target
// (which need not exist yet). Nothing when the path names something that is
// not a regular file, or a link cannot be followed.
std::optional<std::string> WriteTarget(const std::string& path, FileError* error) {
  if (path.empty()) {
    SetError(error, ENOENT);
    return std::nullopt;
  }
  if (path.back() == '/') {  // the name of a folder
    SetError(error, EISDIR, true);
    return std::nullopt;
  }
  std::string p = path;
  for (int hops = 0; hops < kMostLinks; ++hops) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0) {
      if (errno == ENOENT) return p;  // a new file; its folder is checked as it is made
      SetError(error, errno);
      return std::nullopt;
    }
    if (S_ISREG(st.st_mode)) return p;
    if (!S_ISLNK(st.st_mode)) {
      SetError(error, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, true);
      return std::nullopt;
    }
    char target[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), target, sizeof target);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof target) {
      SetError(error, n < 0 ? errno : ENAMETOOLONG);
      return std::nullopt;
    }
    const std::string to(target, static_cast<std::size_t>(n));
    p = to.front() == '/' ? to : FolderOf(p) + "/" + to;
  }
  SetError(error, ELOOP);
  return std::nullopt;
}

// A file written completely into a temporary file beside its target, not yet
// renamed over it.
struct StagedFile {
  std::string temp;
  std::string target;
};

std::optional<StagedFile> StageFile(const std::string& path, std::span<const std::uint8_t> bytes, FileError* error) {
  const auto target = WriteTarget(path, error);
  if (!target) return std::nullopt;
  std::string temp = FolderOf(*target) + "/.zmp318t-save-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    SetError(error, errno);
    return std::nullopt;
  }
  temp = name.data();
  // Permissions: those of the file being replaced, else rw for all less the umask.
  struct stat old {};
  const mode_t mode = ::stat(target->c_str(), &old) == 0 ? old.st_mode & 07777 : NewFileMode(0666);
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int code = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    SetError(error, code ? code : EIO);
    return std::nullopt;
  }
  return StagedFile{temp, *target};
}

bool PutInPlace(const StagedFile& f, FileError* error) {
  if (::rename(f.temp.c_str(), f.target.c_str()) == 0) return true;
  SetError(error, errno);
  ::unlink(f.temp.c_str());
  return false;
}

// A folder that does not exist yet: filled as a temporary folder beside it,
// renamed into place when every file is complete.
bool WriteNewFolder(const std::string& folder, std::span<const FolderFile> files, FileError* error) {
  std::string temp = FolderOf(folder) + "/.zmp318t-folder-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    SetError(error, errno);
    return false;
  }
  temp = name.data();
  std::vector<std::string> written;
  bool ok = true;
  for (const FolderFile& f : files) {
    const std::string path = temp + "/" + f.name;
    const auto staged = StageFile(path, f.bytes, error);
    ok = staged && PutInPlace(*staged, error);
    if (!ok) break;
    written.push_back(path);
  }
  if (ok && ::chmod(temp.c_str(), NewFileMode(0777)) != 0) {
    SetError(error, errno);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), folder.c_str()) != 0) {
    SetError(error, errno);
    ok = false;
  }
  if (!ok) {
    for (const std::string& path : written) ::unlink(path.c_str());
    ::rmdir(temp.c_str());
  }
  return ok;
}

}  // namespace

std::string FileError::Text() const { return code ? std::strerror(code) : std::string(); }

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit,
                                                       FileError* error) {
  // Non-blocking open: a named pipe would otherwise wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    SetError(error, errno, errno == EISDIR);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    SetError(error, errno);
    ::close(fd);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    SetError(error, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, true);
    ::close(fd);
    return std::nullopt;
  }
  std::vector<std::uint8_t> out(limit + 1);
  std::size_t got = 0;
  while (got < out.size()) {
    const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetError(error, errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  out.resize(got);
  SetError(error, 0);
  return out;
}

bool WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes, FileError* error) {
  const auto staged = StageFile(path, bytes, error);
  if (!staged || !PutInPlace(*staged, error)) return false;
  SetError(error, 0);
  return true;
}

bool WriteFolderSafely(const std::string& folderPath, std::span<const FolderFile> files, FileError* error) {
  const std::string folder = WithoutTrailingSlashes(folderPath);
  if (folder.empty()) {
    SetError(error, ENOENT);
    return false;
  }
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      SetError(error, errno);
      return false;
    }
    if (!WriteNewFolder(folder, files, error)) return false;
    SetError(error, 0);
    return true;
  }
  if (!S_ISDIR(st.st_mode)) {
    SetError(error, ENOTDIR);
    return false;
  }
  // An existing folder: every file complete beside its target before any is renamed.
  std::vector<StagedFile> staged;
  for (const FolderFile& f : files) {
    auto s = StageFile(folder + "/" + f.name, f.bytes, error);
    if (!s) {
      for (const StagedFile& done : staged) ::unlink(done.temp.c_str());
      return false;
    }
    staged.push_back(std::move(*s));
  }
  bool ok = true;
  for (const StagedFile& s : staged) {
    if (ok) ok = PutInPlace(s, error);
    else ::unlink(s.temp.c_str());
  }
  if (ok) SetError(error, 0);
  return ok;
}

std::string FileErrorText(const FileError& error) { return error.notRegularFile ? Tx(514_txt) : error.Text(); }

}  // namespace zmp
