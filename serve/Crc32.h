#pragma once
// CRC-32 as zlib and Ethernet compute it (reflected polynomial 0xEDB88320,
// initial and final value 0xFFFFFFFF): the check value \get_rig_info ends
// its block with.

#include <cstdint>
#include <string_view>

std::uint32_t Crc32(std::string_view bytes);
