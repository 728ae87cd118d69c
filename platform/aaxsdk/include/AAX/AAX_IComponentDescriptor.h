#pragma once
// AAX_IComponentDescriptor: one processing component of an effect: its algorithm context
// (the fields its process procedure receives) and its property map.
//
// The algorithm context is an array of pointers, one per declared field, at the field's index;
// what each points at while the process procedure runs:
//   audio input            float* const* : the input channels (the array may be null)
//   audio output           float* const* : the output channels
//   audio buffer length    int32_t*      : frames in this call (may be null; never trust < 0)
//   clock                  int64_t*      : the host's running sample clock (may be null)
//   data-in port           const void*   : the packet posted last to that port, or null before
//                                          the first one
//   private data           void*         : the instance's own block of the declared size

#include <AAX/AAX_IPropertyMap.h>

class AAX_IComponentDescriptor {
public:
    virtual ~AAX_IComponentDescriptor() = default;

    // [main thread] Field declarations; each returns AAX_SUCCESS or an error result.
    virtual AAX_Result AddAudioIn(AAX_CFieldIndex index) = 0;
    virtual AAX_Result AddAudioOut(AAX_CFieldIndex index) = 0;
    virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex index) = 0;
    virtual AAX_Result AddClock(AAX_CFieldIndex index) = 0;
    virtual AAX_Result AddDataInPort(AAX_CFieldIndex index, uint32_t packetSize,
                                     AAX_EDataInPortType type) = 0;
    virtual AAX_Result AddPrivateData(AAX_CFieldIndex index, int32_t size,
                                      uint32_t options) = 0; // AAX_EPrivateDataOptions bits

    // [main thread] A new, empty property map owned by the host, or null.
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    // [main thread] Declares the component's process procedure with its properties (among
    // them AAX_eProperty_NativeProcessProc).
    virtual AAX_Result AddProcessProc(AAX_IPropertyMap* properties) = 0;
};
