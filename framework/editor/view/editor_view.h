#pragma once
// KelvoView (KelvoTolvarView, KelvoRackCorvelView): the editor a host shows for one unit
// instance, a fixed-size photographic faceplate with knobs, switches and DETAIL sliders. It
// reaches the unit only through the Audio Unit calls on its handle; the 30 Hz poll brings
// controls, preset title and VU needle up to date. Main thread only.
//
// One class for every model: parameter I/O, gestures, presets, help, guide, scaling and the
// poll are written once. What a faceplate is made of comes in one of two variants, compiled
// into each bundle with its model's data: the framework faceplate, laid out from the flags of
// the parameter table (view/table_faceplate.cpp, view/faceplate_drawing.cpp), and the rack
// faceplates of Corvel and Fennic, at the fixed places of their own photographs
// (models/rack/editor and the model's editor folder). They define the members marked
// "faceplate variant" below.

#include "classes.h"
#include "controls/button.h"
#include "controls/dial.h"
#include "controls/rack_owner.h"
#include "meters/meter_block.h"

#include <AppKit/AppKit.h>
#include <AudioUnit/AudioUnit.h>

#include <cstdint>
#include <map>
#include <vector>

// Faceplate variant: the buttons a faceplate selects with besides those bound to one parameter
// each, with their state and actions (the rack faceplates' ratio and meter-mode columns and VU
// source switch, models/rack/editor); the framework faceplate has none.
class FaceplateSelectors;

class KelvoView : public NSView, public RackOwner {
public:
    // Construction without a unit; initWithUnit finishes it.
    KelvoView();
    ~KelvoView() override; // dealloc

    // Builds the view for the unit: controls, observer, first refresh. Returns nullptr when
    // the view cannot be made. The 30 Hz poll runs while the view is in a window. [main thread]
    static std::shared_ptr<KelvoView> initWithUnit(AudioUnit unit);

    bool isFlipped() const override { return true; }

    // Construction helpers (art rectangles in, frames scaled).
    std::shared_ptr<KelvoButton> button(const NSString& title, CGRect art, SEL action);
    std::shared_ptr<KelvoDial> dial(unsigned id, CGPoint centre, double hit, double radius,
                                    bool ring, const NSArray& markings);
    // A DETAIL slider over the row's range, stored under its ID.
    std::shared_ptr<NSSlider> slider(unsigned id, CGRect art);

    // Layout and modes. layoutUtility is a faceplate variant: it shows the controls of the
    // current mode.
    void layoutUtility();
    void detail(NSObject* sender);
    void resizeUI(NSPopUpButton* sender);

    // Parameter I/O.
    float value(unsigned id);
    void gesture(unsigned id, bool begin);
    void set(unsigned id, float value);
    void beginDial(NSControl* dial) override;
    void endDial(NSControl* dial) override;

    // Actions.
    void changed(NSControl* sender);
    void nextMeter(NSControl* sender);
    void initialize(NSControl* sender);
    void finish();

    // Captions and the poll.
    NSString formatted(unsigned id);
    void refresh();

    // Help mode, guide and presets: help drawing is here; the rest of help mode, the user
    // guide and the preset menu hang off these seams.
    void help(NSControl* sender);
    void guide(NSControl* sender);
    void presets(NSControl* sender);
    void updateHelp();
    // The help text for a point in the view's coordinates, and for a control.
    const char* helpAtPoint(NSPoint point) const;
    const char* helpForControl(const NSControl* control) const;
    void drawHelp();

    // The preset menu and user preset files (presets/preset_menu.cpp).
    std::shared_ptr<NSMenu> presetMenu();
    void addUserPresets(const NSURL& folder, NSMenu& menu, unsigned depth);
    void factoryPreset(NSMenuItem* item);
    void userPreset(NSMenuItem* item);
    void savePreset(NSMenuItem* item);
    void openPreset(NSMenuItem* item);
    void showPresetFolder(NSMenuItem* item);
    void notifyPreset();
    void presetError(const NSString& detail);
    const NSString& helpBanner() const { return helpText; }
    const std::shared_ptr<NSWindow>& userGuideWindow() const { return guideWindow; }

    // Faceplate variant: the whole faceplate, every frame.
    void drawRect(NSRect dirtyRect) override;
    void viewWillMoveToWindow(NSWindow* newWindow) override;

    // Read access for drawing, hosts and tests.
    AudioUnit audioUnit() const { return unit; }
    double needlePosition() const { return needle; }
    std::int64_t activeParameter() const { return active; }
    bool isUtility() const { return utility; }
    bool isHelpOn() const { return helpOn; }
    const NSString& presetName() const { return selectedPreset; }
    const TelemetryBlock& meters() const { return telemetry; }
    const std::map<unsigned, std::shared_ptr<NSControl>>& controlsById() const { return controls; }
    const std::vector<unsigned>& mainDialIds() const { return mainDials; }
    const std::shared_ptr<NSPopUpButton>& scaleMenuButton() const { return scaleMenu; }
    const std::shared_ptr<KelvoButton>& presetsButton() const { return presetButton; }
    const std::shared_ptr<NSImage>& faceplateImage() const { return faceplate; }
    // nullptr where the faceplate has none.
    FaceplateSelectors* faceplateSelectors() const { return selectors.get(); }

    // The interface size factors of the UI size pop-up's items.
    static constexpr double scaleFactors[3] = {0.75, 0.85, 1.0};

private:
    void build(AudioUnit handle);
    // The poll timer, made when the view enters a window and invalidated when it leaves.
    void startPoll();
    void stopPoll();
    // Faceplate variant: the controls after the fixed top row (dials, switches, DETAIL
    // sliders, the UI size pop-up), in subview order.
    void buildFaceplate();
    // The UI size pop-up, with its three items, as the next subview.
    void addScaleMenu(const char* const (&titles)[3]);
    // Faceplate variant, at every poll: lamps of selection buttons that are bound to no single
    // parameter (the selectors').
    void showSelections();
    // Faceplate variant: where the VU needle heads for, in VU dB, from the meter block just
    // read and the parameters.
    double needleTarget();
    // Every drawRect's first step: the faceplate composite into the bounds.
    void drawFaceplate();
    // Maps the art space (1983 by 793, y down) onto the bounds; the caller saves and restores
    // the graphics state around it.
    void enterArtSpace();
    void updatePresetTitle();
    void updateMeterTitle(NSButton* meter);
    void drawScales();
    void drawDetailPanel();

    // Declared in the view's order.
    bool helpOn = false;
    NSString helpText;
    NSString selectedPreset;
    std::shared_ptr<KelvoButton> helpButton;
    std::shared_ptr<KelvoButton> presetButton;
    AudioUnit unit = nullptr; // neither owned nor retained
    // Parameter ID to the control bound to it (main dial, switch, METER, BYPASS, slider).
    std::map<unsigned, std::shared_ptr<NSControl>> controls;
    std::shared_ptr<NSTimer> timer; // the poll; none while the view is in no window
    std::shared_ptr<NSImage> faceplate;
    TelemetryBlock telemetry{{-100, -100}, {-100, -100}, {0, 0}, {-100, -100}};
    double needle = 0;
    std::int64_t active = -1;
    bool utility = false;
    std::shared_ptr<NSWindow> guideWindow;
    std::shared_ptr<NSObject> resignObserver;
    std::shared_ptr<NSPopUpButton> scaleMenu;
    std::vector<unsigned> mainDials; // the framework faceplate's dials, in layout order
    std::shared_ptr<FaceplateSelectors> selectors; // faceplate variant; none where it has none

    // What the titles were last built from, so a poll rebuilds them only when they change.
    NSString shownPreset;
    int shownMeterCaption = -1;
    const char* shownHelp = nullptr;
};
