#pragma once
// AAX_CEffectGUI: the SDK's base of an effect's editor. A plug-in derives from it and makes
// its view in CreateViewContents, shows it in CreateViewContainer and takes it away in
// DeleteViewContainer.
//
// What the base does:
// - Initialize stores the data model (GetEffectParameters) and calls CreateViewContents.
// - SetViewContainer with a container stores it and calls CreateViewContainer; with null it
//   calls DeleteViewContainer (while the old one is still reachable) and forgets it. A second
//   container replaces the first the same way.
// - GetViewSize reports 0 by 0 points and TimerWakeup does nothing, until overridden.
// - An exception from the plug-in's code does not leave a host call (AAX_ERROR_UNSPECIFIED).

#include <AAX/AAX_IEffectGUI.h>
#include <AAX/AAX_IViewContainer.h>

class AAX_CEffectGUI : public AAX_IEffectGUI {
public:
    AAX_Result Initialize(AAX_IEffectParameters* parameters) final;
    AAX_Result SetViewContainer(AAX_IViewContainer* container) final;
    AAX_Result GetViewSize(AAX_Point* size) const override;
    AAX_Result TimerWakeup() override;
    ~AAX_CEffectGUI() override;

protected:
    virtual void CreateViewContents() {}
    virtual void CreateViewContainer() {}
    virtual void DeleteViewContainer() {}

    // The data model, or the host's stand-in for one in another process; null before
    // Initialize.
    AAX_IEffectParameters* GetEffectParameters() const { return parameters_; }
    AAX_IViewContainer* GetViewContainer() const { return container_; }
    // AAX_EViewContainer_Type of the container; AAX_eViewContainer_Type_NULL without one.
    int32_t GetViewContainerType() const;
    void* GetViewContainerPtr() const; // the container's native view, or null

private:
    AAX_IEffectParameters* parameters_ = nullptr;
    AAX_IViewContainer* container_ = nullptr;
};
