#include "radio/LinkReport.h"

#include <cerrno>
#include <cstring>

#include "radio/RadioLink.h"
#include "radio/UsbDeviceNode.h"

namespace {

constexpr std::uint16_t kRadioVendor = 0x04d8;
constexpr std::uint16_t kRadioProduct = 0x000c;
constexpr const char* kWithoutRadio = "; the panel runs without a radio";

using DescribeFn = const char* (*)();

std::string WhyNotOpen(int error, const std::optional<std::string>& node) {
  switch (error) {
    case 0: return "the library gave no reason";
    case ENODEV:
    case ENOENT: return "no radio attached (USB 04d8:000c)";
    case EACCES:
    case EPERM:
      return "no permission on " + node.value_or("the radio's node under /dev/bus/usb") +
             "; the udev rule 70-ravolin-radio.rules (in /usr/lib/udev/rules.d from the package) gives it "
             "to the user at the seat: install the rule, then plug the radio in again";
    case EBUSY: return "another program holds the radio";
    default: return std::strerror(error);
  }
}

std::string NameOf(const RadioLinkFacts& facts) {
  std::string name = facts.libraryFile.empty() ? "libmpusbapi" : facts.libraryFile;
  if (!facts.libraryDescription.empty()) name += " (" + facts.libraryDescription + ")";
  return name;
}

}  // namespace

RadioLinkFacts GatherRadioLinkFacts() {
  RadioLinkFacts facts;
  facts.loaded = MpusbLibrary != nullptr;
  facts.loadFailure = RadioLinkStarted.loadFailure;
  facts.libraryFile = platform::ModulePath(MpusbLibrary);
  if (auto describe = reinterpret_cast<DescribeFn>(platform::FindSymbol(MpusbLibrary, "ravolin_mpusb_describe"))) {
    const char* text = describe();
    if (text != nullptr) facts.libraryDescription = text;
  }
  facts.missingEntry = RadioLinkStarted.missingEntry;
  facts.outPipeOpen = OutPipe != kPipeNotOpen;
  facts.inPipeOpen = InPipe != kPipeNotOpen;
  facts.outPipeError = RadioLinkStarted.outPipeError;
  facts.inPipeError = RadioLinkStarted.inPipeError;
  if (!facts.outPipeOpen || !facts.inPipeOpen) facts.radioNode = FindUsbDeviceNode(kRadioVendor, kRadioProduct);
  return facts;
}

std::string DescribeRadioLink(const RadioLinkFacts& facts) {
  const std::string head = "ravolin: radio: ";
  if (!facts.loaded) {
    return head + "no radio library found (" +
           (facts.loadFailure.empty() ? std::string("libmpusbapi") : facts.loadFailure) + ")" + kWithoutRadio;
  }
  if (facts.missingEntry != nullptr) return head + NameOf(facts) + " lacks " + facts.missingEntry + kWithoutRadio;
  if (facts.outPipeOpen && facts.inPipeOpen) return head + NameOf(facts) + ": both pipes open";

  std::string line = head + NameOf(facts) + ": ";
  if (!facts.outPipeOpen && !facts.inPipeOpen && facts.outPipeError == facts.inPipeError) {
    line += "pipes not open: " + WhyNotOpen(facts.outPipeError, facts.radioNode);
  } else if (!facts.outPipeOpen && !facts.inPipeOpen) {
    line += "write pipe not open: " + WhyNotOpen(facts.outPipeError, facts.radioNode) +
            "; read pipe not open: " + WhyNotOpen(facts.inPipeError, facts.radioNode);
  } else if (!facts.outPipeOpen) {
    line += "read pipe open, write pipe not: " + WhyNotOpen(facts.outPipeError, facts.radioNode);
  } else {
    line += "write pipe open, read pipe not: " + WhyNotOpen(facts.inPipeError, facts.radioNode);
  }
  return line + kWithoutRadio;
}
