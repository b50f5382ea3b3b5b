// How much processor time a ReadLn costs while it waits for a silent peer:
// prints CPU seconds against wall seconds for a wait of about two seconds,
// on one line. The session runs on the real loop and sockets (FLTK and POSIX,
// no display); the peer is a loopback server that accepts and stays silent.

#include <chrono>
#include <cstdio>

#include "bench/proc_stats.h"
#include "net/Psock.h"
#include "tests/support/ScriptedServer.h"

namespace {
constexpr double kLimitPercent = 5.0;
}  // namespace

int main() {
  testsupport::ScriptedServer server({{testsupport::Silent()}});
  TPowersock session(nullptr);
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
  session.TimeOut = 2000;  // the time-out ends the wait

  const double cpuBefore = bench::CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  bool timedOut = false;
  try {
    session.ReadLn();
  } catch (const EAbortError&) {
    timedOut = true;
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  const double cpu = bench::CpuSeconds() - cpuBefore;
  if (!timedOut) {  // a read that did not wait says nothing about waiting
    std::fprintf(stderr, "readln_wait: the read ended after %.3f s without its time-out\n", wall);
    return 1;
  }
  std::printf("readln_wait: cpu %.3f s over wall %.2f s = %.3f%% of one core (limit %.0f%%)\n", cpu, wall,
              100.0 * cpu / wall, kLimitPercent);
  return 0;
}
