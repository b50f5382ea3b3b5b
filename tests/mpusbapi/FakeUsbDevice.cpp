#include "tests/mpusbapi/FakeUsbDevice.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace fakeusb {

namespace {

const char kOtherProgram = 0;  // the owner of a claim held elsewhere

// A reference on a block of the client's memory, let go at scope end.
struct Data {
  UMockdevIoctlData* block = nullptr;
  explicit Data(UMockdevIoctlData* b) : block(b) {}
  ~Data() {
    if (block != nullptr) g_object_unref(block);
  }
  Data(const Data&) = delete;
  Data& operator=(const Data&) = delete;
  template <typename T>
  T* as() const {
    return reinterpret_cast<T*>(block->data);
  }
};

// The client memory at a pointer stored at offset in parent; nullptr when it
// can't be read.
UMockdevIoctlData* Resolve(UMockdevIoctlData* parent, std::size_t offset, std::size_t length) {
  GError* error = nullptr;
  UMockdevIoctlData* block = umockdev_ioctl_data_resolve(parent, offset, length, &error);
  if (error != nullptr) {
    g_error_free(error);
    return nullptr;
  }
  return block;
}

usbdevfs_urb* UrbOf(UMockdevIoctlData* block) { return reinterpret_cast<usbdevfs_urb*>(block->data); }

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char two[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(two, sizeof two, "%02x", b);
    text += two;
  }
  return text;
}

}  // namespace

std::vector<InterfaceLayout> RadioInterfaces() {
  InterfaceLayout interface;
  interface.endpoints.push_back(EndpointLayout{0x01, kBulk});
  interface.endpoints.push_back(EndpointLayout{0x81, kBulk});
  return {interface};
}

std::string DeviceNode(const DeviceLayout& layout) {
  char node[32];
  std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", layout.port);
  return node;
}

std::string SysPath(const DeviceLayout& layout) {
  return "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(layout.port);
}

std::string DescribeDevice(const DeviceLayout& layout) {
  std::vector<std::uint8_t> interfaces;
  for (const InterfaceLayout& interface : layout.interfaces) {
    const auto count = static_cast<std::uint8_t>(interface.endpoints.size());
    interfaces.insert(interfaces.end(), {9, 4, interface.number, 0, count, 0xff, 0, 0, 0});
    for (const EndpointLayout& e : interface.endpoints)
      interfaces.insert(interfaces.end(), {7, 5, e.address, e.type, 64, 0, std::uint8_t(e.type == kInterrupt ? 1 : 0)});
  }
  const auto total = static_cast<std::uint16_t>(9 + interfaces.size());
  std::vector<std::uint8_t> descriptors = {18,
                                           1,
                                           0x00,
                                           0x02,
                                           0,
                                           0,
                                           0,
                                           64,
                                           std::uint8_t(layout.vendor & 0xff),
                                           std::uint8_t(layout.vendor >> 8),
                                           std::uint8_t(layout.product & 0xff),
                                           std::uint8_t(layout.product >> 8),
                                           0x00,
                                           0x01,
                                           0,
                                           0,
                                           0,
                                           1,
                                           9,
                                           2,
                                           std::uint8_t(total & 0xff),
                                           std::uint8_t(total >> 8),
                                           std::uint8_t(layout.interfaces.size()),
                                           1,
                                           0,
                                           0x80,
                                           50};
  descriptors.insert(descriptors.end(), interfaces.begin(), interfaces.end());

  char text[1024];
  std::snprintf(text, sizeof text,
                "P: %s\n"
                "N: bus/usb/001/%03d\n"
                "E: SUBSYSTEM=usb\n"
                "E: DEVTYPE=usb_device\n"
                "E: DEVNAME=%s\n"
                "E: BUSNUM=001\n"
                "E: DEVNUM=%03d\n"
                "A: busnum=1\\n\n"
                "A: devnum=%d\\n\n"
                "A: speed=12\\n\n"
                "A: idVendor=%04x\\n\n"
                "A: idProduct=%04x\\n\n"
                "A: bConfigurationValue=1\\n\n"
                "A: bNumConfigurations=1\\n\n"
                "A: bNumInterfaces= %zu\\n\n",
                SysPath(layout).substr(4).c_str(), layout.port, DeviceNode(layout).c_str(), layout.port, layout.port,
                layout.vendor, layout.product, layout.interfaces.size());
  return std::string(text) + "H: descriptors=" + Hex(descriptors) + "\n";
}

FakeUsbDevice::FakeUsbDevice(DeviceLayout layout) : layout_(std::move(layout)), handler_(umockdev_ioctl_base_new()) {
  firmware_ = [](std::uint8_t, const Bytes& packet) { return std::optional<Bytes>(packet); };
  g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(OnIoctl), this);
}

FakeUsbDevice::~FakeUsbDevice() {
  for (Urb& urb : pendingReads_) ReleaseUrb(urb);
  for (Urb& urb : done_) ReleaseUrb(urb);
  g_object_unref(handler_);
}

int FakeUsbDevice::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
  static_cast<FakeUsbDevice*>(self)->Handle(client);
  return TRUE;
}

void FakeUsbDevice::Handle(UMockdevIoctlClient* client) {
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  std::lock_guard lock(mutex_);
  auto answer = [client](int error) { umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error); };
  // A device that is gone still hands back the transfers it ended.
  if (gone_ && request != USBDEVFS_REAPURBNDELAY && request != USBDEVFS_REAPURB) return answer(ENODEV);

  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      Data caps(Resolve(arg, 0, sizeof(std::uint32_t)));
      if (caps.block == nullptr) return answer(EFAULT);
      *caps.as<std::uint32_t>() = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                  USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
      return answer(0);
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
      Data number(Resolve(arg, 0, sizeof(unsigned int)));
      if (number.block == nullptr) return answer(EFAULT);
      const int interface = static_cast<int>(*number.as<unsigned int>());
      return answer(request == USBDEVFS_CLAIMINTERFACE ? Claim(client, interface, false) : Release(client, interface));
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
      Data claim(Resolve(arg, 0, sizeof(usbdevfs_disconnect_claim)));
      if (claim.block == nullptr) return answer(EFAULT);
      return answer(Claim(client, static_cast<int>(claim.as<usbdevfs_disconnect_claim>()->interface), true));
    }
    case USBDEVFS_GETDRIVER: {
      Data query(Resolve(arg, 0, sizeof(usbdevfs_getdriver)));
      if (query.block == nullptr) return answer(EFAULT);
      auto* driver = query.as<usbdevfs_getdriver>();
      const auto bound = drivers_.find(static_cast<int>(driver->interface));
      if (bound == drivers_.end()) return answer(ENODATA);
      std::snprintf(driver->driver, sizeof driver->driver, "%s", bound->second.c_str());
      return answer(0);
    }
    case USBDEVFS_IOCTL: {
      Data command(Resolve(arg, 0, sizeof(usbdevfs_ioctl)));
      if (command.block == nullptr) return answer(EFAULT);
      const auto* ioctl = command.as<usbdevfs_ioctl>();
      const int interface = ioctl->ifno;
      if (ioctl->ioctl_code == static_cast<int>(USBDEVFS_DISCONNECT)) {
        if (!drivers_.count(interface)) return answer(ENODATA);
        detached_[interface] = drivers_[interface];
        drivers_.erase(interface);
        return answer(0);
      }
      if (ioctl->ioctl_code == static_cast<int>(USBDEVFS_CONNECT)) {
        if (detached_.count(interface) && !claimedBy_.count(interface)) {
          drivers_[interface] = detached_[interface];
          detached_.erase(interface);
        }
        return answer(0);
      }
      return answer(ENOTTY);
    }
    case USBDEVFS_CLEAR_HALT: {
      Data endpoint(Resolve(arg, 0, sizeof(unsigned int)));
      if (endpoint.block == nullptr) return answer(EFAULT);
      const auto address = static_cast<std::uint8_t>(*endpoint.as<unsigned int>());
      if (!FindEndpoint(address)) return answer(ENOENT);
      stalled_[address] = false;
      haltsCleared_.push_back(address);
      return answer(0);
    }
    case USBDEVFS_SUBMITURB: return Submit(client, arg);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: return Reap(client, arg);
    case USBDEVFS_DISCARDURB: return Discard(client, arg);
    default: {
      char name[32];
      std::snprintf(name, sizeof name, "0x%lx", request);
      unanswered_.push_back(name);
      return answer(ENOTTY);
    }
  }
}

void FakeUsbDevice::Submit(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
  UMockdevIoctlData* block = Resolve(arg, 0, sizeof(usbdevfs_urb));
  if (block == nullptr) return umockdev_ioctl_client_complete(client, -1, EFAULT);
  ++submits_;
  const usbdevfs_urb* urb = UrbOf(block);
  const std::uint8_t address = urb->endpoint;
  const auto endpoint = FindEndpoint(address);
  const unsigned char urbType =
      endpoint && endpoint->type == kInterrupt ? USBDEVFS_URB_TYPE_INTERRUPT : USBDEVFS_URB_TYPE_BULK;
  int refused = 0;
  if (!endpoint || urb->type != urbType || urb->buffer_length < 0) refused = EINVAL;
  // Stricter than the kernel, which would claim on the program's behalf: a
  // transfer through an interface the program did not claim is refused.
  else if (const auto owner = claimedBy_.find(endpoint->interface);
           owner == claimedBy_.end() || owner->second != client)
    refused = EBUSY;
  if (refused != 0) {
    g_object_unref(block);
    return umockdev_ioctl_client_complete(client, -1, refused);
  }

  UMockdevIoctlData* buffer = urb->buffer_length > 0 ? Resolve(block, offsetof(usbdevfs_urb, buffer),
                                                               static_cast<std::size_t>(urb->buffer_length))
                                                     : nullptr;
  Urb submitted{client, block, buffer};
  if (stalled_[address]) {
    Finish(submitted, -EPIPE, 0);
  } else if (address & 0x80) {
    pendingReads_.push_back(submitted);
  } else {
    Bytes packet;
    if (buffer != nullptr) packet.assign(buffer->data, buffer->data + buffer->data_len);
    received_[address].push_back(packet);
    Finish(submitted, 0, static_cast<int>(packet.size()));
    if (firmware_)
      if (auto reply = firmware_(address, packet)) answers_[std::uint8_t(0x80 | address)].push_back(*reply);
  }
  AnswerReads();
  umockdev_ioctl_client_complete(client, 0, 0);
}

void FakeUsbDevice::Reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
  const auto found = std::find_if(done_.begin(), done_.end(), [client](const Urb& u) { return u.client == client; });
  if (found == done_.end()) return umockdev_ioctl_client_complete(client, -1, gone_ ? ENODEV : EAGAIN);
  Data place(Resolve(arg, 0, sizeof(void*)));
  if (place.block == nullptr) return umockdev_ioctl_client_complete(client, -1, EFAULT);
  umockdev_ioctl_data_set_ptr(place.block, 0, found->urb);
  umockdev_ioctl_client_complete(client, 0, 0);
  ReleaseUrb(*found);
  done_.erase(found);
}

void FakeUsbDevice::Discard(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
  const unsigned long address = *reinterpret_cast<const unsigned long*>(arg->data);
  const auto found = std::find_if(pendingReads_.begin(), pendingReads_.end(),
                                  [&](const Urb& u) { return u.client == client && u.urb->client_addr == address; });
  if (found == pendingReads_.end()) return umockdev_ioctl_client_complete(client, -1, EINVAL);
  const Urb urb = *found;
  pendingReads_.erase(found);
  Finish(urb, -ECONNRESET, 0);
  umockdev_ioctl_client_complete(client, 0, 0);
}

int FakeUsbDevice::Claim(UMockdevIoctlClient* client, int interface, bool detachDriver) {
  const bool exists = std::any_of(layout_.interfaces.begin(), layout_.interfaces.end(),
                                  [interface](const InterfaceLayout& i) { return i.number == interface; });
  if (!exists) return ENOENT;
  if (const auto owner = claimedBy_.find(interface); owner != claimedBy_.end())
    return owner->second == client ? 0 : EBUSY;
  if (drivers_.count(interface)) {
    if (!detachDriver) return EBUSY;
    detached_[interface] = drivers_[interface];
    drivers_.erase(interface);
  }
  claimedBy_[interface] = client;
  ++claims_[interface];
  return 0;
}

int FakeUsbDevice::Release(UMockdevIoctlClient* client, int interface) {
  const auto owner = claimedBy_.find(interface);
  if (owner == claimedBy_.end() || owner->second != client) return EINVAL;
  claimedBy_.erase(owner);
  ++releases_[interface];
  return 0;
}

std::optional<FakeUsbDevice::EndpointPlace> FakeUsbDevice::FindEndpoint(std::uint8_t address) const {
  for (const InterfaceLayout& interface : layout_.interfaces)
    for (const EndpointLayout& e : interface.endpoints)
      if (e.address == address) return EndpointPlace{interface.number, e.type};
  return std::nullopt;
}

void FakeUsbDevice::Finish(Urb urb, int status, int actualLength) {
  usbdevfs_urb* u = UrbOf(urb.urb);
  u->status = status;
  u->actual_length = actualLength;
  done_.push_back(urb);
}

// Hands waiting answers to waiting reads, oldest first. An answer longer
// than the read's buffer fills it and ends with an overflow, as babble does.
void FakeUsbDevice::AnswerReads() {
  for (auto it = pendingReads_.begin(); it != pendingReads_.end();) {
    auto& queue = answers_[UrbOf(it->urb)->endpoint];
    if (queue.empty()) {
      ++it;
      continue;
    }
    const Bytes reply = queue.front();
    queue.pop_front();
    const int room = it->buffer != nullptr ? it->buffer->data_len : 0;
    const int count = std::min(room, static_cast<int>(reply.size()));
    if (count > 0) std::memcpy(it->buffer->data, reply.data(), static_cast<std::size_t>(count));
    Finish(*it, static_cast<int>(reply.size()) > room ? -EOVERFLOW : 0, count);
    it = pendingReads_.erase(it);
  }
}

void FakeUsbDevice::ReleaseUrb(Urb& urb) {
  if (urb.buffer != nullptr) g_object_unref(urb.buffer);
  g_object_unref(urb.urb);
  urb.buffer = urb.urb = nullptr;
}

void FakeUsbDevice::SetFirmware(Firmware firmware) {
  std::lock_guard lock(mutex_);
  firmware_ = std::move(firmware);
}

void FakeUsbDevice::Stall(std::uint8_t endpoint) {
  std::lock_guard lock(mutex_);
  stalled_[endpoint] = true;
  for (auto it = pendingReads_.begin(); it != pendingReads_.end();) {
    if (UrbOf(it->urb)->endpoint != endpoint) {
      ++it;
      continue;
    }
    Finish(*it, -EPIPE, 0);
    it = pendingReads_.erase(it);
  }
}

void FakeUsbDevice::Unplug() {
  std::lock_guard lock(mutex_);
  gone_ = true;
  for (Urb& urb : pendingReads_) Finish(urb, -ESHUTDOWN, 0);
  pendingReads_.clear();
}

void FakeUsbDevice::ClaimElsewhere(int interface) {
  std::lock_guard lock(mutex_);
  claimedBy_[interface] = &kOtherProgram;
}

void FakeUsbDevice::BindKernelDriver(int interface, const std::string& name) {
  std::lock_guard lock(mutex_);
  drivers_[interface] = name;
}

std::vector<Bytes> FakeUsbDevice::Received(std::uint8_t endpoint) const {
  std::lock_guard lock(mutex_);
  const auto found = received_.find(endpoint);
  return found == received_.end() ? std::vector<Bytes>{} : found->second;
}

int FakeUsbDevice::Submits() const {
  std::lock_guard lock(mutex_);
  return submits_;
}

int FakeUsbDevice::PendingReads() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(pendingReads_.size());
}

int FakeUsbDevice::Claims(int interface) const {
  std::lock_guard lock(mutex_);
  const auto found = claims_.find(interface);
  return found == claims_.end() ? 0 : found->second;
}

int FakeUsbDevice::Releases(int interface) const {
  std::lock_guard lock(mutex_);
  const auto found = releases_.find(interface);
  return found == releases_.end() ? 0 : found->second;
}

bool FakeUsbDevice::Claimed(int interface) const {
  std::lock_guard lock(mutex_);
  const auto owner = claimedBy_.find(interface);
  return owner != claimedBy_.end() && owner->second != &kOtherProgram;
}

std::vector<std::uint8_t> FakeUsbDevice::HaltsCleared() const {
  std::lock_guard lock(mutex_);
  return haltsCleared_;
}

std::string FakeUsbDevice::KernelDriver(int interface) const {
  std::lock_guard lock(mutex_);
  const auto found = drivers_.find(interface);
  return found == drivers_.end() ? "" : found->second;
}

std::vector<std::string> FakeUsbDevice::Unanswered() const {
  std::lock_guard lock(mutex_);
  return unanswered_;
}

}  // namespace fakeusb
