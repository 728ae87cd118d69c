// The nine Fennic factory presets.

#include "presets/factory_preset.h"

namespace classic {

namespace {
using namespace param;
} // namespace

const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {
        makePreset("Start", "Studio Start",
                   {{input, 24},
                    {output, 24},
                    {attack, 3},
                    {release, 5},
                    {ratio, 0},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Vocals", "Fast Vocal",
                   {{input, 29},
                    {output, 26},
                    {attack, 5},
                    {release, 6},
                    {ratio, 0},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Vocals", "Open Lead",
                   {{input, 27},
                    {output, 25},
                    {attack, 2},
                    {release, 5},
                    {ratio, 0},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Bass", "Even Bass",
                   {{input, 30},
                    {output, 26},
                    {attack, 4},
                    {release, 4},
                    {ratio, 1},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Drums", "Transient Snap",
                   {{input, 31},
                    {output, 25},
                    {attack, 1},
                    {release, 6},
                    {ratio, 1},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Drums", "All Buttons Room",
                   {{input, 33},
                    {output, 25},
                    {attack, 6},
                    {release, 7},
                    {ratio, 4},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Parallel", "Drum Crush",
                   {{input, 36},
                    {output, 28},
                    {attack, 6},
                    {release, 7},
                    {ratio, 4},
                    {mix, 35},
                    {shimmer, 0}}),
        // Attack 0 switches the gain cell off: only the stages colour the signal.
        makePreset("Color", "FET Color Only",
                   {{input, 29},
                    {output, 19},
                    {attack, 0},
                    {release, 5},
                    {ratio, 0},
                    {mix, 100},
                    {shimmer, 0}}),
        makePreset("Color", "Analog Shimmer",
                   {{input, 24},
                    {output, 24},
                    {attack, 0},
                    {release, 5},
                    {ratio, 0},
                    {mix, 100},
                    {shimmer, 30}}),
    };
    return presets;
}

} // namespace classic
