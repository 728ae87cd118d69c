#include "state_chunks.h"

#include "bounded_file.h"
#include "cf_handle.h"
#include "host_error.h"
#include "property_list_file.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

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
    if (length + 16 > largestChunk) {
        throw InputError(path.string() + ": the state is " + std::to_string(length) +
                         " bytes; a state chunk holds at most " +
                         std::to_string(largestChunk - 16));
    }
    std::vector<uint8_t> chunk(16 + length);
    storeLittleEndian(chunk.data(), 'KAUX');
    storeLittleEndian(chunk.data() + 4, 1);
    storeLittleEndian(chunk.data() + 8, product);
    storeLittleEndian(chunk.data() + 12, static_cast<uint32_t>(length));
    std::memcpy(chunk.data() + 16, CFDataGetBytePtr(bytes.get()), length);
    return chunk;
}

std::vector<uint8_t> readChunkFile(const std::filesystem::path& path) {
    return readBoundedFile(path, largestChunk);
}

void restoreChunk(aaxhost::Instance& instance, const std::vector<uint8_t>& data,
                  const std::string& source) {
    ChunkRecord record(data.size());
    record.chunk()->fChunkID = stateChunkID;
    record.chunk()->fVersion = 1;
    std::memcpy(record.chunk()->fData, data.data(), data.size());
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

void writeChunkFile(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
    const std::filesystem::path temporary =
        path.string() + ".part-" + std::to_string(static_cast<long>(::getpid()));
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw InputError(path.string() + ": cannot write the chunk file");
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw InputError(path.string() + ": cannot write the chunk file");
    }
}

} // namespace kelvohost
