#include "tests/http/LocalServices.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/WaitUntil.h"

extern char** environ;

namespace httptest {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

bool Accepts(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const sockaddr_in a = Loopback(port);
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::uint16_t FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = Loopback(0);
  socklen_t len = sizeof a;
  std::uint16_t port = 0;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

std::string ProgramPath(const std::string& name) {
  // Daemons live in sbin, which a plain user's PATH may lack.
  for (const char* dir : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/", "/usr/local/sbin/", "/usr/local/bin/"}) {
    const std::string path = dir + name;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

bool HaveProgram(const std::string& name) { return !ProgramPath(name).empty(); }

LocalService::~LocalService() { Stop(); }

std::string LocalService::Log() const {
  std::ifstream in(logFile_);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void LocalService::Start(const std::string& workDir, const std::vector<std::string>& argv,
                         const std::string& configFile, const std::function<std::string(std::uint16_t)>& config) {
  Start(workDir, [&](std::uint16_t port) {
    std::ofstream(configFile) << config(port);
    return argv;
  });
}

void LocalService::Start(const std::string& workDir,
                         const std::function<std::vector<std::string>(std::uint16_t)>& argvFor) {
  for (int attempt = 0; attempt < 5 && pid_ < 0; ++attempt) {
    const std::uint16_t port = FreeLoopbackPort();
    const std::vector<std::string> argv = argvFor(port);
    logFile_ = workDir + "/" + std::filesystem::path(argv[0]).filename().string() + ".log";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logFile_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return;

    int status = 0;
    bool exited = false;
    const bool up = testsupport::WaitUntil([&] {
      if (::waitpid(pid, &status, WNOHANG) == pid) exited = true;
      return exited || Accepts(port);
    });
    if (up && !exited) {
      pid_ = pid;
      port_ = port;
      return;
    }
    if (!exited) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
    }
  }
}

void LocalService::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  const bool gone = testsupport::WaitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
  if (!gone) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
  }
  pid_ = -1;
}

Nginx::Nginx(const std::string& workDir, const std::string& root) {
  const std::string conf = workDir + "/nginx.conf";
  Start(workDir, {ProgramPath("nginx"), "-p", workDir, "-c", conf}, conf, [&](std::uint16_t port) {
    std::string c;
    c += "daemon off;\nmaster_process off;\nworker_processes 1;\n";
    if (::geteuid() == 0) c += "user root;\n";
    c += "pid " + workDir + "/nginx.pid;\nerror_log " + workDir + "/nginx-error.log;\n";
    c += "events { worker_connections 64; }\nhttp {\n  access_log off;\n  default_type text/plain;\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
      c += std::string("  ") + kind + "_temp_path " + workDir + "/" + kind + ";\n";
    c += "  server {\n    listen 127.0.0.1:" + std::to_string(port) + ";\n    root " + root + ";\n";
    c += "    location = /old { return 302 /small.txt; }\n  }\n}\n";
    return c;
  });
}

TinyProxy::TinyProxy(const std::string& workDir) {
  const std::string conf = workDir + "/tinyproxy.conf";
  Start(workDir, {ProgramPath("tinyproxy"), "-d", "-c", conf}, conf, [&](std::uint16_t port) {
    return "Port " + std::to_string(port) + "\nListen 127.0.0.1\nTimeout 30\nMaxClients 16\nLogLevel Error\n" +
           "PidFile \"" + workDir + "/tinyproxy.pid\"\nAllow 127.0.0.1\n";
  });
}

}  // namespace httptest
