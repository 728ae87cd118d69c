// The state chunk 'KAU1' and the custom data 'KAUI', as a host saves, compares and restores an
// instance's state.

#include "model/state_header.h"
#include "support/bridge_host.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

using namespace bridgetest;

// A chunk record as a host allocates it: the header and room for the data.
struct Record {
    explicit Record(std::size_t data) : storage(AAX_SPlugInChunkHeaderSize + data + 8, 0xEE) {
        chunk()->fSize = static_cast<int32_t>(data);
        chunk()->fManufacturerID = 1;
        chunk()->fProductID = 2;
        chunk()->fPlugInID = 3;
    }
    AAX_SPlugInChunk* chunk() { return reinterpret_cast<AAX_SPlugInChunk*>(storage.data()); }
    std::vector<uint8_t> data() {
        const auto* bytes = reinterpret_cast<const uint8_t*>(chunk()->fData);
        return {bytes, bytes + chunk()->fSize};
    }
    std::vector<uint8_t> storage;
};

Record recordOf(const std::vector<uint8_t>& data) {
    Record record(data.size());
    std::copy(data.begin(), data.end(), reinterpret_cast<uint8_t*>(record.chunk()->fData));
    return record;
}

std::vector<uint8_t> saveChunk(aaxhost::Instance& effect) {
    uint32_t size = 0;
    EXPECT_EQ(effect.effect().GetChunkSize('KAU1', &size), AAX_SUCCESS);
    Record record(size);
    EXPECT_EQ(effect.effect().GetChunk('KAU1', record.chunk()), AAX_SUCCESS);
    return record.data();
}

bool unchanged(aaxhost::Instance& effect, const std::vector<uint8_t>& chunk) {
    Record record = recordOf(chunk);
    bool equal = false;
    return effect.effect().CompareActiveChunk(record.chunk(), &equal) == AAX_SUCCESS && equal;
}

class Chunk : public ::testing::Test {
protected:
    void SetUp() override {
        configureProbe({});
        effect = instance(module(productBundle("KelvoFennicAAX")), 2);
    }
    std::unique_ptr<aaxhost::Instance> effect;
};

TEST_F(Chunk, OneChunkOfAHeaderAndTheUnitsState) {
    int32_t count = 0;
    EXPECT_EQ(effect->effect().GetNumberOfChunks(&count), AAX_SUCCESS);
    EXPECT_EQ(count, 1);
    AAX_CTypeID id = 0;
    EXPECT_EQ(effect->effect().GetChunkIDFromIndex(0, &id), AAX_SUCCESS);
    EXPECT_EQ(id, 'KAU1');
    EXPECT_EQ(effect->effect().GetChunkIDFromIndex(1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
    EXPECT_EQ(effect->effect().GetNumberOfChunks(nullptr), AAX_ERROR_NULL_ARGUMENT);

    uint32_t size = 0;
    ASSERT_EQ(effect->effect().GetChunkSize('KAU1', &size), AAX_SUCCESS);
    EXPECT_EQ(effect->effect().GetChunkSize('XXXX', &size), AAX_ERROR_INVALID_CHUNK_ID);
    Record record(size);
    ASSERT_EQ(effect->effect().GetChunk('KAU1', record.chunk()), AAX_SUCCESS);
    const AAX_SPlugInChunk& chunk = *record.chunk();
    EXPECT_EQ(chunk.fSize, static_cast<int32_t>(size));
    EXPECT_EQ(chunk.fVersion, 1);
    EXPECT_EQ(chunk.fChunkID, 'KAU1');
    EXPECT_EQ(chunk.fManufacturerID, 1u) << "left as the host gave it";
    EXPECT_EQ(chunk.fPlugInID, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(chunk.fName)), "KELVO AU state");
    EXPECT_EQ(chunk.fName[31], 0);
    const std::vector<uint8_t> data = record.data();
    EXPECT_EQ(std::string(data.begin(), data.begin() + 4), "XUAK");
    const kelvoaax::StateHeader header = kelvoaax::loadHeader(data.data());
    EXPECT_EQ(header.version, 1u);
    EXPECT_EQ(header.product, 'Fenn');
    EXPECT_EQ(header.length, size - 16);
    EXPECT_EQ(std::string(data.begin() + 16, data.begin() + 24), "bplist00");
}

TEST_F(Chunk, RestoringAChunkBringsBackTheUnitAndItsMirrors) {
    ASSERT_EQ(setReal(*effect, "au_0", 30.0), AAX_SUCCESS);
    ASSERT_EQ(setReal(*effect, "au_4", 3.0), AAX_SUCCESS);
    const std::vector<uint8_t> saved = saveChunk(*effect);
    EXPECT_TRUE(unchanged(*effect, saved));

    ASSERT_EQ(setReal(*effect, "au_0", 10.0), AAX_SUCCESS);
    ASSERT_EQ(setReal(*effect, "MasterBypassID", 1.0), AAX_SUCCESS);
    EXPECT_FALSE(unchanged(*effect, saved)) << "after any parameter change";

    Record record = recordOf(saved);
    ASSERT_EQ(effect->effect().SetChunk('KAU1', record.chunk()), AAX_SUCCESS);
    EXPECT_TRUE(unchanged(*effect, saved));
    EXPECT_EQ(unitValue(*effect, 0), 30.0f);
    EXPECT_EQ(realValue(*effect, "au_0"), 30.0);
    EXPECT_EQ(realValue(*effect, "au_4"), 3.0);
    EXPECT_EQ(realValue(*effect, "MasterBypassID"), 0.0);
}

// The state inside a chunk, read as a dictionary (+1).
CFDictionaryRef stateOf(const std::vector<uint8_t>& chunk) {
    const CFDataRef data =
        CFDataCreate(nullptr, chunk.data() + kelvoaax::stateHeaderSize,
                     static_cast<CFIndex>(chunk.size() - kelvoaax::stateHeaderSize));
    const CFPropertyListRef list =
        CFPropertyListCreateWithData(nullptr, data, kCFPropertyListImmutable, nullptr, nullptr);
    CFRelease(data);
    return static_cast<CFDictionaryRef>(list);
}

std::string encodedInteger(CFDictionaryRef state, CFStringRef key) {
    SInt64 value = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(state, key)),
                     kCFNumberSInt64Type, &value);
    return plisttest::integer(value);
}

std::u16string nameIn(const std::vector<uint8_t>& chunk) {
    const CFDictionaryRef state = stateOf(chunk);
    const auto name = static_cast<CFStringRef>(CFDictionaryGetValue(state, CFSTR("name")));
    std::u16string units(static_cast<std::size_t>(CFStringGetLength(name)), u'\0');
    CFStringGetCharacters(name, CFRangeMake(0, CFStringGetLength(name)),
                          reinterpret_cast<UniChar*>(units.data()));
    CFRelease(state);
    return units;
}

// A file may name a state with U+0000 inside, and the unit takes such a name; the host must
// still be able to save that instance, and the chunk must bring back the same state.
TEST_F(Chunk, AStateNamedWithAZeroSavesAndRestoresWhole) {
    ASSERT_EQ(setReal(*effect, "au_0", 30.0), AAX_SUCCESS);
    const std::vector<uint8_t> plain = saveChunk(*effect);
    const CFDictionaryRef state = stateOf(plain);
    ASSERT_NE(state, nullptr);
    const auto blob = static_cast<CFDataRef>(CFDictionaryGetValue(state, CFSTR("data")));
    const std::string data(reinterpret_cast<const char*>(CFDataGetBytePtr(blob)),
                           static_cast<std::size_t>(CFDataGetLength(blob)));
    const std::vector<std::pair<std::string, std::string>> envelope = {
        {plisttest::ascii("version"), encodedInteger(state, CFSTR("version"))},
        {plisttest::ascii("type"), encodedInteger(state, CFSTR("type"))},
        {plisttest::ascii("subtype"), encodedInteger(state, CFSTR("subtype"))},
        {plisttest::ascii("manufacturer"), encodedInteger(state, CFSTR("manufacturer"))},
        {plisttest::ascii("data"), plisttest::data(data)},
    };
    CFRelease(state);
    for (const plisttest::ZeroName& c : plisttest::zeroNames()) {
        auto entries = envelope;
        entries.emplace_back(plisttest::ascii("name"), c.encoded);
        const std::string list = plisttest::dictionary(entries);
        std::vector<uint8_t> named(kelvoaax::stateHeaderSize + list.size());
        kelvoaax::storeHeader(named.data(), {kelvoaax::stateMagic, kelvoaax::stateVersion,
                                             kelvoaax::loadHeader(plain.data()).product,
                                             static_cast<uint32_t>(list.size())});
        std::memcpy(named.data() + kelvoaax::stateHeaderSize, list.data(), list.size());

        const auto restored = instance(module(productBundle("KelvoFennicAAX")), 2);
        Record record = recordOf(named);
        ASSERT_EQ(restored->effect().SetChunk('KAU1', record.chunk()), AAX_SUCCESS) << c.what;
        uint32_t size = 0;
        ASSERT_EQ(restored->effect().GetChunkSize('KAU1', &size), AAX_SUCCESS)
            << c.what << ": the instance's state could not be saved";
        const std::vector<uint8_t> saved = saveChunk(*restored);
        EXPECT_EQ(nameIn(saved), c.units) << c.what;

        const auto again = instance(module(productBundle("KelvoFennicAAX")), 2);
        Record savedRecord = recordOf(saved);
        ASSERT_EQ(again->effect().SetChunk('KAU1', savedRecord.chunk()), AAX_SUCCESS) << c.what;
        EXPECT_TRUE(unchanged(*again, saved)) << c.what;
        EXPECT_EQ(saveChunk(*again), saved) << c.what << ": saved again, the same bytes";
        EXPECT_EQ(realValue(*again, "au_0"), 30.0) << c.what;
    }
}

TEST_F(Chunk, AChunkIsDeliveredOnlyAsSizedAndOnlyIntoRoomForIt) {
    Record before(4096);
    EXPECT_EQ(effect->effect().GetChunk('KAU1', before.chunk()), AAX_ERROR_INCORRECT_CHUNK_SIZE)
        << "no size request yet";
    uint32_t size = 0;
    ASSERT_EQ(effect->effect().GetChunkSize('KAU1', &size), AAX_SUCCESS);
    Record small(size - 1);
    EXPECT_EQ(effect->effect().GetChunk('KAU1', small.chunk()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
    EXPECT_EQ(small.chunk()->fSize, static_cast<int32_t>(size - 1));
    EXPECT_EQ(small.storage[AAX_SPlugInChunkHeaderSize], 0xEE) << "nothing written";
    EXPECT_EQ(effect->effect().GetChunk('KAU1', nullptr), AAX_ERROR_NULL_ARGUMENT);
}

TEST_F(Chunk, HostileChunksAreRefusedAndChangeNothing) {
    ASSERT_EQ(setReal(*effect, "au_2", 6.0), AAX_SUCCESS);
    const std::vector<uint8_t> saved = saveChunk(*effect);
    const auto withHeader = [](uint32_t magic, uint32_t version, uint32_t product, uint32_t length,
                               const std::vector<uint8_t>& state) {
        std::vector<uint8_t> chunk(16 + state.size());
        kelvoaax::storeHeader(chunk.data(), {magic, version, product, length});
        for (std::size_t i = 0; i < state.size(); ++i) {
            chunk[16 + i] = state[i];
        }
        return chunk;
    };
    const std::vector<uint8_t> state(saved.begin() + 16, saved.end());
    const auto length = static_cast<uint32_t>(state.size());
    std::vector<uint8_t> truncated(saved.begin(), saved.end() - 10);
    std::vector<uint8_t> longer = saved;
    longer.push_back(0);
    std::vector<uint8_t> garbage = withHeader('KAUX', 1, 'Fenn', 64, std::vector<uint8_t>(64, 'x'));
    std::vector<uint8_t> corrupted = saved;
    corrupted.back() ^= 0xFF; // the binary list's trailer
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
        AAX_Result result;
    };
    const Case cases[] = {
        {"truncated", truncated, AAX_ERROR_INVALID_CHUNK_ID},
        {"a byte more than the header says", longer, AAX_ERROR_INVALID_CHUNK_ID},
        {"another product", withHeader('KAUX', 1, 'Corv', length, state),
         AAX_ERROR_INVALID_CHUNK_ID},
        {"another magic", withHeader('KAUY', 1, 'Fenn', length, state), AAX_ERROR_INVALID_CHUNK_ID},
        {"another version", withHeader('KAUX', 2, 'Fenn', length, state),
         AAX_ERROR_INVALID_CHUNK_ID},
        {"a header alone", withHeader('KAUX', 1, 'Fenn', 0, {}), AAX_ERROR_UNSPECIFIED},
        {"shorter than a header", std::vector<uint8_t>(saved.begin(), saved.begin() + 15),
         AAX_ERROR_INCORRECT_CHUNK_SIZE},
        {"no bytes at all", {}, AAX_ERROR_INCORRECT_CHUNK_SIZE},
        {"no property list", garbage, AAX_ERROR_UNSPECIFIED},
        {"a corrupted property list", corrupted, AAX_ERROR_UNSPECIFIED},
    };
    for (const Case& c : cases) {
        Record record = recordOf(c.data);
        EXPECT_EQ(effect->effect().SetChunk('KAU1', record.chunk()), c.result) << c.what;
        EXPECT_TRUE(unchanged(*effect, saved)) << c.what;
        EXPECT_EQ(realValue(*effect, "au_2"), 6.0) << c.what;
    }

    Record huge(16 + (16u << 20) + 1);
    kelvoaax::storeHeader(reinterpret_cast<uint8_t*>(huge.chunk()->fData),
                          {'KAUX', 1, 'Fenn', (16u << 20) + 1});
    EXPECT_EQ(effect->effect().SetChunk('KAU1', huge.chunk()), AAX_ERROR_INCORRECT_CHUNK_SIZE)
        << "16 MiB and a byte of state";
    Record negative(16);
    negative.chunk()->fSize = -1;
    EXPECT_EQ(effect->effect().SetChunk('KAU1', negative.chunk()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
    Record good = recordOf(saved);
    EXPECT_EQ(effect->effect().SetChunk('KAU2', good.chunk()), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ(effect->effect().SetChunk('KAU1', nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE(unchanged(*effect, saved));
}

TEST_F(Chunk, TheOtherProductsChunkIsRefused) {
    const auto corvel = instance(module(productBundle("KelvoCorvelAAX")), 2);
    Record record = recordOf(saveChunk(*corvel));
    const std::vector<uint8_t> before = saveChunk(*effect);
    EXPECT_EQ(effect->effect().SetChunk('KAU1', record.chunk()), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_TRUE(unchanged(*effect, before));
}

TEST_F(Chunk, TheEditorLearnsTheProcessAndTheUnit) {
    unsigned char block[16] = {};
    uint32_t size = 99;
    EXPECT_EQ(effect->effect().GetCustomData('KAUI', 8, block, &size), AAX_ERROR_UNSPECIFIED);
    EXPECT_EQ(size, 0u);
    ASSERT_EQ(effect->effect().GetCustomData('KAUI', 16, block, &size), AAX_SUCCESS);
    EXPECT_EQ(size, 16u);
    int64_t process = 0;
    for (int i = 7; i >= 0; --i) {
        process = process << 8 | block[i];
    }
    EXPECT_EQ(process, ::getpid());
    EXPECT_NE(unitOf(*effect), nullptr);
    EXPECT_EQ(effect->effect().GetCustomData('XXXX', 16, block, &size), AAX_SUCCESS);
    EXPECT_EQ(size, 0u) << "no other data";
}

// After a restore, a parameter the unit cannot read back keeps its mirror; the restore of the
// unit's state still succeeded.
TEST(ChunkRestore, AParameterThatCannotBeReadBackIsSkipped) {
    probe::Configuration unreadable;
    unreadable.unreadableParameter = probe::gain;
    configureProbe(unreadable);
    const auto effect = instance(module(probeBundle()), 2);
    configureProbe({});
    ASSERT_EQ(setReal(*effect, "au_2", 70.0), AAX_SUCCESS);
    ASSERT_EQ(setReal(*effect, "au_3", 6.0), AAX_SUCCESS);
    Record record = recordOf(saveChunk(*effect));
    ASSERT_EQ(setReal(*effect, "au_2", 20.0), AAX_SUCCESS);
    ASSERT_EQ(setReal(*effect, "au_3", -6.0), AAX_SUCCESS);
    EXPECT_EQ(effect->effect().SetChunk('KAU1', record.chunk()), AAX_SUCCESS);
    EXPECT_EQ(realValue(*effect, "au_2"), 70.0);
    EXPECT_EQ(realValue(*effect, "au_3"), -6.0) << "unreadable: its mirror stays";
}

} // namespace
