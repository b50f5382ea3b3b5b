#pragma once
// A USB device for tests without hardware: umockdev shows it to libusb as an
// attached device, and this class answers the device node's ioctls the way
// the kernel's usbfs does (claims, URB submit, reap and discard, halts),
// with a small scripted firmware behind the endpoints. umockdev runs the
// handler on its own thread; every member is safe to call from the test.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace fakeusb {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kBulk = 2;  // endpoint descriptor transfer types
constexpr std::uint8_t kInterrupt = 3;

struct EndpointLayout {
  std::uint8_t address = 0;
  std::uint8_t type = kBulk;
};

struct InterfaceLayout {
  std::uint8_t number = 0;
  std::vector<EndpointLayout> endpoints;
};

// One interface, number 0, with bulk endpoints 0x01 and 0x81.
std::vector<InterfaceLayout> RadioInterfaces();

// The radio as it appears on the bus: 04d8:000c with one interface holding
// bulk endpoints 0x01 and 0x81, 64-byte packets, on port `port` of bus 1.
struct DeviceLayout {
  std::uint16_t vendor = 0x04d8;
  std::uint16_t product = 0x000c;
  int port = 2;  // also the device number
  std::vector<InterfaceLayout> interfaces = RadioInterfaces();
};

// The device node, "/dev/bus/usb/001/002", its sysfs path, and the umockdev
// description.
std::string DeviceNode(const DeviceLayout& layout);
std::string SysPath(const DeviceLayout& layout);
std::string DescribeDevice(const DeviceLayout& layout);

class FakeUsbDevice {
public:
  // Answers a packet written to an OUT endpoint; the answer waits for the
  // next read of the matching IN endpoint. Nothing: the device stays silent.
  using Firmware = std::function<std::optional<Bytes>(std::uint8_t endpoint, const Bytes& packet)>;

  explicit FakeUsbDevice(DeviceLayout layout);
  ~FakeUsbDevice();
  FakeUsbDevice(const FakeUsbDevice&) = delete;
  FakeUsbDevice& operator=(const FakeUsbDevice&) = delete;

  const DeviceLayout& layout() const { return layout_; }
  UMockdevIoctlBase* handler() const { return handler_; }

  // The default firmware echoes every packet.
  void SetFirmware(Firmware firmware);
  // The endpoint halts: transfers on it fail with a stall until a clear.
  void Stall(std::uint8_t endpoint);
  // As if the cable were pulled: transfers in flight end as on a disconnect,
  // every later request fails with ENODEV.
  void Unplug();
  // Another program holds the interface.
  void ClaimElsewhere(int interface);
  // A kernel driver is bound to the interface.
  void BindKernelDriver(int interface, const std::string& name);

  std::vector<Bytes> Received(std::uint8_t endpoint) const;  // packets written, in order
  int Submits() const;                                       // URBs submitted, whatever became of them
  int PendingReads() const;                                  // IN URBs waiting for data
  int Claims(int interface) const;
  int Releases(int interface) const;
  bool Claimed(int interface) const;  // by the program under test
  std::vector<std::uint8_t> HaltsCleared() const;
  std::string KernelDriver(int interface) const;  // "" when none is bound
  std::vector<std::string> Unanswered() const;    // requests it did not know

private:
  struct Urb {
    UMockdevIoctlClient* client;
    UMockdevIoctlData* urb;     // owned reference
    UMockdevIoctlData* buffer;  // owned reference, or nullptr
  };

  static int OnIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
  void Handle(UMockdevIoctlClient* client);
  void Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
  void Reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
  void Discard(UMockdevIoctlClient* client, UMockdevIoctlData* arg);
  int Claim(UMockdevIoctlClient* client, int interface, bool detachDriver);
  int Release(UMockdevIoctlClient* client, int interface);
  struct EndpointPlace {
    int interface;
    std::uint8_t type;
  };
  // Where the layout has the endpoint; nothing when no interface does.
  std::optional<EndpointPlace> FindEndpoint(std::uint8_t address) const;
  void Finish(Urb urb, int status, int actualLength);
  void AnswerReads();
  void ReleaseUrb(Urb& urb);

  const DeviceLayout layout_;
  UMockdevIoctlBase* handler_;
  mutable std::mutex mutex_;
  Firmware firmware_;
  bool gone_ = false;
  std::map<std::uint8_t, bool> stalled_;
  std::map<int, const void*> claimedBy_;  // interface -> client, or the other program
  std::map<int, std::string> drivers_;    // bound kernel drivers
  std::map<int, std::string> detached_;   // drivers detached for a claim
  std::map<int, int> claims_, releases_;
  std::map<std::uint8_t, std::vector<Bytes>> received_;
  std::map<std::uint8_t, std::deque<Bytes>> answers_;  // per IN endpoint
  std::deque<Urb> pendingReads_;
  std::deque<Urb> done_;
  std::vector<std::uint8_t> haltsCleared_;
  std::vector<std::string> unanswered_;
  int submits_ = 0;
};

}  // namespace fakeusb
