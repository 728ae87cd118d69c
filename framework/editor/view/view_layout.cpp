#include "view/view_layout.h"

#include <cmath>

ViewLayout::Plan ViewLayout::plan(const classic::Definition* rows, unsigned count, unsigned meterId,
                                  unsigned bypassId) {
    Plan plan;
    for (unsigned id = 0; id < count && id < maximumRows; ++id) {
        const classic::Definition& row = rows[id];
        if (row.isUtility) {
            plan.sliders[plan.sliderCount++] = id;
        }
        if (id == meterId || id == bypassId || row.isUtility) {
            continue;
        }
        if (row.isSwitch) {
            plan.toggles[plan.toggleCount++] = id;
        } else {
            plan.mainDials[plan.mainDialCount++] = id;
        }
    }
    return plan;
}

ViewLayout::Dial ViewLayout::mainDial(std::size_t count, std::size_t index) {
    const double i = static_cast<double>(index);
    if (count <= 2) {
        return {{index == 0 ? 350.0 : 870.0, 452}, 240, 103};
    }
    if (count == 3) {
        return {{270 + 410 * i, 452}, 190, 80};
    }
    if (count == 4) {
        return {{index % 2 == 0 ? 350.0 : 890.0, 350 + 240 * std::floor(i / 2)}, 124, 52};
    }
    return {{270 + 410 * static_cast<double>(index % 3), 350 + 240 * std::floor(i / 3)}, 124, 52};
}

CGRect ViewLayout::toggle(std::size_t mainDialCount, std::size_t index) {
    const bool upper = mainDialCount > 4;
    const double x0 = upper ? 700 : 270;
    const double y0 = upper ? 170 : 654;
    return CGRectMake(x0 + 290 * static_cast<double>(index), y0, 225, 48);
}

CGRect ViewLayout::slider(std::size_t index) {
    return CGRectMake(410, 310 + 65 * static_cast<double>(index), 600, 27);
}

CGRect ViewLayout::scaled(CGRect art) {
    return CGRectMake(art.origin.x * artScale, art.origin.y * artScale, art.size.width * artScale,
                      art.size.height * artScale);
}

bool ViewLayout::fits(const Plan& plan) {
    return plan.mainDialCount <= maximumMainDials && plan.toggleCount <= maximumToggles &&
           plan.sliderCount <= maximumSliders;
}
