// The whole chain without hardware: the panel's link loads libmpusbapi.so by
// name (LD_LIBRARY_PATH names the libusb library's directory), and the fake
// radio on the umockdev bus receives what the panel sends. The library keeps
// its libusb context for the life of the process, so each case needs a
// process of its own (ctest runs them so).

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <array>
#include <cstdint>
#include <future>
#include <string>

#include "panel/PanelState.h"
#include "panel/Unit1.h"
#include "platform/library.h"
#include "radio/LinkReport.h"
#include "radio/RadioLink.h"
#include "radio/RadioPackets.h"
#include "radio/RadioPresence.h"
#include "tests/mpusbapi/FakeUsbBus.h"
#include "tests/panel/FakePanelView.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/WithoutPermissionOverride.h"

using fakeusb::Bytes;
using testsupport::PumpUntil;
using testsupport::WaitUntil;

namespace {

// Replies of the lengths the senders expect: five bytes to the five-byte
// packets, one to the two-byte ones.
std::optional<Bytes> RadioFirmware(std::uint8_t, const Bytes& packet) {
  return packet.size() == 5 ? Bytes{packet[0], packet[1], 0, 0, 0} : Bytes{packet[0]};
}

std::optional<Bytes> Silent(std::uint8_t, const Bytes&) { return std::nullopt; }

bool LinkClosed() { return OutPipe == kPipeNotOpen && InPipe == kPipeNotOpen; }

class LinkChainTest : public ::testing::Test {
protected:
  void SetUp() override {
    static bool used = false;
    if (used) GTEST_SKIP() << "each case needs a process of its own; run them one at a time (ctest does)";
    used = true;
    ResetPanelState();
    radio = &bus.Plug();
    radio->SetFirmware(RadioFirmware);
  }
  void TearDown() override {
    ResetRadioLinkForTesting();
    ResetRadioPresenceForTesting();
  }

  // The file the link's library was loaded from.
  static std::string LibraryFile() {
    Dl_info info{};
    if (MpusbEntries.Open == nullptr || dladdr(reinterpret_cast<void*>(MpusbEntries.Open), &info) == 0) return "";
    return info.dli_fname != nullptr ? info.dli_fname : "";
  }

  fakeusb::FakeUsbBus bus;
  fakeusb::FakeUsbDevice* radio = nullptr;
};

}  // namespace

TEST_F(LinkChainTest, SetSendsTheFrequencyAndModePacketsToTheRadio) {
  FakePanelView view;
  TForm1 form(view, "/usr/local/bin/ravolin");
  OpenRadioLink();
  ASSERT_NE(OutPipe, kPipeNotOpen);
  ASSERT_NE(InPipe, kPipeNotOpen);
  EXPECT_NE(LibraryFile().find("mpusbapi/usb/libmpusbapi.so"), std::string::npos) << LibraryFile();

  view.SetEdit1Text("7050");
  ModeIsSsb = 1;
  form.Button15Click(nullptr);  // SET
  EXPECT_EQ(radio->Received(0x01),
            (std::vector<Bytes>{{0x01, 0x28, 0xD7, 0x7A, 0xB2}, {0x01, 0x29, 0xC0, 0x00, 0x00}}));
  EXPECT_EQ(EntryCount, 0);
  EXPECT_EQ(radio->PendingReads(), 0);  // both replies were read
  EXPECT_FALSE(LinkClosed());
}

// The cable pulled and the radio plugged in again while the panel runs on
// the message loop: the same pipes reach the new device, which gets the
// panel's state without a click.
TEST_F(LinkChainTest, UnplugKeepsBothPipesAndTheRadioPluggedInAgainGetsThePanelsState) {
  FakePanelView view;
  TForm1 form(view, "/usr/local/bin/ravolin");
  form.FormCreate(nullptr);
  void* const out = OutPipe;
  void* const in = InPipe;
  ASSERT_FALSE(LinkClosed());

  bus.Unplug(*radio);
  form.Button18Click(nullptr);  // ARX on: the radio is not connected
  EXPECT_TRUE(RadioAway());
  const int submits = radio->Submits();
  form.Button15Click(nullptr);  // dropped while it is away
  EXPECT_EQ(radio->Submits(), submits);

  fakeusb::DeviceLayout again;
  again.port = 3;
  fakeusb::FakeUsbDevice& back = bus.Plug(again);
  back.SetFirmware(RadioFirmware);
  ASSERT_TRUE(PumpUntil([&] { return back.Received(0x01).size() >= 4; }));
  EXPECT_EQ(
      back.Received(0x01),
      (std::vector<Bytes>{{0x02, 0x00}, {0x03, 0xFF}, {0x01, 0x28, 0xD7, 0x7A, 0xB2}, {0x01, 0x29, 0xC0, 0x00, 0x00}}));
  EXPECT_FALSE(RadioAway());
  EXPECT_EQ(OutPipe, out);
  EXPECT_EQ(InPipe, in);
}

TEST_F(LinkChainTest, UnplugDuringTheReadKeepsBothPipesAndTheNextExchangeFailsAtOnce) {
  radio->SetFirmware(Silent);
  OpenRadioLink();
  ASSERT_FALSE(LinkClosed());
  // The exchange runs here, as on the panel's thread; the cable goes while
  // its read waits, long before the read's time-out.
  auto unplug = std::async(std::launch::async, [this] {
    const bool waiting = WaitUntil([this] { return radio->PendingReads() == 1; });
    radio->Unplug();
    return waiting;
  });
  const std::uint8_t packet[5] = {0x01, 0x28, 0xD7, 0x7A, 0xB2};
  std::array<std::uint8_t, 64> reply{};
  std::uint32_t replyLength = 5;
  EXPECT_EQ(ExchangePacket(packet, 5, reply.data(), replyLength, 250, 60000), kExchangeFailed);
  EXPECT_TRUE(unplug.get());
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorDeviceNotConnected);
  EXPECT_FALSE(LinkClosed());

  const int submits = radio->Submits();
  EXPECT_EQ(ExchangePacket(packet, 5, reply.data(), replyLength, 60000, 60000), kExchangeFailed);
  EXPECT_EQ(platform::LastSystemError(), platform::kErrorDeviceNotConnected);
  EXPECT_EQ(radio->Submits(), submits);
}

TEST_F(LinkChainTest, TimeOutAndStallLeaveTheLinkOpen) {
  radio->SetFirmware(Silent);
  OpenRadioLink();
  SendArx();  // no reply: the read times out
  EXPECT_FALSE(LinkClosed());
  EXPECT_EQ(radio->PendingReads(), 0);

  radio->SetFirmware(RadioFirmware);
  radio->Stall(0x01);
  SendTenths(3);  // the write stalls
  EXPECT_FALSE(LinkClosed());
  EXPECT_EQ(radio->HaltsCleared(), std::vector<std::uint8_t>{0x01});

  SendTenths(4);
  EXPECT_EQ(radio->Received(0x01), (std::vector<Bytes>{{0x03, 0x00}, {0x02, 0x04}}));
}

// A node the user may not open: the start-up line names it and the rule.
TEST_F(LinkChainTest, NoPermissionOnTheNodeIsReportedWithTheUdevRule) {
  ASSERT_EQ(::chmod(bus.NodeFile(*radio).c_str(), 0), 0);
  {
    testsupport::WithoutPermissionOverride user;
    if (user.Failed()) GTEST_SKIP() << "root without a way to drop its file permission override";
    OpenRadioLink();
  }
  EXPECT_TRUE(LinkClosed());
  EXPECT_EQ(RadioLinkStarted.outPipeError, EACCES);
  const std::string line = DescribeRadioLink(GatherRadioLinkFacts());
  EXPECT_NE(line.find("(the USB radio through libusb): pipes not open: no permission on /dev/bus/usb/001/002; "
                      "the udev rule 70-ravolin-radio.rules"),
            std::string::npos)
      << line;
}

TEST_F(LinkChainTest, TheStartUpLineNamesTheLibraryAndBothPipesOpen) {
  OpenRadioLink();
  ASSERT_FALSE(LinkClosed());
  EXPECT_EQ(DescribeRadioLink(GatherRadioLinkFacts()),
            "ravolin: radio: " + LibraryFile() + " (the USB radio through libusb): both pipes open");
}
