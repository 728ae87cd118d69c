#pragma once
// AAX_CEffectParameters: the SDK's base of an effect's data model. A plug-in derives from it,
// adds its parameters in EffectInit, and overrides what it handles itself.
//
// What the base does:
// - Initialize stores the host's controller, transport and automation delegate, connects the
//   parameter manager and packet dispatcher to them, then returns EffectInit's result.
// - Uninitialize disconnects them (the parameters stay) and returns AAX_SUCCESS.
// - UpdateParameterNormalizedValue applies the value to the parameter (SetNormalizedValue)
//   and marks its packet dirty; AAX_ERROR_INVALID_PARAMETER_ID for an unknown identifier.
// - GenerateCoefficients dispatches the dirty packets (AAX_CPacketDispatcher.h).
// - ResetFieldData zero-fills the block.
// - Chunks: the base offers none (count 0; other chunk calls AAX_ERROR_INVALID_CHUNK_ID or
//   AAX_ERROR_INVALID_CHUNK_INDEX).
// - GetCustomData has no data of any type: *outSize = 0 and AAX_SUCCESS.
// - The master bypass parameter is the one added under cDefaultMasterBypassID, if any.
// - An exception from the plug-in's code (EffectInit, packet handlers) does not leave a host
//   call: it becomes AAX_ERROR_UNSPECIFIED.

#include <AAX/AAX_CPacketDispatcher.h>
#include <AAX/AAX_CParameterManager.h>
#include <AAX/AAX_IEffectParameters.h>

class AAX_CEffectParameters : public AAX_IEffectParameters {
public:
    AAX_CEffectParameters();

    AAX_Result Initialize(AAX_IController* controller, AAX_ITransport* transport,
                          AAX_IAutomationDelegate* automation) final;
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
    ~AAX_CEffectParameters() override;

    AAX_Result GenerateCoefficients() final;
    AAX_Result GetNumberOfParameters(int32_t* count) const final;
    const AAX_IParameter* GetParameterAtIndex(int32_t index) const final;
    AAX_Result GetMasterBypassParameter(AAX_CString* identifier) const final;

protected:
    // [main thread] The plug-in's initialisation, called by Initialize.
    virtual AAX_Result EffectInit() { return AAX_SUCCESS; }

    // [main thread; Transport() on any thread] The host's objects, null before Initialize.
    AAX_IController* Controller() const { return controller_; }
    AAX_ITransport* Transport() const { return transport_; }

    AAX_CParameterManager mParameterManager;
    AAX_CPacketDispatcher mPacketDispatcher;

private:
    AAX_IController* controller_ = nullptr;
    AAX_ITransport* transport_ = nullptr;
};
