#include "mpusbapi/usb/PipeTable.h"

#include <libusb.h>
#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "mpusbapi/mpusbapi.h"
#include "mpusbapi/usb/UsbErrors.h"

namespace mpusb {

namespace {

struct Table {
  std::mutex mutex;
  std::uintptr_t lastHandle = 0;
  std::map<std::uintptr_t, std::shared_ptr<const Pipe>> pipes;
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

void* FailUsb(int rc) { return Fail(ErrnoFromLibusb(rc)); }

// The device's open handle if a pipe already uses it, else a new one.
std::shared_ptr<OpenDevice> SharedHandle(Table& table, libusb_device* device, int& rc) {
  rc = 0;
  std::erase_if(table.devices, [](const std::weak_ptr<OpenDevice>& d) { return d.expired(); });
  for (const auto& weak : table.devices)
    if (auto open = weak.lock(); open && open->device() == device) return open;
  auto open = OpenDevice::Open(device, rc);
  if (open) table.devices.push_back(open);
  return open;
}

}  // namespace

void* OpenPipe(std::uint32_t instance, const char* identityText, const char* endpointText, std::uint32_t direction) {
  const auto number = ParseEndpointNumber(endpointText);
  if (!number || (direction != MPUSB_WRITE_DIRECTION && direction != MPUSB_READ_DIRECTION)) return Fail(EINVAL);

  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto devices = MatchingDevices::List(identityText);
  if (!devices) return MPUSB_INVALID_HANDLE;  // errno is set
  if (instance >= devices->size()) return Fail(ENODEV);
  libusb_device* device = devices->at(instance);

  const auto address = static_cast<std::uint8_t>(direction == MPUSB_READ_DIRECTION ? (0x80 | *number) : *number);
  EndpointInfo endpoint;
  if (const int rc = FindEndpoint(device, address, endpoint); rc != 0)
    return rc == LIBUSB_ERROR_NOT_FOUND ? Fail(ENXIO) : FailUsb(rc);

  int rc = 0;
  auto open = SharedHandle(table, device, rc);
  if (!open) return FailUsb(rc);
  if (rc = open->Claim(endpoint.interfaceNumber, endpoint.altSetting); rc != 0) return FailUsb(rc);

  const std::uintptr_t id = ++table.lastHandle;
  table.pipes.emplace(id, std::make_shared<const Pipe>(Pipe{std::move(open), endpoint}));
  return reinterpret_cast<void*>(id);
}

std::shared_ptr<const Pipe> FindPipe(void* handle, std::uint32_t direction) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto found = table.pipes.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.pipes.end() || found->second->direction() != direction) return nullptr;
  return found->second;
}

bool ClosePipe(void* handle) {
  std::shared_ptr<const Pipe> closing;  // let go outside the lock
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  const auto found = table.pipes.find(reinterpret_cast<std::uintptr_t>(handle));
  if (found == table.pipes.end()) return false;
  closing = std::move(found->second);
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
