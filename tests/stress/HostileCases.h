#pragma once
// Loopback peers that misbehave on purpose, and what a fetch from each of
// them must end with. The same table drives the HTTP client alone and the
// follow step.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScriptedServer.h"

class TNMHTTP;

namespace stresstest {

// Time-out given to the client in these tests, so that a silent peer costs
// a fraction of a second.
inline constexpr int kShortTimeOutMs = 300;
// The follow step's bound on a whole fetch for the peers that only end
// there, and what it says then; every other peer gets the program's 10 s,
// which it must never reach (an endless header takes seconds to reach its
// own limit under the sanitizers).
inline constexpr std::uint32_t kFollowDeadlineMs = 1000;
inline constexpr const char* kFollowDeadlineReason = "no complete answer within 1 s";

enum class Peer { Scripted, Refusing, Unanswered, Unresolvable };

struct HostileCase {
  std::string name;
  Peer peer = Peer::Scripted;
  testsupport::Script script;  // played on each connection of the hostile fetch
  int connections = 1;         // connections the hostile fetch makes
  std::string raised;          // what the fetch raises; empty when it returns
  // The body file afterwards; none: not touched (the earlier file stays).
  std::optional<std::string> body;
  bool bodyIsPrefix = false;  // body gives only the start of an endless file
  int status = 0;             // the status when the fetch returns
  // Why the follow step counts the fetch as failed (on stderr); empty when
  // it follows the answer, which then shows the remote station.
  std::string followReason;
};

std::ostream& operator<<(std::ostream& out, const HostileCase& c);

const std::vector<HostileCase>& HostileCases();
std::string CaseName(const ::testing::TestParamInfo<HostileCase>& info);

// What the good answers serve.
inline constexpr const char* kGoodBefore = "7050\n0\nSSB\n0\n";
inline constexpr const char* kGoodAfter = "14200\n3\nAM\n1\n";

// The peer of a case. A scripted peer plays `before`, then the hostile
// connections, then a good answer with kGoodAfter, all on one URL, the way a
// follow server misbehaves and then comes back. The other peers have a good
// server beside them for the answers before and after.
class HostilePeer {
public:
  HostilePeer(const HostileCase& c, const std::vector<testsupport::Script>& before);
  ~HostilePeer();
  HostilePeer(const HostilePeer&) = delete;
  HostilePeer& operator=(const HostilePeer&) = delete;

  std::string GoodUrl() const;     // for the answers before and after
  std::string HostileUrl() const;  // for the hostile fetch

private:
  std::unique_ptr<testsupport::ScriptedServer> server_;
  std::unique_ptr<testsupport::ScriptedServer> good_;
  std::unique_ptr<testsupport::RefusingPort> refusing_;
  std::unique_ptr<testsupport::UnansweredPort> unanswered_;
};

// An answer with the given body to a whole request.
testsupport::Script GoodAnswer(const std::string& body);

// One exchange against a throwaway server, so that whatever the process
// opens once on first use is open before a test counts descriptors.
void WarmUp(TNMHTTP& http);

// True for a time of day as the status bar shows it: h:mm:ss, whatever the
// locale puts around it.
bool IsTimeText(const std::string& text);

// Runs call; the message of what it raised, or "" when it returned.
template <class F>
std::string RaisedBy(F&& call) {
  try {
    call();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace stresstest
