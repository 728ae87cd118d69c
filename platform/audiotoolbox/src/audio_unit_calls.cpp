// The Audio Unit calls: check the handle, call the plug-in's method.

#include "component_records.h"

#define AU_CALL(unit, method, ...)                                                                 \
    do {                                                                                           \
        if ((unit) == nullptr) {                                                                   \
            return badComponentInstance;                                                           \
        }                                                                                          \
        if ((unit)->method == nullptr) {                                                           \
            return badComponentSelector;                                                           \
        }                                                                                          \
        return (unit)->method((unit)->plugIn __VA_OPT__(, ) __VA_ARGS__);                          \
    } while (false)

extern "C" {

OSStatus AudioUnitInitialize(AudioUnit inUnit) {
    AU_CALL(inUnit, initialize);
}

OSStatus AudioUnitUninitialize(AudioUnit inUnit) {
    AU_CALL(inUnit, uninitialize);
}

OSStatus AudioUnitReset(AudioUnit inUnit, AudioUnitScope inScope, AudioUnitElement inElement) {
    AU_CALL(inUnit, reset, inScope, inElement);
}

OSStatus AudioUnitGetPropertyInfo(AudioUnit inUnit, AudioUnitPropertyID inID,
                                  AudioUnitScope inScope, AudioUnitElement inElement,
                                  UInt32* outDataSize, Boolean* outWritable) {
    AU_CALL(inUnit, getPropertyInfo, inID, inScope, inElement, outDataSize, outWritable);
}

OSStatus AudioUnitGetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, void* outData, UInt32* ioDataSize) {
    AU_CALL(inUnit, getProperty, inID, inScope, inElement, outData, ioDataSize);
}

OSStatus AudioUnitSetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, const void* inData, UInt32 inDataSize) {
    AU_CALL(inUnit, setProperty, inID, inScope, inElement, inData, inDataSize);
}

OSStatus AudioUnitAddPropertyListener(AudioUnit inUnit, AudioUnitPropertyID inID,
                                      AudioUnitPropertyListenerProc inProc, void* inProcUserData) {
    AU_CALL(inUnit, addPropertyListener, inID, inProc, inProcUserData);
}

OSStatus AudioUnitRemovePropertyListenerWithUserData(AudioUnit inUnit, AudioUnitPropertyID inID,
                                                     AudioUnitPropertyListenerProc inProc,
                                                     void* inProcUserData) {
    AU_CALL(inUnit, removePropertyListenerWithUserData, inID, inProc, inProcUserData);
}

OSStatus AudioUnitGetParameter(AudioUnit inUnit, AudioUnitParameterID inID, AudioUnitScope inScope,
                               AudioUnitElement inElement, AudioUnitParameterValue* outValue) {
    AU_CALL(inUnit, getParameter, inID, inScope, inElement, outValue);
}

OSStatus AudioUnitSetParameter(AudioUnit inUnit, AudioUnitParameterID inID, AudioUnitScope inScope,
                               AudioUnitElement inElement, AudioUnitParameterValue inValue,
                               UInt32 inBufferOffsetInFrames) {
    AU_CALL(inUnit, setParameter, inID, inScope, inElement, inValue, inBufferOffsetInFrames);
}

OSStatus AudioUnitScheduleParameters(AudioUnit inUnit, const AudioUnitParameterEvent* inEvents,
                                     UInt32 inNumEvents) {
    AU_CALL(inUnit, scheduleParameters, inEvents, inNumEvents);
}

OSStatus AudioUnitRender(AudioUnit inUnit, AudioUnitRenderActionFlags* ioActionFlags,
                         const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                         UInt32 inNumberFrames, AudioBufferList* ioData) {
    AU_CALL(inUnit, render, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}

} // extern "C"
