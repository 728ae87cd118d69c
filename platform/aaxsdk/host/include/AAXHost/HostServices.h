#pragma once
// What the host offers an effect instance: its controller, a transport whose answers the host
// scripts block by block, and the automation delegate that records the parameter requests the
// effect makes. Each can be told to fail, to see how an effect copes.

#include <AAX/AAX_IAutomationDelegate.h>
#include <AAX/AAX_IController.h>
#include <AAX/AAX_ITransport.h>

#include <functional>
#include <string>
#include <vector>

namespace aaxhost {

class PacketMailbox;

class Controller final : public AAX_IController {
public:
    // Queries that answer AAX_ERROR_UNSPECIFIED instead.
    struct Failures {
        bool sampleRate = false;
        bool inputStem = false;
        bool outputStem = false;
        bool sampleRateThrows = false; // throws something that is no std::exception
    };

    AAX_CSampleRate sampleRate = 48000.0f;
    AAX_EStemFormat inputStem = AAX_eStemFormat_Stereo;
    AAX_EStemFormat outputStem = AAX_eStemFormat_Stereo;
    Failures failures;
    std::vector<int32_t> latencies; // every SetSignalLatency, in order
    // Where packets go: the mailbox of the port at each field index (null: no such port).
    std::function<PacketMailbox*(AAX_CFieldIndex)> port;

    AAX_Result GetSampleRate(AAX_CSampleRate* rate) const override;
    AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result SetSignalLatency(int32_t samples) override;
    AAX_Result PostPacket(AAX_CFieldIndex port, const void* data, uint32_t size) override;
};

// The transport. The host sets state (and failures) on the render thread before each process
// call; the effect reads it during the call.
class ScriptedTransport final : public AAX_ITransport {
public:
    struct State {
        bool playing = false;
        int64_t sample = 0; // the block's first frame on the timeline
        double tempo = 120.0;
        int64_t ticks = 0;
        uint32_t ticksPerQuarter = 960000;
        bool looping = false;
        int64_t loopStartTicks = 0;
        int64_t loopEndTicks = 0;
    };
    // Queries that answer AAX_ERROR_UNSPECIFIED.
    struct Failures {
        bool playing = false;
        bool sample = false;
        bool tempo = false;
        bool ticks = false;
        bool ticksPerQuarter = false;
        bool loop = false;
    };

    State state;
    Failures failures;

    AAX_Result IsTransportPlaying(bool* playing) const override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* sample) const override;
    AAX_Result GetCurrentTempo(double* beatsPerMinute) const override;
    AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) const override;
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick,
                                      int64_t* endTick) const override;
};

// The automation delegate: records every request; answers set requests through `answer`
// (the host's update of the parameter), when one is installed.
class AutomationRecorder final : public AAX_IAutomationDelegate {
public:
    enum class Kind { set, touch, release };
    struct Request {
        Kind kind;
        std::string parameter;
        double normalized = 0.0; // set requests
    };

    std::vector<Request> requests;
    std::function<void(const std::string& parameter, double normalized)> answer;

    AAX_Result PostSetValueRequest(AAX_CParamID parameter, double normalizedValue) override;
    AAX_Result PostTouchRequest(AAX_CParamID parameter) override;
    AAX_Result PostReleaseRequest(AAX_CParamID parameter) override;
};

} // namespace aaxhost
