// A USB access library without _MPUSBClose. The link must not call into it
// at all, so every entry point here ends the process.
#include <cstdio>
#include <cstdlib>

#include "mpusbapi/mpusbapi.h"

[[noreturn]] static void Called(const char* name) {
  std::fprintf(stderr, "%s called in a library that lacks _MPUSBClose\n", name);
  std::abort();
}

void* _MPUSBOpen(uint32_t instance, const char* vid_pid, const char* endpoint, uint32_t direction, uint32_t reserved) {
  (void)instance, (void)vid_pid, (void)endpoint, (void)direction, (void)reserved;
  Called("_MPUSBOpen");
}

uint32_t _MPUSBWrite(void* pipe, const void* data, uint32_t length, uint32_t* written, uint32_t timeout_ms) {
  (void)pipe, (void)data, (void)length, (void)written, (void)timeout_ms;
  Called("_MPUSBWrite");
}

uint32_t _MPUSBRead(void* pipe, void* data, uint32_t length, uint32_t* received, uint32_t timeout_ms) {
  (void)pipe, (void)data, (void)length, (void)received, (void)timeout_ms;
  Called("_MPUSBRead");
}

uint32_t _MPUSBReadInt(void* pipe, void* data, uint32_t length, uint32_t* received, uint32_t timeout_ms) {
  (void)pipe, (void)data, (void)length, (void)received, (void)timeout_ms;
  Called("_MPUSBReadInt");
}

uint32_t _MPUSBGetDLLVersion(void) { Called("_MPUSBGetDLLVersion"); }

uint32_t _MPUSBGetDeviceCount(const char* vid_pid) {
  (void)vid_pid;
  Called("_MPUSBGetDeviceCount");
}
