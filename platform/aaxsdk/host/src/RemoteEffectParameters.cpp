#include "RemoteEffectParameters.h"

#include <AppKit/AppKitHost.h>

#include <unistd.h>

namespace aaxhost {

AAX_Result RemoteEffectParameters::Initialize(AAX_IController* controller,
                                              AAX_ITransport* transport,
                                              AAX_IAutomationDelegate* automation) {
    return effect_.Initialize(controller, transport, automation);
}

AAX_Result RemoteEffectParameters::Uninitialize() {
    return effect_.Uninitialize();
}

AAX_Result RemoteEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID parameter,
                                                                  double value,
                                                                  AAX_EUpdateSource source) {
    return effect_.UpdateParameterNormalizedValue(parameter, value, source);
}

AAX_Result RemoteEffectParameters::ResetFieldData(AAX_CFieldIndex field, void* data,
                                                  uint32_t size) {
    return effect_.ResetFieldData(field, data, size);
}

AAX_Result RemoteEffectParameters::GetNumberOfChunks(int32_t* count) const {
    return effect_.GetNumberOfChunks(count);
}

AAX_Result RemoteEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const {
    return effect_.GetChunkIDFromIndex(index, chunkID);
}

AAX_Result RemoteEffectParameters::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) {
    return effect_.GetChunkSize(chunkID, size);
}

AAX_Result RemoteEffectParameters::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) {
    return effect_.GetChunk(chunkID, chunk);
}

AAX_Result RemoteEffectParameters::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) {
    return effect_.SetChunk(chunkID, chunk);
}

AAX_Result RemoteEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                                      bool* isEqual) {
    return effect_.CompareActiveChunk(chunk, isEqual);
}

AAX_Result RemoteEffectParameters::GetCustomData(AAX_CTypeID typeID, uint32_t size, void* data,
                                                 uint32_t* outSize) {
    // The data model answers in its own process: this one's parent stands in for it, an
    // identifier that is certainly not this process's.
    appkit::setProcessIdentifier(static_cast<int>(::getppid()));
    const AAX_Result result = effect_.GetCustomData(typeID, size, data, outSize);
    appkit::setProcessIdentifier(0);
    return result;
}

AAX_Result RemoteEffectParameters::GenerateCoefficients() {
    return effect_.GenerateCoefficients();
}

AAX_Result RemoteEffectParameters::GetNumberOfParameters(int32_t* count) const {
    return effect_.GetNumberOfParameters(count);
}

const AAX_IParameter* RemoteEffectParameters::GetParameterAtIndex(int32_t index) const {
    return effect_.GetParameterAtIndex(index);
}

AAX_Result RemoteEffectParameters::GetMasterBypassParameter(AAX_CString* identifier) const {
    return effect_.GetMasterBypassParameter(identifier);
}

} // namespace aaxhost
