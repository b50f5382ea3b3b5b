#pragma once
// The link to the radio: the USB access library "mpusbapi", loaded by name at
// start, and its two bulk pipes, OutPipe for packets and InPipe for replies.
// The link never raises and never shows anything; it answers with result
// codes that its callers are free to ignore.

#include <cstdint>
#include <string>

#include "mpusbapi/mpusbapi.h"
#include "platform/library.h"

// The library's entry points, in the order they are looked up. An entry the
// library does not export stays nullptr. The calling convention is the
// library header's (RadioLink.cpp checks each type against it).
struct MpusbEntryPoints {
  using GetDllVersionFn = std::uint32_t(MPUSB_CALL*)();
  using GetDeviceCountFn = std::uint32_t(MPUSB_CALL*)(const char* vid_pid);
  using OpenFn = void*(MPUSB_CALL*)(std::uint32_t instance, const char* vid_pid, const char* endpoint,
                                    std::uint32_t direction, std::uint32_t reserved);
  using TransferFn = std::uint32_t(MPUSB_CALL*)(void* pipe, void* data, std::uint32_t length,
                                                std::uint32_t* transferred, std::uint32_t timeout_ms);
  using WriteFn = std::uint32_t(MPUSB_CALL*)(void* pipe, const void* data, std::uint32_t length, std::uint32_t* written,
                                             std::uint32_t timeout_ms);
  using CloseFn = std::uint32_t(MPUSB_CALL*)(void* pipe);

  GetDllVersionFn GetDLLVersion = nullptr;
  GetDeviceCountFn GetDeviceCount = nullptr;
  OpenFn Open = nullptr;
  WriteFn Write = nullptr;
  TransferFn Read = nullptr;
  TransferFn ReadInt = nullptr;
  CloseFn Close = nullptr;
};

// A pipe handle that is not open.
inline void* const kPipeNotOpen = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));

// The link's program-wide state, alive for the whole run.
extern platform::ModuleHandle MpusbLibrary;  // never released
extern MpusbEntryPoints MpusbEntries;
extern void* OutPipe;  // write pipe, kPipeNotOpen when not open
extern void* InPipe;   // read pipe, kPipeNotOpen when not open

// What OpenRadioLink met on its way, kept for the start-up report only: the
// link itself never reads it. Error numbers are errno as the library left it
// right after the failed open; 0 where the step was not reached or worked.
struct RadioLinkStart {
  std::string loadFailure;             // why the library did not load
  const char* missingEntry = nullptr;  // the first entry the link calls that the library lacks
  int outPipeError = 0;
  int inPipeError = 0;
};
extern RadioLinkStart RadioLinkStarted;

// Exchange results.
constexpr std::int32_t kExchangeFailed = 0;
constexpr std::int32_t kExchangeComplete = 1;
constexpr std::int32_t kExchangeShort = 2;

// Loads the library and opens both pipes to the first radio. Called once at
// start; a radio that is absent, or a library that is missing or incomplete,
// leaves both pipes not open.
void OpenRadioLink();

// Writes one packet to OutPipe and reads a reply of replyLength bytes from
// InPipe. replyLength is the expected count on entry and the count received
// after a read. Returns kExchangeComplete for exactly the expected count,
// kExchangeShort for fewer, kExchangeFailed for a failure, more bytes than
// expected, or a link that is not open (then the library is not called).
std::int32_t ExchangePacket(const std::uint8_t* packet, std::uint32_t packetLength, std::uint8_t* reply,
                            std::uint32_t& replyLength, std::uint32_t sendTimeoutMs, std::uint32_t receiveTimeoutMs);

// After a failed write or read: an invalid handle (the radio is gone) closes
// OutPipe, then InPipe, for good; any other error leaves both open.
void HandleUsbFailure();

// Tests only: closes any pipe still open and returns the link to its state
// before OpenRadioLink, so that one test process can open it again.
void ResetRadioLinkForTesting();
