// The state chunk and the custom data: the unit's whole state travels in the one chunk 'KAU1',
// captured when the host asks for its size; after a restore the mirrored parameters are read
// back from the unit. The custom data 'KAUI' tells the editor host the process and the unit.

#include "model/model.h"

#include "model/state_header.h"
#include "product.h"

#include <Foundation/NSThread.h>

#include <cstring>

namespace kelvoaax {
namespace {

constexpr int32_t chunkVersion = 1;
constexpr uint64_t largestChunk = stateHeaderSize + AUBackend::maximumStateSize;

} // namespace

std::vector<uint8_t> Model::save() const {
    if (backend_ == nullptr) {
        throw std::runtime_error("backend unavailable");
    }
    const std::vector<uint8_t> state = backend_->state();
    std::vector<uint8_t> chunk(stateHeaderSize + state.size());
    storeHeader(chunk.data(), {stateMagic, stateVersion, product::productID,
                               static_cast<uint32_t>(state.size())});
    std::copy(state.begin(), state.end(), chunk.begin() + stateHeaderSize);
    return chunk;
}

AAX_Result Model::GetNumberOfChunks(int32_t* count) const {
    if (count == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *count = 1;
    return AAX_SUCCESS;
}

AAX_Result Model::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const {
    if (chunkID == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (index != 0) {
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    *chunkID = stateChunkID;
    return AAX_SUCCESS;
}

AAX_Result Model::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) {
    if (size == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (chunkID != stateChunkID) {
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    try {
        chunkCache_ = save();
    } catch (...) {
        *size = 0;
        return AAX_ERROR_UNSPECIFIED;
    }
    *size = static_cast<uint32_t>(chunkCache_.size());
    return AAX_SUCCESS;
}

AAX_Result Model::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) {
    if (chunk == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (chunkID != stateChunkID) {
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    if (chunkCache_.empty()) {
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    }
    // The host sized its record from its own size request; a cache that grew since would not
    // fit in it.
    if (chunk->fSize < 0 || static_cast<uint64_t>(chunk->fSize) < chunkCache_.size()) {
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    }
    chunk->fSize = static_cast<int32_t>(chunkCache_.size());
    chunk->fVersion = chunkVersion;
    chunk->fChunkID = stateChunkID;
    std::memset(chunk->fName, 0, sizeof chunk->fName);
    std::memcpy(chunk->fName, stateChunkName, sizeof stateChunkName - 1);
    std::memcpy(chunk->fData, chunkCache_.data(), chunkCache_.size());
    return AAX_SUCCESS;
}

AAX_Result Model::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) {
    if (chunk == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (chunkID != stateChunkID) {
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    if (backend_ == nullptr) {
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    }
    if (chunk->fSize < static_cast<int32_t>(stateHeaderSize) ||
        static_cast<uint64_t>(chunk->fSize) > largestChunk) {
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(chunk->fData);
    const StateHeader header = loadHeader(bytes);
    const uint64_t length = static_cast<uint64_t>(chunk->fSize) - stateHeaderSize;
    if (header.magic != stateMagic || header.version != stateVersion ||
        header.product != product::productID || header.length != length) {
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    try {
        backend_->restore(bytes + stateHeaderSize, header.length);
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
    // The state has changed: a parameter that cannot be read back keeps its old mirror, and
    // the restore still succeeded.
    for (const Binding& binding : bindings_) {
        try {
            AAX_IParameter* mirrored = mParameterManager.GetParameterByID(binding.aaxID.c_str());
            if (mirrored != nullptr) {
                mirrored->SetValueWithDouble(backend_->get(binding.auID));
            }
        } catch (...) {
        }
    }
    return AAX_SUCCESS;
}

AAX_Result Model::CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) {
    if (chunk == nullptr || isEqual == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *isEqual = false;
    std::vector<uint8_t> fresh;
    try {
        fresh = save();
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
    *isEqual = chunk->fSize >= 0 && static_cast<std::size_t>(chunk->fSize) == fresh.size() &&
               std::memcmp(chunk->fData, fresh.data(), fresh.size()) == 0;
    return AAX_SUCCESS;
}

AAX_Result Model::GetCustomData(AAX_CTypeID typeID, uint32_t size, void* data, uint32_t* outSize) {
    if (outSize != nullptr) {
        *outSize = 0;
    }
    if (typeID != editorDataID) {
        return AAX_CEffectParameters::GetCustomData(typeID, size, data, outSize);
    }
    if (size != editorDataSize || data == nullptr || backend_ == nullptr) {
        return AAX_ERROR_UNSPECIFIED;
    }
    auto* bytes = static_cast<uint8_t*>(data);
    const auto process = static_cast<int64_t>(NSProcessInfo::processInfo()->processIdentifier());
    storeLittleEndian(bytes, static_cast<uint64_t>(process), 8);
    storeLittleEndian(bytes + 8, reinterpret_cast<uintptr_t>(backend_->unit()), 8);
    if (outSize != nullptr) {
        *outSize = editorDataSize;
    }
    return AAX_SUCCESS;
}

} // namespace kelvoaax
