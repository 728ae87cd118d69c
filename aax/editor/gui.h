#pragma once
// kelvoaax::GUI: the bridge's editor object, one per editor window. It shows the hosted unit's
// own editor, which it reaches through the data model's custom data 'KAUI' (the process and
// the unit), in the host's Cocoa view container, and keeps the host told of the editor's
// size. When no editor can be made it shows a plain text field that says why.
//
// All of it runs on the host's main thread.

#include <AAX/AAX_CEffectGUI.h>
#include <AppKit/AppKit.h>

#include <cstdint>
#include <memory>

namespace kelvoaax {

class Model;

class GUI final : public AAX_CEffectGUI {
public:
    // [main thread] A new editor object with no view; null when it cannot be made.
    static AAX_IEffectGUI* Create() noexcept;

    GUI();

    // [main thread] The view's size, or 600 by 100 points before there is a view.
    AAX_Result GetViewSize(AAX_Point* size) const override;
    // [main thread] The host's periodic call: the first after a container was given reports
    // the view's size, later ones each change of it.
    AAX_Result TimerWakeup() override;
    ~GUI() override;

protected:
    // [main thread]
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;

private:
    void show(std::shared_ptr<NSView> view);
    // Whether the view is an editor whose unit the model has disposed of since.
    bool outlivedItsUnit() const;

    std::shared_ptr<NSView> view_; // the unit's editor or the fallback field; may be null
    AAX_Point lastSize_{0.0f, 0.0f};
    bool sizeSent_ = false; // lastSize_ was accepted since the container was given
    // The model whose unit the editor was made for, and how many units it had disposed of
    // then; null for the fallback field.
    Model* model_ = nullptr;
    uint64_t unitsDisposedBefore_ = 0;
};

} // namespace kelvoaax
