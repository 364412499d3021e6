#include "platform/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

struct TFd {
  int Fd;
  ~TFd() {
    if (Fd >= 0) close(Fd);
  }
};

TFileRead Failed(TFileReadError Error, int Errno = 0) {
  TFileRead result;
  result.Error = Error;
  result.Errno = Errno;
  return result;
}

}  // namespace

TFileRead ReadRegularFile(const std::string& Path, std::size_t MaxBytes) {
  // Without waiting: opening a FIFO for reading would wait for a writer.
  TFd file{open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
  if (file.Fd < 0)
    return Failed(errno == ENOENT ? TFileReadError::Missing : TFileReadError::CannotOpen, errno);
  struct stat info {};
  if (fstat(file.Fd, &info) != 0) return Failed(TFileReadError::CannotOpen, errno);
  if (!S_ISREG(info.st_mode)) return Failed(TFileReadError::NotRegular);
  if (static_cast<unsigned long long>(info.st_size) > MaxBytes)
    return Failed(TFileReadError::TooLarge);
  TFileRead result;
  char buffer[16384];
  for (;;) {
    const ssize_t n = read(file.Fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(TFileReadError::CannotRead, errno);
    }
    result.Text.append(buffer, static_cast<size_t>(n));
    // The file may have grown since fstat.
    if (result.Text.size() > MaxBytes) return Failed(TFileReadError::TooLarge);
  }
  return result;
}

}  // namespace platform
