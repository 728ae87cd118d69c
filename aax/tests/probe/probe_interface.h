#pragma once
// What the tests and the probe unit share: how a test sets the probe up before an instance is
// made (KelvoProbeConfigure) and what the probe saw in its last render (KelvoProbeReport).
// Plain data, so the test and the probe bundle agree on it across the bundle boundary.

#include <CoreAudioTypes/CoreAudioTypes.h>

#include <cstdint>

namespace probe {

// Parameter IDs of the ordinary probe.
enum : uint32_t {
    bypass = 0,    // Boolean
    mode = 1,      // indexed 0..3, value strings
    level = 2,     // percent 0..100
    gain = 3,      // decibels -24..24, default -3.5
    frequency = 4, // hertz 20..20000, displayed logarithmically
    width = 5,     // generic 0..10, displayed logarithmically (minimum 0)
    choice = 6,    // indexed 1..4, value strings
    time = 7,      // milliseconds 1..500, named in the fixed 52-byte field
    meter = 8,     // read-only
    parameterCount = 9,
};

// The name of `time`: exactly 52 bytes, no terminating zero in the record.
inline constexpr char timeName[] = "Attack time, named in all fifty-two bytes of its fie";
static_assert(sizeof timeName - 1 == 52);

// The probe's latency.
inline constexpr double latencySeconds = 0.001;

struct Configuration {
    bool wide = false;                // IDs 0..256 writable (257 parameters) and 257 read-only
    bool wildcardLayouts = false;     // supports only {-1, -1}
    bool ownOutputBuffers = false;    // renders into buffers of its own
    bool shortOutputBuffer = false;   // reports its output buffer 4 bytes short
    OSStatus renderStatus = 0;        // nonzero: every render fails with it
    bool pullNullBuffers = false;     // pulls its input into buffers without data, then writes them
    int64_t unreadableParameter = -1; // this ID's parameter get fails
    bool shrinkingList = false;       // the first size of its parameter list says two IDs more

    // The Cocoa view property: none unless cocoaView is set. It holds the probe bundle's URL
    // (null with nullViewURL) and viewNames class names, the first viewClass and the others
    // KelvoProbeViewFactory; the size query announces them all, the read writes only the first
    // viewNamesWritten.
    bool cocoaView = false;
    bool nullViewURL = false;
    uint32_t viewNames = 1;
    uint32_t viewNamesWritten = 1;
    char viewClass[40] = "KelvoProbeViewFactory";
    // The view KelvoProbeViewFactory makes (KelvoProbeBlankFactory makes none, and
    // KelvoProbeNotAFactory is no factory).
    double viewWidth = 320;
    double viewHeight = 200;
};

struct Report {
    uint64_t renders = 0;
    uint32_t frames = 0;
    double sampleTime = 0.0;
    OSStatus tempoStatus = 0;
    double beat = 0.0;
    double tempo = 0.0;
    OSStatus transportStatus = 0;
    bool playing = false;
    bool changed = false;
    bool cycling = false;
    double position = 0.0;
    double cycleStart = 0.0;
    double cycleEnd = 0.0;
    const void* pulled[2] = {nullptr, nullptr}; // where the pull left the input (pullNullBuffers)
    uint64_t setParameterCalls = 0;             // since the instance was made
};

} // namespace probe

extern "C" {
typedef void (*KelvoProbeConfigureProc)(const probe::Configuration* configuration);
typedef const probe::Report* (*KelvoProbeReportProc)();
}
