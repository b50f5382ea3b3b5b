// The start-up line about the radio: what the link found with the simulated
// radio loaded by name, each reason in words, and the radio's device node
// found through a sysfs tree made for the test.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "radio/LinkReport.h"
#include "radio/UsbDeviceNode.h"
#include "tests/radio/SimRadioFixture.h"

namespace {

using LinkReportTest = SimRadioTest;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

RadioLinkFacts LoadedWithPipesFailing(int outError, int inError) {
  RadioLinkFacts facts;
  facts.loaded = true;
  facts.libraryFile = "/usr/lib/ravolin/libmpusbapi.so";
  facts.libraryDescription = "the USB radio through libusb";
  facts.outPipeError = outError;
  facts.inPipeError = inError;
  return facts;
}

}  // namespace

TEST_F(LinkReportTest, NamesTheSimulatedRadioItsFileAndBothPipesOpen) {
  const RadioLinkFacts facts = GatherRadioLinkFacts();
  EXPECT_TRUE(facts.loaded);
  EXPECT_TRUE(std::filesystem::path(facts.libraryFile).is_absolute()) << facts.libraryFile;
  EXPECT_TRUE(Contains(facts.libraryFile, "mpusbapi")) << facts.libraryFile;
  EXPECT_TRUE(std::filesystem::exists(facts.libraryFile)) << facts.libraryFile;
  EXPECT_EQ(facts.libraryDescription, "the simulated radio");
  const std::string line = DescribeRadioLink(facts);
  EXPECT_EQ(line, "ravolin: radio: " + facts.libraryFile + " (the simulated radio): both pipes open");
  EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST_F(LinkReportTest, ARadioThatIsAbsentOrHalfThereIsSaidSo) {
  OpenWith({{"RAVOLIN_SIM_ABSENT", "1"}});
  RadioLinkFacts facts = GatherRadioLinkFacts();
  EXPECT_EQ(facts.outPipeError, ENODEV);
  EXPECT_EQ(facts.inPipeError, ENODEV);
  EXPECT_TRUE(Contains(DescribeRadioLink(facts),
                       "(the simulated radio): pipes not open: no radio attached (USB 04d8:000c); "
                       "the panel runs without a radio"))
      << DescribeRadioLink(facts);

  OpenWith({{"RAVOLIN_SIM_ABSENT", "in"}});
  facts = GatherRadioLinkFacts();
  EXPECT_EQ(facts.outPipeError, 0);
  EXPECT_TRUE(Contains(DescribeRadioLink(facts), ": write pipe open, read pipe not: no radio attached"))
      << DescribeRadioLink(facts);
}

TEST(LinkReportText, EachReasonInPlainWords) {
  RadioLinkFacts denied = LoadedWithPipesFailing(EACCES, EACCES);
  denied.radioNode = "/dev/bus/usb/003/012";
  const std::string line = DescribeRadioLink(denied);
  EXPECT_TRUE(Contains(line,
                       "/usr/lib/ravolin/libmpusbapi.so (the USB radio through libusb): pipes not open: "
                       "no permission on /dev/bus/usb/003/012; the udev rule 70-ravolin-radio.rules"))
      << line;
  denied.radioNode.reset();
  EXPECT_TRUE(Contains(DescribeRadioLink(denied), "no permission on the radio's node under /dev/bus/usb"));

  EXPECT_TRUE(Contains(DescribeRadioLink(LoadedWithPipesFailing(EBUSY, EBUSY)), "another program holds the radio"));
  EXPECT_TRUE(Contains(DescribeRadioLink(LoadedWithPipesFailing(0, 0)), "the library gave no reason"));
  EXPECT_TRUE(Contains(DescribeRadioLink(LoadedWithPipesFailing(EIO, EIO)), std::strerror(EIO)));
  // Different reasons for the two pipes: both are given.
  const std::string mixed = DescribeRadioLink(LoadedWithPipesFailing(ENODEV, EBUSY));
  EXPECT_TRUE(Contains(mixed,
                       "write pipe not open: no radio attached (USB 04d8:000c); read pipe not open: another "
                       "program holds the radio"))
      << mixed;

  RadioLinkFacts absent;
  absent.loadFailure = "libmpusbapi.so: cannot open shared object file: No such file or directory";
  EXPECT_EQ(DescribeRadioLink(absent),
            "ravolin: radio: no radio library found (libmpusbapi.so: cannot open shared object file: No such file or "
            "directory); the panel runs without a radio");

  RadioLinkFacts lacking = LoadedWithPipesFailing(0, 0);
  lacking.libraryDescription.clear();
  lacking.missingEntry = "_MPUSBClose";
  EXPECT_EQ(DescribeRadioLink(lacking),
            "ravolin: radio: /usr/lib/ravolin/libmpusbapi.so lacks _MPUSBClose; the panel runs without a radio");
}

TEST(UsbDeviceNode, FoundFromTheBusAndDeviceNumbersOfTheFirstMatchingDevice) {
  const auto root = std::filesystem::path(::testing::TempDir()) / "ravolin_sysfs_devices";
  std::filesystem::remove_all(root);
  auto device = [&root](const char* name, const char* vendor, const char* product, const char* bus,
                        const char* number) {
    const auto folder = root / name;
    std::filesystem::create_directories(folder);
    const std::pair<const char*, const char*> attributes[] = {
        {"idVendor", vendor}, {"idProduct", product}, {"busnum", bus}, {"devnum", number}};
    for (const auto& [attribute, value] : attributes)
      if (value != nullptr) std::ofstream(folder / attribute) << value << "\n";
  };
  device("1-1", "1d6b", "0002", "1", "1");                // a hub
  device("1-2", "04d8", "000c", "1", nullptr);            // half-described: skipped
  device("1-2:1.0", nullptr, nullptr, nullptr, nullptr);  // an interface, no identity
  device("3-4", "04d8", "000c", "3", "12");
  device("3-5", "04d8", "000c", "3", "13");  // a second radio comes later in order

  EXPECT_EQ(FindUsbDeviceNode(0x04d8, 0x000c, root.string()), "/dev/bus/usb/003/012");
  EXPECT_EQ(FindUsbDeviceNode(0x1d6b, 0x0002, root.string()), "/dev/bus/usb/001/001");
  EXPECT_EQ(FindUsbDeviceNode(0x04d8, 0x000d, root.string()), std::nullopt);
  EXPECT_EQ(FindUsbDeviceNode(0x04d8, 0x000c, (root / "nowhere").string()), std::nullopt);
  std::filesystem::remove_all(root);
}
