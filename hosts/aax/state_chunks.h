#pragma once
// The plug-in's state chunk as kelvo-aax handles it: made from a saved unit state (a
// class-info property list file, wrapped as the plug-in wraps it), read from and written to
// chunk files (the chunk's data bytes as the plug-in gives them), given to and taken from an
// instance as a host does.

#include <AAXHost/Instance.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelvohost {

inline constexpr AAX_CTypeID stateChunkID = 'KAU1';
inline constexpr std::size_t chunkHeaderSize = 16; // {'KAUX', version, product, length}
inline constexpr std::size_t largestChunk = chunkHeaderSize + (16u << 20); // and 16 MiB of state

// The chunk data of a class-info file: header {'KAUX', 1, product, length} (little-endian)
// and the dictionary as a binary property list. Throws InputError for a file that is not one.
std::vector<uint8_t> chunkFromStateFile(const std::filesystem::path& path, uint32_t product);

// A chunk file's bytes, read as readBoundedFile reads a file the user names, with the largest
// chunk as the limit. Throws InputError for a file that cannot be read or cannot be a chunk:
// one shorter than a chunk's header, empty among them.
std::vector<uint8_t> readChunkFile(const std::filesystem::path& path);

// [main thread] SetChunk with the data; InputError naming source when the plug-in refuses.
void restoreChunk(aaxhost::Instance& instance, const std::vector<uint8_t>& data,
                  const std::string& source);

// [main thread] GetChunkSize, then GetChunk into a record of that size: the chunk's data.
// Throws std::runtime_error when the plug-in cannot give it.
std::vector<uint8_t> saveChunk(aaxhost::Instance& instance);

} // namespace kelvohost
