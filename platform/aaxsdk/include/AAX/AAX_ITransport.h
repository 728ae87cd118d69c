#pragma once
// AAX_ITransport: the host's transport, as the effect sees it during a process call.
//
// Promises (of every host): each query may fail (an error result, the out values untouched);
// none allocates, locks or blocks, so the process procedure may ask once per block. Positions
// describe the first frame of the block being processed. Ticks count from the timeline's
// start; GetTicksPerQuarter tells how many make a quarter note.

#include <AAX/AAX.h>

class AAX_ITransport {
public:
    virtual ~AAX_ITransport() = default;

    // [render thread]
    virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sample) const = 0;
    virtual AAX_Result GetCurrentTempo(double* beatsPerMinute) const = 0;
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) const = 0;
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick,
                                              int64_t* endTick) const = 0;
};
