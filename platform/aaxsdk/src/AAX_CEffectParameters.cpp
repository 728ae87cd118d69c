#include <AAX/AAX_CEffectParameters.h>

#include <AAX/AAX_CString.h>

#include <cstring>

AAX_CEffectParameters::AAX_CEffectParameters() = default;
AAX_CEffectParameters::~AAX_CEffectParameters() = default;

AAX_Result AAX_CEffectParameters::Initialize(AAX_IController* controller, AAX_ITransport* transport,
                                             AAX_IAutomationDelegate* automation) {
    controller_ = controller;
    transport_ = transport;
    mParameterManager.Initialize(automation);
    mPacketDispatcher.Initialize(controller);
    try {
        return EffectInit();
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

AAX_Result AAX_CEffectParameters::Uninitialize() {
    mParameterManager.Initialize(nullptr);
    mPacketDispatcher.Initialize(nullptr);
    controller_ = nullptr;
    transport_ = nullptr;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID parameter,
                                                                 double value, AAX_EUpdateSource) {
    AAX_IParameter* target = mParameterManager.GetParameterByID(parameter);
    if (target == nullptr) {
        return AAX_ERROR_INVALID_PARAMETER_ID;
    }
    target->SetNormalizedValue(value);
    return mPacketDispatcher.SetDirty(parameter);
}

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex, void* data, uint32_t size) {
    if (data == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    std::memset(data, 0, size);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const {
    if (count == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *count = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t, AAX_CTypeID* chunkID) const {
    return chunkID == nullptr ? AAX_ERROR_NULL_ARGUMENT : AAX_ERROR_INVALID_CHUNK_INDEX;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID, uint32_t* size) {
    return size == nullptr ? AAX_ERROR_NULL_ARGUMENT : AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID, AAX_SPlugInChunk* chunk) {
    return chunk == nullptr ? AAX_ERROR_NULL_ARGUMENT : AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID, const AAX_SPlugInChunk* chunk) {
    return chunk == nullptr ? AAX_ERROR_NULL_ARGUMENT : AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) {
    if (chunk == nullptr || isEqual == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *isEqual = false;
    return AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID, uint32_t, void*, uint32_t* outSize) {
    if (outSize != nullptr) {
        *outSize = 0;
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients() {
    try {
        return mPacketDispatcher.Dispatch();
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const {
    if (count == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    *count = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

const AAX_IParameter* AAX_CEffectParameters::GetParameterAtIndex(int32_t index) const {
    return mParameterManager.GetParameter(index);
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_CString* identifier) const {
    if (identifier == nullptr) {
        return AAX_ERROR_NULL_ARGUMENT;
    }
    if (mParameterManager.GetParameterByID(cDefaultMasterBypassID) == nullptr) {
        identifier->Set("");
        return AAX_ERROR_INVALID_PARAMETER_ID;
    }
    identifier->Set(cDefaultMasterBypassID);
    return AAX_SUCCESS;
}
