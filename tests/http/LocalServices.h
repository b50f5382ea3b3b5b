#pragma once
// Real servers for the tests, started on free loopback ports with
// configurations of their own in a temporary folder, and stopped again:
// nginx serving a folder, tinyproxy forwarding to loopback servers (and,
// through the same base class, rigctld for the rig-control tests).

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace httptest {

// A port on 127.0.0.1 that was free a moment ago.
std::uint16_t FreeLoopbackPort();

// Where an installed program is (empty when it is not).
std::string ProgramPath(const std::string& name);
bool HaveProgram(const std::string& name);

// A child process serving on a loopback port; stopped and reaped when the
// object goes. Running() is false when it could not be started; Log() then
// tells why.
class LocalService {
public:
  ~LocalService();
  LocalService(const LocalService&) = delete;
  LocalService& operator=(const LocalService&) = delete;

  bool Running() const { return pid_ > 0; }
  std::uint16_t Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  std::string Log() const;

protected:
  LocalService() = default;
  // Writes configFile from config(port), runs argv, and waits until the
  // port accepts connections; tries a few ports before it gives up.
  void Start(const std::string& workDir, const std::vector<std::string>& argv, const std::string& configFile,
             const std::function<std::string(std::uint16_t)>& config);
  // The same for a program that takes its port on its command line.
  void Start(const std::string& workDir, const std::function<std::vector<std::string>(std::uint16_t)>& argvFor);

private:
  void Stop();

  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
  std::string logFile_;
};

// nginx serving root on 127.0.0.1, in the foreground, one process; /old
// answers 302 to /small.txt.
class Nginx : public LocalService {
public:
  Nginx(const std::string& workDir, const std::string& root);
};

// tinyproxy on 127.0.0.1, in the foreground.
class TinyProxy : public LocalService {
public:
  explicit TinyProxy(const std::string& workDir);
};

}  // namespace httptest
