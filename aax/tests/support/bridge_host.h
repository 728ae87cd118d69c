#pragma once
// The bridge's tests drive its bundles as an AAX host does (aaxhost). What they share: where
// the bundles are, modules loaded once per process, instances of a component by channel count,
// the probe unit's configuration and report inside a bridge bundle, the unit behind an
// instance (through the custom data 'KAUI'), the log lines the bridge wrote, and blocks of
// audio to process.

#include "probe/probe_interface.h"

#include <AAX/AAX_IParameter.h>
#include <AAXHost/Instance.h>
#include <AAXHost/Module.h>
#include <AudioToolbox/AudioToolbox.h>

#include <memory>
#include <string>
#include <vector>

namespace bridgetest {

std::string productBundle(const std::string& name); // build/bundles/<name>.aaxplugin
std::string probeBundle();                          // KelvoProbeAAX.aaxplugin
std::string unitBundle(const std::string& product); // build/bundles/<product>.component

// [main thread] The module at path, loaded on first use and kept for the process.
const aaxhost::Module& module(const std::string& path);

// The probe unit carried in the probe bridge's Resources/Backend (the copy its instances
// run): configure it before an instance is initialised, read what it saw after a block.
void configureProbe(const probe::Configuration& configuration);
const probe::Report& probeReport();

// An instance of the module's effect, the component of that channel count, at the rate;
// initialised (with the host's transport) unless told otherwise.
std::unique_ptr<aaxhost::Instance> instance(const aaxhost::Module& module, unsigned channels,
                                            double rate = 48000.0, bool initialise = true);

// The unit behind an instance, from 'KAUI'; null when the instance refuses the request.
AudioUnit unitOf(aaxhost::Instance& instance);
float unitValue(aaxhost::Instance& instance, AudioUnitParameterID id);

// The mirrored parameter of that identifier, or null.
const AAX_IParameter* parameter(aaxhost::Instance& instance, const std::string& identifier);
// Its real value now.
double realValue(aaxhost::Instance& instance, const std::string& identifier);
// Host automation to a real value (converted through the parameter's taper).
AAX_Result setReal(aaxhost::Instance& instance, const std::string& identifier, double real);

// Lines the bridge logged (NSLog) while the capture lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string>& lines() const;
};

// Planar audio, one vector per channel.
struct Block {
    Block(unsigned channels, std::size_t frames, float fill = 0.0f);
    std::vector<std::vector<float>> samples;
    std::vector<float*> pointers;
    const float* const* input() const { return pointers.data(); }
    float* const* output() { return pointers.data(); }
};

// A test signal: a sine per channel.
Block tone(unsigned channels, std::size_t frames, double rate = 48000.0);

} // namespace bridgetest
