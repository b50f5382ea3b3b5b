// The link with a library that is missing or lacks entry points. Each case
// runs in its own process, with LD_LIBRARY_PATH naming the library it needs
// (see CMakeLists.txt).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "panel/PanelState.h"
#include "radio/LinkReport.h"
#include "radio/RadioLink.h"
#include "radio/RadioPackets.h"

namespace {

std::int32_t ExchangeArx(std::uint32_t& replyLength) {
  const std::uint8_t packet[2] = {0x03, 0xFF};
  std::array<std::uint8_t, 64> reply{};
  return ExchangePacket(packet, 2, reply.data(), replyLength, 250, 250);
}

void ExpectBehavesAsWithoutARadio() {
  EXPECT_EQ(OutPipe, kPipeNotOpen);
  EXPECT_EQ(InPipe, kPipeNotOpen);
  std::uint32_t replyLength = 1;
  EXPECT_EQ(ExchangeArx(replyLength), kExchangeFailed);
  EXPECT_EQ(replyLength, 1u);
  EntryCount = 2;
  SendFrequency("7050");
  SendArx();
  SendTenths(4);
  EXPECT_EQ(EntryCount, 0);
}

}  // namespace

// The library's entry points all abort, so any call into it ends the test.
TEST(IncompleteLibrary, LackingCloseIsNeverCalledInto) {
  OpenRadioLink();
  ASSERT_NE(MpusbLibrary, nullptr);
  EXPECT_NE(MpusbEntries.Open, nullptr);
  EXPECT_NE(MpusbEntries.Write, nullptr);
  EXPECT_NE(MpusbEntries.Read, nullptr);
  EXPECT_EQ(MpusbEntries.Close, nullptr);
  ExpectBehavesAsWithoutARadio();
  const std::string line = DescribeRadioLink(GatherRadioLinkFacts());
  EXPECT_NE(line.find(" lacks _MPUSBClose; the panel runs without a radio"), std::string::npos) << line;
}

TEST(IncompleteLibrary, LackingOnlyAnUnusedEntryPointStillOpens) {
  OpenRadioLink();
  ASSERT_NE(MpusbLibrary, nullptr);
  EXPECT_EQ(MpusbEntries.ReadInt, nullptr);
  EXPECT_NE(OutPipe, kPipeNotOpen);
  EXPECT_NE(InPipe, kPipeNotOpen);
  std::uint32_t replyLength = 1;
  EXPECT_EQ(ExchangeArx(replyLength), kExchangeComplete);
}

// No libmpusbapi.so on the search path, although the build has one: the link
// looks only where the loader looks.
TEST(IncompleteLibrary, NoLibraryLeavesTheLinkNotOpen) {
  OpenRadioLink();
  EXPECT_EQ(MpusbLibrary, nullptr);
  EXPECT_EQ(MpusbEntries.Open, nullptr);
  ExpectBehavesAsWithoutARadio();
  const std::string line = DescribeRadioLink(GatherRadioLinkFacts());
  EXPECT_EQ(line.rfind("ravolin: radio: no radio library found (", 0), 0u) << line;
#if !defined(_WIN32)
  EXPECT_NE(line.find("libmpusbapi.so: cannot open shared object file"), std::string::npos)
      << line;  // the loader's words
#endif
}
