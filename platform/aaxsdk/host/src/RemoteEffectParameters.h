#pragma once
// What a GUI in another process than its data model holds instead of the data model: the
// host's stand-in, which carries every call across to the data model and its answer back. The
// data model answers custom data requests in its own process, whose identifier is not the
// GUI's.

#include <AAX/AAX_IEffectParameters.h>

namespace aaxhost {

class RemoteEffectParameters final : public AAX_IEffectParameters {
public:
    explicit RemoteEffectParameters(AAX_IEffectParameters& effect) : effect_(effect) {}

    AAX_Result Initialize(AAX_IController* controller, AAX_ITransport* transport,
                          AAX_IAutomationDelegate* automation) override;
    AAX_Result Uninitialize() override;
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID parameter, double value,
                                              AAX_EUpdateSource source) override;
    AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) override;
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) override;
    AAX_Result GetCustomData(AAX_CTypeID typeID, uint32_t size, void* data,
                             uint32_t* outSize) override;
    AAX_Result GenerateCoefficients() override;
    AAX_Result GetNumberOfParameters(int32_t* count) const override;
    const AAX_IParameter* GetParameterAtIndex(int32_t index) const override;
    AAX_Result GetMasterBypassParameter(AAX_CString* identifier) const override;

private:
    AAX_IEffectParameters& effect_;
};

} // namespace aaxhost
