// How much processor time a ReadLn costs while it waits for a silent peer:
// prints CPU seconds against wall seconds for a wait of about two seconds.

#include <chrono>
#include <cstdio>

#include "bench/proc_stats.h"
#include "net/Psock.h"
#include "tests/support/ScriptedServer.h"

int main() {
  testsupport::ScriptedServer server({{testsupport::Silent()}});
  TPowersock session(nullptr);
  session.Host = "127.0.0.1";
  session.Port = server.Port();
  session.Connect();
  session.TimeOut = 2000;  // the time-out ends the wait

  const double cpuBefore = bench::CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  try {
    session.ReadLn();
  } catch (const EAbortError&) {
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  const double cpu = bench::CpuSeconds() - cpuBefore;
  std::printf("readln_wait: wall %.3f s, cpu %.3f s, %.2f%% of one core\n", wall, cpu, 100.0 * cpu / wall);
  return 0;
}
