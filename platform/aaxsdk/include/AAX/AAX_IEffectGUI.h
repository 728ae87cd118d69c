#pragma once
// AAX_IEffectGUI: an effect instance's editor, as the host drives it. The host makes one with
// the effect's AAX_eProcPtrID_Create_EffectGUI procedure for each editor window:
//   Initialize(parameters)        the instance's data model (a host that runs the GUI in
//                                 another process hands over its own stand-in for it, which
//                                 carries each call across); the GUI makes its view contents
//   SetViewContainer(container)   a window opened (null: it closed)
//   TimerWakeup()                 periodically while the GUI exists
//   GetViewSize(&size)            whenever the host lays the window out
//   delete
// Every call is [main thread]; none lets an exception out.

#include <AAX/AAX.h>
#include <AAX/AAX_GUITypes.h>

class AAX_IEffectParameters;
class AAX_IViewContainer;

class AAX_IEffectGUI {
public:
    virtual AAX_Result Initialize(AAX_IEffectParameters* parameters) = 0;
    virtual AAX_Result SetViewContainer(AAX_IViewContainer* container) = 0;
    virtual AAX_Result GetViewSize(AAX_Point* size) const = 0;
    virtual AAX_Result TimerWakeup() = 0;
    virtual ~AAX_IEffectGUI() = default;
};
