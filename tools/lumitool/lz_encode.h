// LZ compressors for the three methods the engine's decoder reads. Each
// finds matches with hash chains and parses with one step of lazy
// evaluation; the block starts with its method byte.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> LzEncode(int method, const std::uint8_t* data, std::size_t size);
