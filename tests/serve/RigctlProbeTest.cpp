// The real clients, Debian's rigctl in its network model and Hamlib's own
// library through its Python binding, against the rig-control port as the
// program serves it: the socket layer's server on the message loop, the
// test's thread pumping while the client runs. What they print, and what
// the panel and the radio did.
#include <cstdio>
#include <fstream>

#include "net/TcpServer.h"
#include "serve/RigConnection.h"
#include "tests/serve/RigFixture.h"
#include "tests/support/BackgroundTask.h"
#include "tests/support/PumpUntil.h"

namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

// The rig-control protocol, keeping every byte its client sent.
class RecordedRigConnection : public RigConnection {
public:
  RecordedRigConnection(RigControl& rig, std::string& received) : RigConnection(rig), received_(received) {}
  void Received(ServerConnection& connection, std::string_view bytes) override {
    received_.append(bytes);
    RigConnection::Received(connection, bytes);
  }

private:
  std::string& received_;
};

class Rigctl : public RigTest {
protected:
  void SetUp() override {
    RigTest::SetUp();
    ASSERT_EQ(server.Listen(0x7F000001, 0), 0);
  }

  // Runs rigctl with the commands (each passed as one argument) while the
  // loop serves it; returns what it printed, stderr included, once the
  // connection has ended on both sides.
  std::string Run(std::initializer_list<std::string> commands) {
    std::string line = "rigctl -m 2 -r 127.0.0.1:" + std::to_string(server.Port());
    for (const std::string& command : commands) line += " '" + command + "'";
    return RunClient(line);
  }
  // The same for any client's command line.
  std::string RunClient(std::string line) {
    line += " 2>&1";
    std::string output;
    int status = -1;
    {
      testsupport::BackgroundTask client([&] {
        std::FILE* pipe = popen(line.c_str(), "r");
        if (pipe == nullptr) return;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        status = pclose(pipe);
      });
      EXPECT_TRUE(testsupport::PumpUntil([&] { return client.Done(); }, 30s)) << line;
    }
    EXPECT_EQ(status, 0) << line << "\n" << output;
    EXPECT_TRUE(testsupport::PumpUntil([&] { return server.Connections() == 0; })) << line;
    return output;
  }
  const std::string& Received() const { return received; }

  std::string received;
  TcpServer server{[this] { return std::make_unique<RecordedRigConnection>(rig, received); }, 8, {}};
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
  const std::string received = Received();
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
  EXPECT_NE(Received().find("\nF 200000000.000000\n"), std::string::npos);
  EXPECT_TRUE(Told().empty());
}

// Hamlib's library, as the programs that link it use it (the Python binding
// is a thin layer over it): open, the gets and sets, the VFO calls, close.
// Debian's binding is for Debian's own interpreter.
constexpr const char* kHamlibClient = R"(import sys
import Hamlib
Hamlib.rig_set_debug(Hamlib.RIG_DEBUG_NONE)
rig = Hamlib.Rig(Hamlib.RIG_MODEL_NETRIGCTL)
rig.set_conf("rig_pathname", "127.0.0.1:" + sys.argv[1])
rig.open()
print("open", rig.error_status)
print("freq", int(rig.get_freq()))
rig.set_freq(Hamlib.RIG_VFO_CURR, 14200300)
print("set_freq", rig.error_status, int(rig.get_freq()))
mode, width = rig.get_mode()
print("mode", Hamlib.rig_strrmode(mode), width)
rig.set_mode(Hamlib.RIG_MODE_AM)
print("set_mode AM", rig.error_status)
rig.set_mode(Hamlib.RIG_MODE_LSB, 2400)
print("set_mode LSB", rig.error_status)
print("vfo", Hamlib.rig_strvfo(rig.get_vfo()))
rig.set_vfo(Hamlib.RIG_VFO_B)
print("set_vfo B", rig.error_status)
print("ptt", rig.get_ptt())
rig.set_ptt(Hamlib.RIG_VFO_CURR, Hamlib.RIG_PTT_OFF)
print("ptt off", rig.error_status)
rig.set_ptt(Hamlib.RIG_VFO_CURR, Hamlib.RIG_PTT_ON)
print("ptt on", rig.error_status)
print("power", rig.get_powerstat())
rig.close()
print("close", rig.error_status)
)";

TEST_F(Rigctl, HamlibsLibraryTunesThePanelAndIsToldWhatTheRadioLacks) {
  std::ofstream("hamlib_client.py") << kHamlibClient;
  EXPECT_EQ(RunClient("/usr/bin/python3 hamlib_client.py " + std::to_string(server.Port())),
            "open 0\nfreq 7050000\nset_freq 0 14200300\nmode USB 2700\nset_mode AM 0\nset_mode LSB 0\nvfo VFOA\n"
            "set_vfo B -11\nptt 0\nptt off 0\nptt on -11\npower 1\nclose 0\n");
  EXPECT_EQ(Told().front(), "tenths 3");
  EXPECT_EQ(Tunings(), (Strings{"14200 kHz SSB", "14200 kHz AM", "14200 kHz SSB"}));
  const std::string sent = Received();
  for (const char* line : {"\\chk_vfo\n\\dump_state\n", "\nF 14200300.000000\n", "\nM LSB 2400\n", "\nV VFOB\n",
                           "\nT 0\n", "\nT 1\n", "\n\\get_powerstat\n"}) {
    EXPECT_NE(sent.find(line), std::string::npos) << line << "\n" << sent;
  }
}

TEST_F(Rigctl, ReadsTheSplitAndPttOfAReceiver) {
  EXPECT_EQ(Run({"s", "t", "T", "0"}), "0\nVFOA\n0\n");
  EXPECT_NE(Run({"T", "1"}).find("Feature not available"), std::string::npos);
  EXPECT_TRUE(Told().empty());
}

}  // namespace
