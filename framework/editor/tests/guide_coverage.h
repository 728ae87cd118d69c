#pragma once
// What every model's user guide holds: a paragraph per control, written as the faceplate
// names it ("Gain: ...", "Input Trim (DETAIL): ...", "METER: ..."), the buttons and the
// sections a producer looks for.

#include "model.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

namespace editortest {

inline std::string readGuide(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The guide of this model (its model.h), whose name in capitals is modelName ("TOLVAR").
inline void expectGuideCoversEveryControl(const std::string& guide, const std::string& modelName) {
    ASSERT_FALSE(guide.empty());
    EXPECT_TRUE(NSString(std::string_view(guide))) << "not UTF-8";
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        const std::string name = classic::definitions[id].name;
        // Meter and Bypass are buttons, written as the faceplate writes them.
        const std::string shown = id == classic::model.meterId    ? "METER"
                                  : id == classic::model.bypassId ? "BYPASS"
                                                                  : name;
        EXPECT_TRUE(guide.find("\n" + shown + ":") != std::string::npos ||
                    guide.find("\n" + shown + " (DETAIL):") != std::string::npos)
            << shown;
    }
    for (const char* button : {"INIT:", "DETAIL:", "GUIDE:", "?:", "PRESETS:", "UI size"}) {
        EXPECT_NE(guide.find(std::string("\n") + button), std::string::npos) << button;
    }
    for (const std::string& section :
         {"WHAT " + modelName + " IS", "WHY " + modelName + " BELONGS IN THE ORVELLA SERIES",
          std::string("SIGNAL PATH"), std::string("THE CONTROLS"),
          "Kelvo Audio Lab/" + std::string(classic::model.product) + "/User Presets"}) {
        EXPECT_NE(guide.find(section), std::string::npos) << section;
    }
}

} // namespace editortest
