#pragma once
// AAX_SPlugInChunk: one chunk of an effect's state, as the host stores it in its session.
//
// The host allocates AAX_SPlugInChunkHeaderSize + n bytes for a chunk of n data bytes:
// - for GetChunk it asks GetChunkSize first, allocates that much, and sets fSize to n, the
//   data room it allocated; the effect writes the chunk and sets fSize to the bytes written;
// - for SetChunk and CompareActiveChunk fSize is the number of data bytes the record holds.

#include <AAX/AAX.h>

#include <cstddef>

struct AAX_SPlugInChunk {
    int32_t fSize; // data bytes (see above)
    int32_t fVersion;
    AAX_CTypeID fManufacturerID;
    AAX_CTypeID fProductID;
    AAX_CTypeID fPlugInID;
    AAX_CTypeID fChunkID;
    unsigned char fName[32]; // zero-padded UTF-8
    char fData[1];           // fSize bytes in the host's allocation
};

inline constexpr std::size_t AAX_SPlugInChunkHeaderSize = offsetof(AAX_SPlugInChunk, fData);
static_assert(AAX_SPlugInChunkHeaderSize == 56, "chunk record layout");
