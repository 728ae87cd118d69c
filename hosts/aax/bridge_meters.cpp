#include "bridge_meters.h"

#include "hosted_unit.h"
#include "meter_json.h"

#include <cmath>
#include <stdexcept>

namespace kelvohost {
namespace {

constexpr AAX_CTypeID editorDataID = 'KAUI';

AudioUnit unitOf(aaxhost::Instance& instance) {
    unsigned char block[16] = {};
    uint32_t size = 0;
    if (instance.effect().GetCustomData(editorDataID, sizeof block, block, &size) != AAX_SUCCESS ||
        size != sizeof block) {
        return nullptr;
    }
    uint64_t handle = 0;
    for (int i = 7; i >= 0; --i) {
        handle = handle << 8 | block[8 + i];
    }
    return reinterpret_cast<AudioUnit>(static_cast<uintptr_t>(handle));
}

} // namespace

std::string bridgeMeterJson(aaxhost::Instance& instance) {
    AudioUnit unit = unitOf(instance);
    if (unit == nullptr) {
        throw std::runtime_error("the plug-in names no unit in its custom data 'KAUI'");
    }
    Meters meters{};
    bool read = false;
    for (const AudioUnitPropertyID property : {rackMeterProperty, meterProperty}) {
        UInt32 size = sizeof meters;
        if (!read &&
            AudioUnitGetProperty(unit, property, kAudioUnitScope_Global, 0, &meters, &size) ==
                noErr &&
            size == sizeof meters) {
            read = true;
        }
    }
    if (!read) {
        throw std::runtime_error("the plug-in's unit has no meter property");
    }
    Float64 tail = NAN;
    UInt32 size = sizeof tail;
    AudioUnitGetProperty(unit, kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, &tail,
                         &size);
    const auto& latencies = instance.controller().latencies;
    return meterJson(meters, latencies.empty() ? NAN : latencies.back(), tail);
}

} // namespace kelvohost
