#pragma once
// What the AAX host received from an instance and its editor, one line each, in the order it
// arrived:
//     touch au_0
//     value au_0 = 25.371 (normalized 0.528563)
//     release au_0
//     size 1500 × 599.8487
// Parameters by AAX identifier, values as the host's automation was asked to set them (the
// real value through the parameter's taper), and each size the editor asked its window to
// take ("refused" after one the window did not take).

#include "parameter_values.h"

#include <AAXHost/HostServices.h>
#include <AAXHost/ViewContainer.h>

#include <cstddef>
#include <string>
#include <vector>

namespace kelvohost {

class HostReceipts {
public:
    // The instance's automation delegate and parameters, both outliving this. [main thread]
    HostReceipts(const aaxhost::AutomationRecorder& automation,
                 const std::vector<HostParameter>& parameters);

    // A request of the editor's container, in turn with the automation's. [main thread]
    void sizeRequested(const aaxhost::CocoaViewContainer::Request& request);

    std::vector<std::string> lines() const;

private:
    struct Size {
        std::size_t after; // automation requests received before it
        aaxhost::CocoaViewContainer::Request request;
    };
    std::string requestLine(const aaxhost::AutomationRecorder::Request& request) const;

    const aaxhost::AutomationRecorder& automation_;
    const std::vector<HostParameter>& parameters_;
    std::vector<Size> sizes_;
};

} // namespace kelvohost
