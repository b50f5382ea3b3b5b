#pragma once
// Tests of the libusb library's entry points against fake devices. Each test
// plugs its devices in before its first call; the library starts afresh
// after each test.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mpusbapi/mpusbapi.h"
#include "tests/mpusbapi/FakeUsbBus.h"

class UsbLibraryTest : public ::testing::Test {
protected:
  void TearDown() override;

  struct Outcome {
    std::uint32_t result;  // what the call returned
    std::uint32_t count;   // the count it stored
    int error;             // errno after it, 0 when it succeeded
    fakeusb::Bytes bytes;  // what a read received
  };

  static void* OpenPipe(std::uint32_t direction, std::uint32_t instance = 0, const char* endpoint = "\\MCHP_EP1",
                        const char* identity = "vid_04d8&pid_000c");
  static Outcome Write(void* pipe, const fakeusb::Bytes& bytes, std::uint32_t timeoutMs = 250);
  static Outcome Read(void* pipe, std::uint32_t length, std::uint32_t timeoutMs = 250);

  fakeusb::FakeUsbBus bus;
};

// Bytes written as "01 28 D7 7A B2".
fakeusb::Bytes Hex(const std::string& text);

// The radio's layout on another port of the bus.
fakeusb::DeviceLayout OnPort(int port);
