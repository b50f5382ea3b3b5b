/* A small library with one export of the USB library's interface, for the
 * loader tests. */
#include "mpusbapi/mpusbapi.h"

uint32_t _MPUSBGetDLLVersion(void) { return 0x01020304u; }
