#include <AAXHost/HostServices.h>

#include <AAXHost/PacketMailbox.h>

namespace aaxhost {
namespace {

template <typename Value> AAX_Result answer(bool fails, Value* out, Value value) {
    if (out == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (fails) {
        return AAX_ERROR_UNSPECIFIED;
    }
    *out = value;
    return AAX_SUCCESS;
}

} // namespace

AAX_Result Controller::GetSampleRate(AAX_CSampleRate* rate) const {
    if (failures.sampleRateThrows) {
        throw failures.sampleRateThrows; // a bool: of no exception class
    }
    return answer(failures.sampleRate, rate, sampleRate);
}

AAX_Result Controller::GetInputStemFormat(AAX_EStemFormat* format) const {
    return answer(failures.inputStem, format, inputStem);
}

AAX_Result Controller::GetOutputStemFormat(AAX_EStemFormat* format) const {
    return answer(failures.outputStem, format, outputStem);
}

AAX_Result Controller::SetSignalLatency(int32_t samples) {
    latencies.push_back(samples);
    return AAX_SUCCESS;
}

AAX_Result Controller::PostPacket(AAX_CFieldIndex index, const void* data, uint32_t size) {
    PacketMailbox* mailbox = port ? port(index) : nullptr;
    if (mailbox == nullptr) {
        return AAX_ERROR_UNSPECIFIED;
    }
    return mailbox->post(data, size) ? AAX_SUCCESS : AAX_ERROR_UNSPECIFIED;
}

AAX_Result ScriptedTransport::IsTransportPlaying(bool* playing) const {
    return answer(failures.playing, playing, state.playing);
}

AAX_Result ScriptedTransport::GetCurrentNativeSampleLocation(int64_t* sample) const {
    return answer(failures.sample, sample, state.sample);
}

AAX_Result ScriptedTransport::GetCurrentTempo(double* beatsPerMinute) const {
    return answer(failures.tempo, beatsPerMinute, state.tempo);
}

AAX_Result ScriptedTransport::GetCurrentTickPosition(int64_t* ticks) const {
    return answer(failures.ticks, ticks, state.ticks);
}

AAX_Result ScriptedTransport::GetTicksPerQuarter(uint32_t* ticks) const {
    return answer(failures.ticksPerQuarter, ticks, state.ticksPerQuarter);
}

AAX_Result ScriptedTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTick,
                                                     int64_t* endTick) const {
    if (looping == nullptr || startTick == nullptr || endTick == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (failures.loop) {
        return AAX_ERROR_UNSPECIFIED;
    }
    *looping = state.looping;
    *startTick = state.loopStartTicks;
    *endTick = state.loopEndTicks;
    return AAX_SUCCESS;
}

AAX_Result AutomationRecorder::PostSetValueRequest(AAX_CParamID parameter, double normalizedValue) {
    if (parameter == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    requests.push_back({Kind::set, parameter, normalizedValue});
    if (answer) {
        answer(parameter, normalizedValue);
    }
    return AAX_SUCCESS;
}

AAX_Result AutomationRecorder::PostTouchRequest(AAX_CParamID parameter) {
    if (parameter == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    requests.push_back({Kind::touch, parameter});
    return AAX_SUCCESS;
}

AAX_Result AutomationRecorder::PostReleaseRequest(AAX_CParamID parameter) {
    if (parameter == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    requests.push_back({Kind::release, parameter});
    return AAX_SUCCESS;
}

} // namespace aaxhost
