#pragma once
// AAX_IController: what the host tells an effect instance about its setting, and how the
// instance talks back. The host hands it to AAX_IEffectParameters::Initialize and keeps it
// alive until Uninitialize.
//
// Promises (of every host): the queries may fail (an error result, the out value untouched);
// they never block. A posted packet is copied at once: the caller may reuse its buffer.

#include <AAX/AAX.h>

class AAX_IController {
public:
    virtual ~AAX_IController() = default;

    // [main thread]
    virtual AAX_Result GetSampleRate(AAX_CSampleRate* rate) const = 0;
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const = 0;
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const = 0;
    // [main thread] The instance's processing delay in samples.
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
    // [main thread] Hands a packet to the data-in port at that field index; later process
    // calls see it (AAX_eDataInPortType_Buffered). The packet dispatcher uses this.
    virtual AAX_Result PostPacket(AAX_CFieldIndex port, const void* data, uint32_t size) = 0;
};
