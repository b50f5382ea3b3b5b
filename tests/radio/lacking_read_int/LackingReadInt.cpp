/* A USB access library without _MPUSBReadInt, which the link never calls:
 * it must still be used. One fixed handle per direction; every transfer
 * succeeds in full. */
#include "mpusbapi/mpusbapi.h"

static int pipes[2];

void* _MPUSBOpen(uint32_t instance, const char* vid_pid, const char* endpoint, uint32_t direction, uint32_t reserved) {
  (void)instance, (void)vid_pid, (void)endpoint, (void)reserved;
  return direction < 2 ? static_cast<void*>(&pipes[direction]) : MPUSB_INVALID_HANDLE;
}

uint32_t _MPUSBWrite(void* pipe, const void* data, uint32_t length, uint32_t* written, uint32_t timeout_ms) {
  (void)pipe, (void)data, (void)timeout_ms;
  *written = length;
  return 1;
}

uint32_t _MPUSBRead(void* pipe, void* data, uint32_t length, uint32_t* received, uint32_t timeout_ms) {
  (void)pipe, (void)data, (void)timeout_ms;
  *received = length;
  return 1;
}

uint32_t _MPUSBClose(void* pipe) {
  (void)pipe;
  return 1;
}

uint32_t _MPUSBGetDLLVersion(void) { return 1; }

uint32_t _MPUSBGetDeviceCount(const char* vid_pid) {
  (void)vid_pid;
  return 1;
}
