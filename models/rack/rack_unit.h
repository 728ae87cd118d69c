#pragma once
// The unit class of the rack series (KelvoCorvel, KelvoFennic): the framework's `Processor`
// with the rack differences. Three of them are the model's data, which the framework already
// reads from `classic::model`: the meter property 'KCRM' (same `Telemetry` layout and size),
// the rack view factory class named by the Cocoa view property, and the model's Bypass ID
// behind the host's bypass property. The fourth is the class itself: it is named after the
// product, and the bundle's exported <Product>Factory creates it. Everything else (value
// strings from `classic::choices`, state, presets, render, meters) is Processor's unchanged.
//
// The build names the class: KELVO_RACK_UNIT is the product (kelvo_add_rack_model).

#include "model.h"
#include "processor/processor.h"

#include <string_view>

#ifndef KELVO_RACK_UNIT
#error "KELVO_RACK_UNIT names the rack unit class; build it with kelvo_add_rack_model"
#endif

namespace classic::rack {

// "KelvoCorvel" -> "KelvoRackCorvelFactory": the rack view factory of a product.
constexpr bool isRackViewFactory(std::string_view product, std::string_view factory) {
    constexpr std::string_view maker = "Kelvo";
    constexpr std::string_view series = "Rack";
    constexpr std::string_view suffix = "Factory";
    if (!product.starts_with(maker)) {
        return false;
    }
    const std::string_view name = product.substr(maker.size());
    return factory.size() == maker.size() + series.size() + name.size() + suffix.size() &&
           factory.starts_with(maker) && factory.substr(maker.size()).starts_with(series) &&
           factory.substr(maker.size() + series.size()).starts_with(name) &&
           factory.ends_with(suffix);
}

static_assert(model.meterProperty == rackMeterProperty,
              "rack units publish their meters as 'KCRM'");
static_assert(isRackViewFactory(model.product, model.viewFactoryClass),
              "rack units name the rack view factory of their product");
static_assert(isRackViewFactory("KelvoFennic", "KelvoRackFennicFactory") &&
              !isRackViewFactory("KelvoFennic", "KelvoFennicViewFactory"));

} // namespace classic::rack

class KELVO_RACK_UNIT final : public Processor {
public:
    // [main thread] As Processor: defaults, preset 0 current, meters at the floor.
    explicit KELVO_RACK_UNIT(AudioComponentInstance instance) : Processor(instance) {}
};
