#include "state_chunks.h"

#include "bounded_file.h"
#include "cf_handle.h"
#include "host_error.h"
#include "property_list_file.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kelvohost {
namespace {

void storeLittleEndian(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A record as a host allocates it: the header and room for size data bytes.
class ChunkRecord {
public:
    explicit ChunkRecord(std::size_t size)
        : storage_((AAX_SPlugInChunkHeaderSize + size) / sizeof(std::max_align_t) + 1) {
        chunk()->fSize = static_cast<int32_t>(size);
    }
    AAX_SPlugInChunk* chunk() { return reinterpret_cast<AAX_SPlugInChunk*>(storage_.data()); }

private:
    std::vector<std::max_align_t> storage_;
};

std::string resultText(AAX_Result result) {
    return "AAX result " + std::to_string(result);
}

} // namespace

std::vector<uint8_t> chunkFromStateFile(const std::filesystem::path& path, uint32_t product) {
    const CFHandle<CFDictionaryRef> state = readPropertyListDictionary(path);
    const CFHandle<CFDataRef> bytes(CFPropertyListCreateData(
        kCFAllocatorDefault, state.get(), kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
    if (!bytes) {
        throw InputError(path.string() + ": the state cannot be written as a property list");
    }
    const auto length = static_cast<std::size_t>(CFDataGetLength(bytes.get()));
    if (length + chunkHeaderSize > largestChunk) {
        throw InputError(path.string() + ": the state is " + std::to_string(length) +
                         " bytes; a state chunk holds at most " +
                         std::to_string(largestChunk - chunkHeaderSize));
    }
    std::vector<uint8_t> chunk(chunkHeaderSize + length);
    storeLittleEndian(chunk.data(), 'KAUX');
    storeLittleEndian(chunk.data() + 4, 1);
    storeLittleEndian(chunk.data() + 8, product);
    storeLittleEndian(chunk.data() + 12, static_cast<uint32_t>(length));
    std::memcpy(chunk.data() + chunkHeaderSize, CFDataGetBytePtr(bytes.get()), length);
    return chunk;
}

std::vector<uint8_t> readChunkFile(const std::filesystem::path& path) {
    std::vector<uint8_t> bytes = readBoundedFile(path, largestChunk);
    if (bytes.size() < chunkHeaderSize) {
        throw InputError(path.string() + ": " + std::to_string(bytes.size()) +
                         " bytes, too short for a state chunk (its header alone is " +
                         std::to_string(chunkHeaderSize) + " bytes)");
    }
    return bytes;
}

void restoreChunk(aaxhost::Instance& instance, const std::vector<uint8_t>& data,
                  const std::string& source) {
    ChunkRecord record(data.size());
    record.chunk()->fChunkID = stateChunkID;
    record.chunk()->fVersion = 1;
    std::copy(data.begin(), data.end(), reinterpret_cast<uint8_t*>(record.chunk()->fData));
    const AAX_Result result = instance.effect().SetChunk(stateChunkID, record.chunk());
    if (result == AAX_ERROR_INVALID_CHUNK_ID) {
        throw InputError(source + ": not a state chunk of this plug-in (" + resultText(result) +
                         ")");
    }
    if (result != AAX_SUCCESS) {
        throw InputError(source + ": the plug-in refused this state (" + resultText(result) + ")");
    }
}

std::vector<uint8_t> saveChunk(aaxhost::Instance& instance) {
    uint32_t size = 0;
    if (const AAX_Result result = instance.effect().GetChunkSize(stateChunkID, &size);
        result != AAX_SUCCESS) {
        throw std::runtime_error("the plug-in gave no state chunk size (" + resultText(result) +
                                 ")");
    }
    ChunkRecord record(size);
    if (const AAX_Result result = instance.effect().GetChunk(stateChunkID, record.chunk());
        result != AAX_SUCCESS) {
        throw std::runtime_error("the plug-in gave no state chunk (" + resultText(result) + ")");
    }
    const AAX_SPlugInChunk& chunk = *record.chunk();
    const auto written = static_cast<std::size_t>(std::max<int32_t>(chunk.fSize, 0));
    const auto* bytes = reinterpret_cast<const uint8_t*>(chunk.fData);
    return {bytes, bytes + std::min<std::size_t>(written, size)};
}

} // namespace kelvohost
