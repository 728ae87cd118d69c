#pragma once
// AAX_IEffectParameters: an effect instance's data model, as the host drives it. The host
// makes one with the effect's AAX_eProcPtrID_Create_EffectParameters procedure, initialises
// it, changes its parameters, asks it for its state, and deletes it.
//
// The host's side of the conversation:
//   Initialize(controller, transport, automation)     once, before anything else
//   GenerateCoefficients()                            after Initialize and after updates:
//                                                     posts the packets of changed values
//   ResetFieldData(field, block, size)                for each private-data field
//   UpdateParameterNormalizedValue(id, value, source) host automation, answered set requests
//   chunk calls, GetCustomData                        saving, comparing, restoring the state
//   Uninitialize(), then delete
//
// Every call is [main thread] and returns AAX_SUCCESS or an error result; none lets an
// exception out. Out pointers must not be null (AAX_ERROR_NULL_ARGUMENT), except outSize of
// GetCustomData.

#include <AAX/AAX.h>
#include <AAX/AAX_SPlugInChunk.h>

class AAX_IController;
class AAX_ITransport;
class AAX_IAutomationDelegate;
class AAX_IParameter;
class AAX_CString;

class AAX_IEffectParameters {
public:
    // The host's objects stay valid until Uninitialize returns; transport and automation may
    // be null (a host without them).
    virtual AAX_Result Initialize(AAX_IController* controller, AAX_ITransport* transport,
                                  AAX_IAutomationDelegate* automation) = 0;
    virtual AAX_Result Uninitialize() = 0;
    virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID parameter, double value,
                                                      AAX_EUpdateSource source) = 0;
    // field: the index of a private-data field; data: its block, size bytes.
    virtual AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) = 0;
    virtual AAX_Result GetNumberOfChunks(int32_t* count) const = 0;
    virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const = 0;
    virtual AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) = 0;
    virtual AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) = 0;
    virtual AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) = 0;
    virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) = 0;
    // Data of the type into size bytes at data; *outSize (when given) the bytes written.
    virtual AAX_Result GetCustomData(AAX_CTypeID typeID, uint32_t size, void* data,
                                     uint32_t* outSize) = 0;
    virtual ~AAX_IEffectParameters() = default;

    // Packets of changed parameters to their ports.
    virtual AAX_Result GenerateCoefficients() = 0;
    // The parameters, in the order the effect added them.
    virtual AAX_Result GetNumberOfParameters(int32_t* count) const = 0;
    virtual const AAX_IParameter* GetParameterAtIndex(int32_t index) const = 0; // or null
    // The master bypass parameter's identifier; AAX_ERROR_INVALID_PARAMETER_ID (and an empty
    // text) when the effect has none.
    virtual AAX_Result GetMasterBypassParameter(AAX_CString* identifier) const = 0;
};
