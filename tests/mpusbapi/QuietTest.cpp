// The library writes nothing to the terminal, also when calls fail.

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/mpusbapi/UsbLibraryFixture.h"

using fakeusb::Bytes;

namespace {

// Sends standard output and standard error to a file while it lives.
class CapturedOutput {
public:
  explicit CapturedOutput(std::string path) : path_(std::move(path)) {
    std::fflush(stdout);
    std::fflush(stderr);
    savedOut_ = dup(1);
    savedErr_ = dup(2);
    const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, 1);
    dup2(file, 2);
    close(file);
  }
  ~CapturedOutput() { Restore(); }
  std::string Restore() {
    if (savedOut_ >= 0) {
      std::fflush(stdout);
      std::fflush(stderr);
      dup2(savedOut_, 1);
      dup2(savedErr_, 2);
      close(savedOut_);
      close(savedErr_);
      savedOut_ = savedErr_ = -1;
    }
    std::ifstream in(path_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

private:
  std::string path_;
  int savedOut_ = -1;
  int savedErr_ = -1;
};

}  // namespace

TEST_F(UsbLibraryTest, NothingIsPrintedWhenCallsFail) {
  unsetenv("LIBUSB_DEBUG");
  fakeusb::FakeUsbDevice& busy = bus.Plug();
  fakeusb::DeviceLayout secondLayout;
  secondLayout.port = 3;
  fakeusb::FakeUsbDevice& radio = bus.Plug(secondLayout);
  busy.ClaimElsewhere(0);
  radio.SetFirmware([](std::uint8_t, const Bytes&) { return Hex("01 02 03 04 05 06"); });

  CapturedOutput captured(::testing::TempDir() + "usb_quiet_" + std::to_string(getpid()) + ".txt");
  _MPUSBGetDeviceCount("vid_04d8&pid_000c");
  OpenPipe(0, 0);                            // busy
  OpenPipe(0, 0, "\\MCHP_EP9");              // no such endpoint
  OpenPipe(0, 0, "\\MCHP_EP1", "vid_nope");  // malformed
  void* out = OpenPipe(0, 1);
  void* in = OpenPipe(1, 1);
  Write(out, Hex("03 FF"));
  Read(in, 2);      // overflow
  Read(in, 2, 20);  // time-out
  radio.Stall(0x01);
  Write(out, Hex("03 FF"));  // stall
  radio.Unplug();
  Write(out, Hex("03 FF"));  // gone
  Read(in, 2);
  _MPUSBClose(out);
  _MPUSBClose(in);
  _MPUSBClose(in);  // already closed
  const std::string printed = captured.Restore();
  EXPECT_EQ(printed, "");
}
