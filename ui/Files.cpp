#include "ui/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ui/Gbk.h"

namespace ui {

namespace {

bool StatMode(const std::string& path, mode_t kind) {
  struct stat st {};
  return ::stat(GbkToLocalPath(path).c_str(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

}  // namespace

bool FileExists(const std::string& path) { return StatMode(path, S_IFREG); }

bool DirectoryExists(const std::string& path) { return StatMode(path, S_IFDIR); }

bool FolderWritable(const std::string& path) {
  return DirectoryExists(path) &&
         ::faccessat(AT_FDCWD, GbkToLocalPath(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string ExpandFileName(const std::string& path) {
  const std::filesystem::path local(GbkToLocalPath(path));
  return LocalPathToGbk(std::filesystem::absolute(local).lexically_normal().string());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const std::string local = GbkToLocalPath(path);
  const auto fail = [&](int err) {
    throw EFCreateError("Cannot create file \"" + ExpandFileName(path) + "\". " +
                        ToGbk(QString::fromLocal8Bit(std::strerror(err))));
  };
  const int fd = ::open(local.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) fail(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      fail(err);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0) fail(errno);
}

}  // namespace ui
