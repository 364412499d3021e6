// A client-side bound on the calls of one database connection.
//
// The query time-out is enforced by the server: a server that no longer
// answers (a paused backend, a frozen host, a cut network) would hold a call
// for ever. The watchdog's thread waits while a call is armed; when the call
// is still running at its deadline it shuts the connection's socket down
// (shutdown(2), both ways), which makes the driver's blocked receive return at
// once with a connection failure. The caller then reports a time-out and
// drops the connection, which is opened again at the next call.
//
// The driver's own cancel (SQLCancel) is not used: the PostgreSQL driver's
// cancel opens a second connection and waits for the server's answer without
// a bound, so against a frozen server the watchdog itself would hang.
//
// The socket is the driver's: the watchdog never closes it, and checks that
// the descriptor still names the same socket before shutting it.
//
// Thread-safe: Arm and Disarm run on the caller's thread, the firing on the
// watchdog's own thread.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace db {

// A connected TCP socket of this process, as the kernel names it.
struct TSocketId {
  int Fd = -1;
  ino_t Inode = 0;
};

// The inodes of this process's open sockets (from /proc/self/fd).
std::set<ino_t> OpenSocketInodes();
// The one connected TCP socket whose inode is not in Before; Fd -1 when
// there is none or more than one.
TSocketId NewTcpSocket(const std::set<ino_t>& Before);
// TCP keepalives on the socket, so that an idle connection to a server that
// has gone is found dead (about 90 s) instead of never.
void SetKeepalives(int Fd);

class TCallWatchdog {
 public:
  TCallWatchdog();
  ~TCallWatchdog();
  TCallWatchdog(const TCallWatchdog&) = delete;
  TCallWatchdog& operator=(const TCallWatchdog&) = delete;

  // The socket to shut at a deadline; Fd -1 for none (nothing is bounded).
  void SetSocket(TSocketId Socket);
  // A call starts that must end within Limit.
  void Arm(std::chrono::milliseconds Limit);
  // The call has ended; true when the deadline passed and the socket was shut
  // (the connection is then unusable).
  bool Disarm();

 private:
  void Run();

  std::mutex FLock;
  std::condition_variable FWake;
  TSocketId FSocket;
  bool FArmed = false;
  bool FFired = false;
  bool FStop = false;
  std::chrono::steady_clock::time_point FDeadline;
  // What the thread waits for: max() while it waits for an arming.
  std::chrono::steady_clock::time_point FWaitingUntil =
      std::chrono::steady_clock::time_point::max();
  std::thread FThread;  // last: starts once the fields above are made
};

}  // namespace db
