// Reads a whole file that must be a regular file of bounded size, without
// ever waiting on it: a FIFO or a device is refused, never read, so a
// misnamed file cannot hold a program before its window opens.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

enum class TFileReadError {
  None,
  Missing,     // no such file
  CannotOpen,  // any other failure to open or to inspect it
  NotRegular,  // a directory, FIFO, device, socket
  TooLarge,    // over MaxBytes, also when it grew while read
  CannotRead,  // a read failed
};

struct TFileRead {
  std::string Text;  // the whole file when Error is None
  TFileReadError Error = TFileReadError::None;
  int Errno = 0;  // the system's error number for CannotOpen and CannotRead
};

TFileRead ReadRegularFile(const std::string& Path, std::size_t MaxBytes);

}  // namespace platform
