#include "mpusbapi/usb/PipeTable.h"

#include <libusb.h>
#include <cerrno>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "mpusbapi/mpusbapi.h"
#include "mpusbapi/usb/UsbErrors.h"

namespace mpusb {

namespace {

// What a handle names: the device and endpoint it was opened to, and the
// route there while the device is attached.
struct Pipe {
  DeviceIdentity identity;
  std::uint32_t instance;
  std::uint8_t address;  // n for OUT, 0x80 | n for IN
  PipeRoute route;       // no device while it is away

  // An IN endpoint's address has the top bit set.
  std::uint32_t direction() const { return (address & 0x80) ? MPUSB_READ_DIRECTION : MPUSB_WRITE_DIRECTION; }
};

struct Table {
  std::mutex mutex;
  std::uintptr_t lastHandle = 0;
  std::map<std::uintptr_t, Pipe> pipes;
  std::vector<std::weak_ptr<OpenDevice>> devices;  // open handles, for sharing
};

Table& TheTable() {
  static Table* table = new Table;  // never destroyed: calls may come during exit
  return *table;
}

void* Fail(int error) {
  errno = error;
  return MPUSB_INVALID_HANDLE;
}

// The device's open handle if a pipe already uses it, else a new one. A
// handle whose device went away is never shared again.
std::shared_ptr<OpenDevice> SharedHandle(Table& table, libusb_device* device, int& rc) {
  rc = 0;
  std::erase_if(table.devices, [](const std::weak_ptr<OpenDevice>& d) { return d.expired(); });
  for (const auto& weak : table.devices)
    if (auto open = weak.lock(); open && !open->Gone() && open->device() == device) return open;
  auto open = OpenDevice::Open(device, rc);
  if (open) table.devices.push_back(open);
  return open;
}

// Finds the pipe's device on the bus, opens it (or shares its handle) and
// claims the interface of the pipe's endpoint. Returns 0 or an errno value.
int Reach(Table& table, const Pipe& pipe, PipeRoute& route) {
  const auto devices = MatchingDevices::List(pipe.identity);
  if (!devices) return errno;
  if (pipe.instance >= devices->size()) return ENODEV;
  libusb_device* device = devices->at(pipe.instance);

  EndpointInfo endpoint;
  if (const int rc = FindEndpoint(device, pipe.address, endpoint); rc != 0)
    return rc == LIBUSB_ERROR_NOT_FOUND ? ENXIO : ErrnoFromLibusb(rc);
  int rc = 0;
  auto open = SharedHandle(table, device, rc);
  if (!open) return ErrnoFromLibusb(rc);
  if (rc = open->Claim(endpoint.interfaceNumber, endpoint.altSetting); rc != 0) return ErrnoFromLibusb(rc);
  route = PipeRoute{std::move(open), endpoint};
  return 0;
}

}  // namespace

void* OpenPipe(std::uint32_t instance, const char* identityText, const char* endpointText, std::uint32_t direction) {
  const auto number = ParseEndpointNumber(endpointText);
  if (!number || (direction != MPUSB_WRITE_DIRECTION && direction != MPUSB_READ_DIRECTION)) return Fail(EINVAL);
  const auto identity = ParseDeviceIdentity(identityText);
  if (!identity) return Fail(EINVAL);

  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  Pipe pipe{*identity,
            instance,
            static_cast<std::uint8_t>(direction == MPUSB_READ_DIRECTION ? (0x80 | *number) : *number),
            {}};
  if (const int error = Reach(table, pipe, pipe.route); error != 0) return Fail(error);
  const std::uintptr_t id = ++table.lastHandle;
  table.pipes.emplace(id, std::move(pipe));
  return reinterpret_cast<void*>(id);
}

int RoutePipe(void* handle, std::uint32_t direction, PipeRoute& route) {
  PipeRoute stale;  // let go outside the lock
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto found = table.pipes.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.pipes.end() || found->second.direction() != direction) return EBADF;
  Pipe& pipe = found->second;
  if (pipe.route.device == nullptr || pipe.route.device->Gone()) {
    stale = std::exchange(pipe.route, {});
    if (const int error = Reach(table, pipe, pipe.route); error != 0) return error;
  }
  route = pipe.route;
  return 0;
}

bool ClosePipe(void* handle) {
  PipeRoute closing;  // let go outside the lock
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto found = table.pipes.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.pipes.end()) return false;
  closing = std::move(found->second.route);
  table.pipes.erase(found);
  return true;
}

void CloseAllPipesForTesting() {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  table.pipes.clear();
  table.devices.clear();
}

}  // namespace mpusb
