#pragma once
// The AAX SDK's scalar types, the result codes, and the numbers a plug-in declares itself with.
//
// Promises:
// - Four-character codes (AAX_CTypeID) are 32-bit unsigned integers, first character in the
//   most significant byte: 'Kvlo' is 0x4B766C6F.
// - Every call that can fail returns an AAX_Result; AAX_SUCCESS (0) is the only success.
// - Parameter identifiers are zero-terminated UTF-8 texts that the callee copies.

#include <cstdint>

typedef int32_t AAX_Result;
typedef uint32_t AAX_CTypeID;
typedef const char* AAX_CParamID;
typedef int32_t AAX_CFieldIndex; // a field's position in the algorithm context
typedef uint32_t AAX_CPropertyValue;
typedef float AAX_CSampleRate;

// Result codes, named by what they report.
enum : AAX_Result {
    AAX_SUCCESS = 0,
    AAX_ERROR_INVALID_PARAMETER_ID = -20001, // no parameter of that identifier, or unreadable
    AAX_ERROR_NULL_OBJECT = -20004,          // an object the call needs was not given
    AAX_ERROR_INVALID_CHUNK_INDEX = -20006,
    AAX_ERROR_INVALID_CHUNK_ID = -20007, // unknown chunk, or a chunk that is not ours
    AAX_ERROR_INCORRECT_CHUNK_SIZE = -20008,
    AAX_ERROR_INITIALIZATION_FAILED = -20011,
    AAX_ERROR_NULL_ARGUMENT = -20044,
    AAX_ERROR_UNSPECIFIED = -20045, // anything else that failed
};

// Property IDs of a component's property map.
enum AAX_EProperty : int32_t {
    AAX_eProperty_ManufacturerID = 11,
    AAX_eProperty_ProductID = 12,
    AAX_eProperty_PlugInID_Native = 13,   // the component's native plug-in type ID
    AAX_eProperty_NativeProcessProc = 36, // pointer property: the AAX_CProcessProc
    AAX_eProperty_InputStemFormat = 51,
    AAX_eProperty_OutputStemFormat = 52,
    AAX_eProperty_CanBypass = 60,
};

// Channel layouts. The channel count is the low 16 bits.
enum AAX_EStemFormat : uint32_t {
    AAX_eStemFormat_Mono = 0x00001,
    AAX_eStemFormat_Stereo = 0x10002,
};

enum AAX_EPlugInCategory : uint32_t {
    AAX_ePlugInCategory_EQ = 1,
    AAX_ePlugInCategory_Dynamics = 2,
};

// Data-in port types. A buffered port hands every process call the packet posted last; the
// host copies a posted packet, so the plug-in may reuse its own buffer at once.
enum AAX_EDataInPortType : uint32_t {
    AAX_eDataInPortType_Buffered = 1,
};

// Private-data options (bits). With ResetByPlugIn the host hands the block to the effect's
// ResetFieldData after initialisation and whenever it resets the instance; without it the
// host zero-fills the block itself.
enum AAX_EPrivateDataOptions : uint32_t {
    AAX_ePrivateDataOptions_ResetByPlugIn = 4,
};

// The procedures an effect descriptor names (AddProcPtr).
enum AAX_EProcPtrID : int32_t {
    AAX_eProcPtrID_Create_EffectParameters = 0, // AAX_CreateEffectParametersProc
    AAX_eProcPtrID_Create_EffectGUI = 1,        // AAX_CreateEffectGUIProc
};

enum AAX_EParameterType : int32_t {
    AAX_eParameterType_Discrete = 0,
    AAX_eParameterType_Continuous = 1,
};

// Who changed a parameter, as the host tells UpdateParameterNormalizedValue.
enum AAX_EUpdateSource : int32_t {
    AAX_eUpdateSource_Unspecified = 0,
    AAX_eUpdateSource_Parameter = 1, // the host's automation or control surface
    AAX_eUpdateSource_Chunk = 2,     // a restored chunk
};

class AAX_IEffectParameters;
class AAX_IEffectGUI;

// [main thread] The procedures behind AAX_eProcPtrID_Create_*: a new object the host owns and
// deletes through its virtual destructor, or null.
typedef AAX_IEffectParameters* (*AAX_CreateEffectParametersProc)() noexcept;
typedef AAX_IEffectGUI* (*AAX_CreateEffectGUIProc)() noexcept;

// [render thread] The native process procedure: instancesBegin to instancesEnd (one past the
// last) is the host's array of algorithm context pointers, one per instance; an entry may be
// null. A context is an array of pointers indexed by field (AAX_IComponentDescriptor.h).
typedef void (*AAX_CProcessProc)(void* const instancesBegin[], const void* instancesEnd) noexcept;

// The identifier of the effect's master bypass parameter: a parameter added under it is named
// to the host as the control that bypasses the effect.
inline constexpr const char* cDefaultMasterBypassID = "MasterBypassID";
