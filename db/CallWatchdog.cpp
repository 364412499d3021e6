#include "db/CallWatchdog.h"

#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace db {
namespace {

// Calls F(fd, inode) for every open socket descriptor of the process.
template <class F>
void ForEachSocket(F Visit) {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return;
  const int own = dirfd(dir);
  while (dirent* entry = readdir(dir)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != 0 || fd == own) continue;
    struct stat st {};
    if (fstat(static_cast<int>(fd), &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
    Visit(static_cast<int>(fd), st.st_ino);
  }
  closedir(dir);
}

bool IsConnectedTcp(int Fd) {
  int type = 0, domain = 0;
  socklen_t length = sizeof type;
  if (getsockopt(Fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM) return false;
  length = sizeof domain;
  if (getsockopt(Fd, SOL_SOCKET, SO_DOMAIN, &domain, &length) != 0 ||
      (domain != AF_INET && domain != AF_INET6))
    return false;
  sockaddr_storage peer{};
  length = sizeof peer;
  return getpeername(Fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0;
}

}  // namespace

std::set<ino_t> OpenSocketInodes() {
  std::set<ino_t> inodes;
  ForEachSocket([&](int, ino_t Inode) { inodes.insert(Inode); });
  return inodes;
}

TSocketId NewTcpSocket(const std::set<ino_t>& Before) {
  TSocketId found;
  int count = 0;
  ForEachSocket([&](int Fd, ino_t Inode) {
    if (Before.count(Inode) || !IsConnectedTcp(Fd)) return;
    found = {Fd, Inode};
    ++count;
  });
  return count == 1 ? found : TSocketId{};
}

void SetKeepalives(int Fd) {
  const int on = 1, idle = 60, interval = 10, count = 3;
  setsockopt(Fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  setsockopt(Fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  setsockopt(Fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  setsockopt(Fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

TCallWatchdog::TCallWatchdog() : FThread([this] { Run(); }) {}

TCallWatchdog::~TCallWatchdog() {
  {
    std::lock_guard<std::mutex> guard(FLock);
    FStop = true;
  }
  FWake.notify_all();
  FThread.join();
}

void TCallWatchdog::SetSocket(TSocketId Socket) {
  std::lock_guard<std::mutex> guard(FLock);
  FSocket = Socket;
}

void TCallWatchdog::Arm(std::chrono::milliseconds Limit) {
  bool wake = false;
  {
    std::lock_guard<std::mutex> guard(FLock);
    const auto deadline = std::chrono::steady_clock::now() + Limit;
    // The thread, if it still waits for an earlier call's deadline, waits on
    // from there; only a deadline earlier than the one it waits for needs it
    // woken (one call after another costs no thread switch).
    wake = deadline < FWaitingUntil;
    FDeadline = deadline;
    FArmed = true;
    FFired = false;
  }
  if (wake) FWake.notify_one();
}

bool TCallWatchdog::Disarm() {
  std::lock_guard<std::mutex> guard(FLock);
  FArmed = false;
  const bool fired = FFired;
  FFired = false;
  return fired;
}

void TCallWatchdog::Run() {
  std::unique_lock<std::mutex> lock(FLock);
  while (!FStop) {
    if (!FArmed) {
      FWaitingUntil = std::chrono::steady_clock::time_point::max();
      FWake.wait(lock);
      continue;
    }
    if (std::chrono::steady_clock::now() < FDeadline) {
      FWaitingUntil = FDeadline;
      FWake.wait_until(lock, FWaitingUntil);
      continue;
    }
    FArmed = false;
    struct stat st {};
    if (FSocket.Fd >= 0 && fstat(FSocket.Fd, &st) == 0 && st.st_ino == FSocket.Inode) {
      shutdown(FSocket.Fd, SHUT_RDWR);
      FFired = true;
    }
  }
}

}  // namespace db
