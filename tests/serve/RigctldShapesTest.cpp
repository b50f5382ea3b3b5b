// The whole command table against Debian's rigctld with its dummy rig, run
// in the same test: every command in the plain, "+" and one-line (";")
// forms, asked of the panel's session and of rigctld -m 1. Where the radio
// has what the command asks, the answers must have the same shape (the
// same records, labels and result; only the values that describe the radio
// differ); where it has not, the panel must answer rigctld's echo and the
// result the table names.
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "serve/RigCapabilities.h"
#include "tests/http/LocalServices.h"
#include "tests/serve/RigFixture.h"
#include "tests/support/LoopbackClient.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/WaitUntil.h"

namespace {

namespace lb = testsupport::loopback;
using Strings = std::vector<std::string>;

class Rigctld : public httptest::LocalService {
public:
  explicit Rigctld(const std::string& workDir) {
    Start(workDir, [](std::uint16_t port) {
      return Strings{httptest::ProgramPath("rigctld"), "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(port)};
    });
  }
  // The lines on a connection of its own, then \dump_conf and "q"; what
  // came back before their answers. rigctld 4.5.4 closes a finished
  // client's descriptor three times, from the client's thread, which would
  // cut a connection made meanwhile: each connection waits until rigctld is
  // down to its main thread.
  std::string Ask(const std::string& lines) {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return Threads() == 1; })) << "rigctld is still busy";
    const std::string end = "model: Dummy\nRPRT 0\nRPRT 0\n";
    const int fd = lb::ConnectLoopback(Port());
    std::string answer;
    if (fd != lb::kNoSocket && testsupport::SendAll(fd, lines + "\n\\dump_conf\nq\n")) {
      answer = testsupport::ReadToEnd(fd).bytes;
    }
    lb::CloseSocket(fd);
    if (!answer.ends_with(end)) {
      ADD_FAILURE() << "rigctld did not answer " << lines << ": " << answer;
      return {};
    }
    answer.resize(answer.size() - end.size());
    // After \chk_vfo in the extended form rigctld answers the next command
    // extended too.
    if (const std::size_t echo = answer.rfind("dump_conf:");
        echo != std::string::npos && answer.find('\n', echo) >= answer.size() - 1) {
      answer.resize(echo);
    }
    return answer;
  }

private:
  std::size_t Threads() const {
    const std::filesystem::path tasks = "/proc/" + std::to_string(Pid()) + "/task";
    std::error_code error;
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(tasks, error), {}));
  }
};

// The records of an answer, each reduced to what does not describe the
// radio: "Label: *", "Key=*", "*" for a bare value, "RPRT n" as it is; an
// echo line (keepFirst) as it is. Lines that start with a tab (the
// entries of a list in the capability dump) are left out, and range labels
// ("TX ranges #1 for Dummy#1") lose their names. rigctld's own slips are
// mended first: the NUL or SOH it writes after some lists, and an "RPRT"
// glued to the last value.
Strings Shape(std::string text, char separator, bool keepFirst) {
  std::erase_if(text, [](char c) { return c == '\0' || c == '\1'; });
  for (std::size_t at = text.find("RPRT "); at != std::string::npos; at = text.find("RPRT ", at + 2)) {
    if (at > 0 && text[at - 1] != '\n' && text[at - 1] != separator) text.insert(at, "\n");
  }
  Strings records;
  std::string record;
  for (char c : text) {
    if (c != '\n' && c != separator) {
      record += c;
      continue;
    }
    records.push_back(record);
    record.clear();
  }
  if (!record.empty()) records.push_back(record);

  static const std::regex kRange("((TX|RX) ranges #[0-9]( status)? for ).*");
  Strings shape;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string& r = records[i];
    if (i == 0 && keepFirst) {
      shape.push_back(r);
    } else if (r.starts_with('\t') || (r.empty() && separator != '\n')) {
      continue;
    } else if (r.starts_with("RPRT ")) {
      shape.push_back(r);
    } else if (const std::size_t colon = r.find(':'); colon != std::string::npos) {
      shape.push_back(std::regex_replace(r.substr(0, colon), kRange, "$1*") + ":*");
    } else if (const std::size_t equals = r.find('='); equals != std::string::npos) {
      shape.push_back(r.substr(0, equals) + "=*");
    } else {
      shape.push_back("*");
    }
  }
  return shape;
}

std::string Joined(const Strings& strings) {
  std::string text;
  for (const std::string& s : strings) text += s + " | ";
  return text;
}

enum Form : unsigned { kPlain = 1, kPlus = 2, kOneLine = 4, kAllForms = 7 };
constexpr int kShaped = 1;
constexpr const char* kVfoMode = "\\set_vfo_opt 1";

// Commands asked alike. result kShaped: the same shape as rigctld's;
// otherwise the result the panel gives after rigctld's echo (the radio has
// not what was asked).
struct Group {
  int result;
  std::vector<const char*> commands;
  unsigned forms = kAllForms;
  const char* setup = nullptr;  // a plain line first, on the same connection
};

const Group kGroups[] = {
    // What the radio has.
    {kShaped, {"F 7050000", "f", "M USB 2400", "m", "S 0 VFOA", "s", "N 100", "n", "V VFOA", "v"}},
    {kShaped, {"\\set_powerstat 1", "\\get_powerstat", "\\get_vfo_info VFOA", "\\get_rig_info", "_"}},
    {kShaped, {"\\get_vfo_list", "\\get_modes", "\\get_mode_bandwidths USB", "1", "3"}},
    // Lists of its modes and VFO.
    {kShaped, {"M ?", "X ?", "K ?", "V ?", "S 0 ?", "\\get_vfo_info ?"}},
    // The port's own settings, and what rigctld refuses for every radio.
    {kShaped, {"\\set_lock_mode 0", "\\get_lock_mode", "\\get_separator", "\\set_twiddle 0", "\\get_twiddle"}},
    {kShaped, {"\\set_cache 0", "\\get_cache", "A OFF", "a", "\\stop_morse", "\\wait_morse"}},
    // Arguments refused before anything else.
    {kShaped, {"F x", "M USB x", "J x", "T x", "T 5", "E x", "y x", "Y 1 x", "N x", "S x VFOA", "S 0 Foo"}},
    {kShaped, {"l FOO", "u FOO", "p FOO", "G FOO", "2 x 7050000 USB", "2 0.5 x USB", "4 x 7050000 USB"}},
    {kShaped, {"\\set_powerstat x", "\\set_lock_mode x", "\\set_clock x", "\\set_vfo_opt x"}},
    // Empty lists, which the one-line form leaves out.
    {kShaped, {"L ?", "U ?", "P ?", "G ?", "g ?"}, kPlain | kPlus},
    // Sets of what the radio already is succeed (rigctld's dummy has no
    // PTT and refuses); more than that is refused.
    {0, {"T 0", "\\set_vfo_opt 0"}},
    {-11, {"T 1", "\\uplink 1"}},
    // What the radio does not have; levels, functions and parameters it
    // cannot read are invalid arguments.
    {-11, {"I 7050000", "i", "X USB 2400", "x", "K 7050000 USB 2400", "k", "L AF 0.5", "U NB 1", "G CPY"}},
    {-11, {"g STOP 0", "R +", "r", "O 600", "o", "C 885", "c", "D 23", "d", "E 1", "e", "H 1", "h 1 0", "B 1"}},
    {-11, {"\\set_ctcss_sql 885", "\\get_ctcss_sql", "\\set_dcs_sql 23", "\\get_dcs_sql", "\\get_dcd"}},
    {-11, {"J 100", "j", "Z 100", "z", "Y 1 0", "y 1", "\\send_dtmf 123", "\\recv_dtmf", "\\reset 0", "b CQ"}},
    {-11, {"\\send_voice_mem 1", "2 0.5 7050000 USB", "4 50000 7050000 USB", "\\send_raw ; FA"}},
    {-11, {"\\pause 0", "\\password x"}},
    {-1, {"l STRENGTH", "l AF", "u NB", "P BEEP 1", "p BEEP"}},
    {-4, {"\\get_clock", "\\set_clock 2024-01-01T00:00:00+00"}},
    // rigctld's dummy never ends this answer, and its separator would stay.
    {-11, {"w FA;"}, kPlain | kPlus},
    // VFO mode: a VFO first, the radio's own named four ways.
    {kShaped,
     {"f currVFO", "f VFOA", "f Main", "F currVFO 7074000", "m VFOA", "M currVFO USB 2400", "s currVFO",
      "S currVFO 0 VFOA", "n currVFO", "v", "V VFOA", "\\get_vfo_info VFOA", "\\get_powerstat", "\\set_powerstat 1",
      "J VFOA x", "\\chk_vfo"},
     kAllForms,
     kVfoMode},
    {0, {"T currVFO 0"}, kAllForms, kVfoMode},
    {-11, {"f VFOB", "F VFOB 7074000", "m Sub", "J VFOA 100"}, kAllForms, kVfoMode},
    {-1, {"f Foo"}, kAllForms, kVfoMode},
    {kShaped, {"\\chk_vfo"}},
};

class RigctldShapes : public RigTest {
protected:
  void SetUp() override {
    RigTest::SetUp();
    peer = std::make_unique<Rigctld>(std::filesystem::current_path().string());
    ASSERT_TRUE(peer->Running()) << peer->Log();
  }

  // The panel's answer on a session of its own, without the setup's.
  std::string Ours(const char* setup, const std::string& line) {
    RigSession session(rig);
    if (setup != nullptr) session.Receive(std::string(setup) + "\n");
    return session.Receive(line + "\n");
  }
  // rigctld's, without the setup's (one line).
  std::string Theirs(const char* setup, const std::string& line) {
    std::string text = peer->Ask(setup != nullptr ? std::string(setup) + "\n" + line : line);
    if (setup != nullptr) text.erase(0, text.find('\n') + 1);
    return text;
  }

  std::unique_ptr<Rigctld> peer;
};

TEST_F(RigctldShapes, EveryCommandInEveryFormAnswersAsRigctldDoes) {
  struct FormOf {
    Form form;
    const char* prefix;
    char separator;
  };
  for (const Group& row : kGroups) {
    for (const char* command : row.commands) {
      for (const FormOf f : {FormOf{kPlain, "", '\n'}, FormOf{kPlus, "+", '\n'}, FormOf{kOneLine, ";", ';'}}) {
        if (!(row.forms & f.form)) continue;
        const std::string line = f.prefix + std::string(command);
        const std::string ours = Ours(row.setup, line);
        const std::string theirs = Theirs(row.setup, line);
        const std::string where =
            "'" + line + "'" + (row.setup ? " in VFO mode" : "") + "\nours:   " + ours + "\ntheirs: " + theirs;
        ASSERT_TRUE(ours.ends_with('\n')) << where;
        if (f.form == kOneLine) {
          EXPECT_EQ(std::count(ours.begin(), ours.end(), '\n'), 1) << where;
        }
        if (row.result == kShaped) {
          const bool echo = f.form != kPlain;
          EXPECT_EQ(Joined(Shape(ours, f.separator, echo)), Joined(Shape(theirs, f.separator, echo))) << where;
        } else {
          // Our echo, then the result; the echo is rigctld's (which goes on
          // with what its dummy has).
          const std::string result = "RPRT " + std::to_string(row.result) + "\n";
          ASSERT_TRUE(ours.ends_with(result)) << where;
          const std::string echo = ours.substr(0, ours.size() - result.size());
          EXPECT_TRUE(f.form == kPlain ? echo.empty() : theirs.starts_with(echo) && echo.ends_with(f.separator))
              << where;
        }
      }
    }
  }
}

// The capability block of \dump_state: the same protocol version and, after
// \chk_vfo, settings that rigctld also sends, in its order, ended by "done".
TEST_F(RigctldShapes, DumpStateSpeaksRigctldsProtocolVersion) {
  auto settings = [](const std::string& block) {
    Strings keys;
    std::size_t from = 0;
    for (std::size_t end; (end = block.find('\n', from)) != std::string::npos; from = end + 1) {
      const std::string line = block.substr(from, end - from);
      if (const std::size_t equals = line.find('='); equals != std::string::npos)
        keys.push_back(line.substr(0, equals));
      if (line == "done") keys.push_back(line);
    }
    return keys;
  };
  const std::string ours = Ours("\\chk_vfo", "\\dump_state");
  const std::string theirs = Theirs("\\chk_vfo", "\\dump_state");
  EXPECT_EQ(ours.substr(0, 2), theirs.substr(0, 2));  // "1\n"
  const Strings ourKeys = settings(ours), theirKeys = settings(theirs);
  ASSERT_FALSE(ourKeys.empty());
  EXPECT_EQ(ourKeys.back(), "done");
  auto next = theirKeys.begin();  // each of ours among theirs, in their order
  for (const std::string& key : ourKeys) {
    next = std::find(next, theirKeys.end(), key);
    ASSERT_NE(next, theirKeys.end()) << key << " out of place:\n" << Joined(ourKeys) << "\n" << Joined(theirKeys);
  }

  // Without \chk_vfo first (an older client): the rows alone.
  EXPECT_EQ(Ours(nullptr, "\\dump_state"), DumpStateText(false));
  EXPECT_EQ(settings(DumpStateText(false)), Strings{});
}

}  // namespace
