/* The radio's USB access library: the C interface every implementation of
 * libmpusbapi (the libusb one, the simulated radio, any other) exports, and
 * that the link looks up by name at run time. A failed call leaves its reason
 * in errno. */
#ifndef RAVOLIN_MPUSBAPI_H
#define RAVOLIN_MPUSBAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define MPUSB_EXPORT __declspec(dllexport)
#else
#define MPUSB_EXPORT __attribute__((visibility("default")))
#endif

/* The C calling convention, where the caller removes the arguments, on
 * 32-bit Windows too: the export names carry no "@N" suffix, which a
 * __stdcall export would have. Caller and library must agree on it, or each
 * call leaves the stack off by its argument bytes (x86-64 has only one). */
#if defined(_WIN32) && defined(__i386__)
#define MPUSB_CALL __cdecl
#else
#define MPUSB_CALL
#endif

#define MPUSB_INVALID_HANDLE ((void*)-1)

/* The direction of _MPUSBOpen. */
#define MPUSB_WRITE_DIRECTION 0u /* write pipe, to the OUT endpoint */
#define MPUSB_READ_DIRECTION 1u  /* read pipe, from the IN endpoint */

MPUSB_EXPORT void* MPUSB_CALL _MPUSBOpen(uint32_t instance, const char* vid_pid, const char* endpoint,
                                         uint32_t direction, uint32_t reserved); /* MPUSB_INVALID_HANDLE: not open */
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBWrite(void* pipe, const void* data, uint32_t length, uint32_t* written,
                                             uint32_t timeout_ms); /* 0: failed */
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBRead(void* pipe, void* data, uint32_t length, uint32_t* received,
                                            uint32_t timeout_ms); /* 0: failed */
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBReadInt(void* pipe, void* data, uint32_t length, uint32_t* received,
                                               uint32_t timeout_ms);
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBClose(void* pipe);
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDLLVersion(void);
MPUSB_EXPORT uint32_t MPUSB_CALL _MPUSBGetDeviceCount(const char* vid_pid);

/* Not one of the seven: our own implementations also say what they are
 * ("simulated radio"), for the panel's start-up line. The link never calls
 * it, and a library without it is named by its file alone. */
MPUSB_EXPORT const char* ravolin_mpusb_describe(void);

#ifdef __cplusplus
}
#endif

#endif
