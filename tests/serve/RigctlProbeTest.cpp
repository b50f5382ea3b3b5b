// The real client, Debian's rigctl in its network model, against the
// rig-control protocol served over loopback: what it prints, and what the
// panel and the radio did.
#include <cstdio>

#include "tests/serve/BlockingRigServer.h"
#include "tests/serve/RigFixture.h"
#include "tests/support/WaitUntil.h"

namespace {

using Strings = std::vector<std::string>;

class Rigctl : public RigTest {
protected:
  // Runs rigctl with the commands (each passed as one argument); returns
  // what it printed, stderr included, once the connection has ended.
  std::string Run(std::initializer_list<std::string> commands) {
    std::string line = "rigctl -m 2 -r 127.0.0.1:" + std::to_string(server.Port());
    for (const std::string& command : commands) line += " '" + command + "'";
    line += " 2>&1";
    const int before = server.Finished();
    std::FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) ADD_FAILURE() << "cannot run " << line;
    std::string output;
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    if (pipe != nullptr) {
      EXPECT_EQ(pclose(pipe), 0) << line << "\n" << output;
    }
    EXPECT_TRUE(testsupport::WaitUntil([&] { return server.Finished() > before; })) << line;
    return output;
  }

  BlockingRigServer server{rig};
};

TEST_F(Rigctl, ReadsAndSetsFrequencyAndMode) {
  EXPECT_EQ(Run({"f"}), "7050000\n");
  EXPECT_EQ(Run({"F", "14200300"}), "");
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "3");
  EXPECT_EQ(Told().front(), "tenths 3");
  EXPECT_EQ(Tunings(), Strings{"14200 kHz SSB"});
  EXPECT_EQ(Run({"m"}), "USB\n2700\n");

  EXPECT_EQ(Run({"M", "AM", "0"}), "");
  EXPECT_EQ(ModeIsSsb, 0);
  EXPECT_EQ(Run({"M", "USB", "2400"}), "");
  EXPECT_EQ(ModeIsSsb, 1);
  EXPECT_EQ(Tunings(), (Strings{"14200 kHz SSB", "14200 kHz AM", "14200 kHz SSB"}));
  EXPECT_EQ(Run({"f", "m"}), "14200300\nUSB\n2700\n");

  // The client sends F with a fraction, and checks the lock before M.
  const std::string received = server.Received();
  EXPECT_NE(received.find("\nF 14200300.000000\n"), std::string::npos);
  EXPECT_NE(received.find("\n\\get_lock_mode\nM AM 0\n"), std::string::npos);
}

// The client keeps what \dump_state told it at connection: its own dump of
// the radio's capabilities ("1", the short form of \dump_caps) shows it.
TEST_F(Rigctl, TakesTheCapabilityBlockAndReportsARefusal) {
  const std::string caps = Run({"1"});
  for (const char* row : {"Mode list: AM USB LSB \n", "VFO list: VFOA \n", "\tAM\tNormal: 6.0000 kHz,",
                          "\tUSB\tNormal: 2.7000 kHz,", "\tLSB\tNormal: 2.7000 kHz,"}) {
    EXPECT_NE(caps.find(row), std::string::npos) << row << "\n" << caps;
  }
  const std::string refused = Run({"F", "200000000"});
  EXPECT_NE(refused.find("\nInvalid parameter\n"), std::string::npos) << refused;
  EXPECT_NE(server.Received().find("\nF 200000000.000000\n"), std::string::npos);
  EXPECT_TRUE(Told().empty());
}

}  // namespace
