#include "radio/RadioLink.h"

#include <cerrno>
#include <type_traits>

#include "mpusbapi/mpusbapi.h"

namespace {

constexpr const char* kLibraryName = "mpusbapi";
constexpr std::uint32_t kFirstDevice = 0;
constexpr const char* kDeviceIdentity = "vid_04d8&pid_000c";
constexpr const char* kEndpoint = "\\MCHP_EP1";
constexpr std::uint32_t kReserved = 0;

// The pointer types are the library's own declarations, calling convention
// included: a mismatch on 32-bit Windows would unbalance the stack at every
// call instead of failing to build.
static_assert(std::is_same_v<MpusbEntryPoints::GetDllVersionFn, decltype(&_MPUSBGetDLLVersion)>);
static_assert(std::is_same_v<MpusbEntryPoints::GetDeviceCountFn, decltype(&_MPUSBGetDeviceCount)>);
static_assert(std::is_same_v<MpusbEntryPoints::OpenFn, decltype(&_MPUSBOpen)>);
static_assert(std::is_same_v<MpusbEntryPoints::WriteFn, decltype(&_MPUSBWrite)>);
static_assert(std::is_same_v<MpusbEntryPoints::TransferFn, decltype(&_MPUSBRead)>);
static_assert(std::is_same_v<MpusbEntryPoints::TransferFn, decltype(&_MPUSBReadInt)>);
static_assert(std::is_same_v<MpusbEntryPoints::CloseFn, decltype(&_MPUSBClose)>);

template <typename Fn>
Fn Lookup(const char* name) {
  return reinterpret_cast<Fn>(platform::FindSymbol(MpusbLibrary, name));
}

void LookUpEntryPoints() {
  MpusbEntries.GetDLLVersion = Lookup<MpusbEntryPoints::GetDllVersionFn>("_MPUSBGetDLLVersion");
  MpusbEntries.GetDeviceCount = Lookup<MpusbEntryPoints::GetDeviceCountFn>("_MPUSBGetDeviceCount");
  MpusbEntries.Open = Lookup<MpusbEntryPoints::OpenFn>("_MPUSBOpen");
  MpusbEntries.Write = Lookup<MpusbEntryPoints::WriteFn>("_MPUSBWrite");
  MpusbEntries.Read = Lookup<MpusbEntryPoints::TransferFn>("_MPUSBRead");
  MpusbEntries.ReadInt = Lookup<MpusbEntryPoints::TransferFn>("_MPUSBReadInt");
  MpusbEntries.Close = Lookup<MpusbEntryPoints::CloseFn>("_MPUSBClose");
}

// The first of the four the link calls that the library lacks; without any
// of them the link stays away from the library.
const char* MissingLinkEntry() {
  if (MpusbEntries.Open == nullptr) return "_MPUSBOpen";
  if (MpusbEntries.Write == nullptr) return "_MPUSBWrite";
  if (MpusbEntries.Read == nullptr) return "_MPUSBRead";
  if (MpusbEntries.Close == nullptr) return "_MPUSBClose";
  return nullptr;
}

// errno after an open that failed, for the start-up report.
int OpenFailure(void* pipe) { return pipe == kPipeNotOpen ? errno : 0; }

bool PipesOpen() { return OutPipe != kPipeNotOpen && InPipe != kPipeNotOpen; }

}  // namespace

platform::ModuleHandle MpusbLibrary = nullptr;
MpusbEntryPoints MpusbEntries;
RadioLinkStart RadioLinkStarted;
void* OutPipe = kPipeNotOpen;
void* InPipe = kPipeNotOpen;

void OpenRadioLink() {
  MpusbLibrary = nullptr;
  MpusbEntries = MpusbEntryPoints{};
  OutPipe = kPipeNotOpen;
  InPipe = kPipeNotOpen;
  RadioLinkStarted = RadioLinkStart{};

  MpusbLibrary = platform::LoadModule(kLibraryName);
  if (MpusbLibrary == nullptr) {
    RadioLinkStarted.loadFailure = platform::LastLoadFailure();
    return;
  }
  LookUpEntryPoints();
  RadioLinkStarted.missingEntry = MissingLinkEntry();
  if (RadioLinkStarted.missingEntry != nullptr) return;

  errno = 0;
  OutPipe = MpusbEntries.Open(kFirstDevice, kDeviceIdentity, kEndpoint, MPUSB_WRITE_DIRECTION, kReserved);
  RadioLinkStarted.outPipeError = OpenFailure(OutPipe);
  errno = 0;
  InPipe = MpusbEntries.Open(kFirstDevice, kDeviceIdentity, kEndpoint, MPUSB_READ_DIRECTION, kReserved);
  RadioLinkStarted.inPipeError = OpenFailure(InPipe);
}

std::int32_t ExchangePacket(const std::uint8_t* packet, std::uint32_t packetLength, std::uint8_t* reply,
                            std::uint32_t& replyLength, std::uint32_t sendTimeoutMs, std::uint32_t receiveTimeoutMs) {
  const std::uint32_t expected = replyLength;
  if (!PipesOpen()) return kExchangeFailed;

  std::uint32_t written = 0;  // the library reports it; nothing depends on it
  if (MpusbEntries.Write(OutPipe, packet, packetLength, &written, sendTimeoutMs) == 0) {
    HandleUsbFailure();
    return kExchangeFailed;
  }
  if (MpusbEntries.Read(InPipe, reply, expected, &replyLength, receiveTimeoutMs) == 0) {
    HandleUsbFailure();
    return kExchangeFailed;
  }
  if (replyLength == expected) return kExchangeComplete;
  if (replyLength < expected) return kExchangeShort;
  return kExchangeFailed;
}

void HandleUsbFailure() {
  if (platform::LastSystemError() != platform::kErrorInvalidHandle) return;
  MpusbEntries.Close(OutPipe);
  MpusbEntries.Close(InPipe);
  OutPipe = kPipeNotOpen;
  InPipe = kPipeNotOpen;
}

void ResetRadioLinkForTesting() {
  if (MpusbEntries.Close != nullptr) {
    if (OutPipe != kPipeNotOpen) MpusbEntries.Close(OutPipe);
    if (InPipe != kPipeNotOpen) MpusbEntries.Close(InPipe);
  }
  MpusbLibrary = nullptr;
  MpusbEntries = MpusbEntryPoints{};
  RadioLinkStarted = RadioLinkStart{};
  OutPipe = kPipeNotOpen;
  InPipe = kPipeNotOpen;
}
