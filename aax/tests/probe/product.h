#pragma once
// The build constants of KelvoProbeAAX: the bridge built for the tests' probe unit.

#include <AAX/AAX.h>

#include <cstdint>

namespace kelvoaax::product {

inline constexpr const char* name = "KelvoProbe";
inline constexpr const char* identifier = "com.kelvo.tests.KelvoProbeAAX";
inline constexpr uint32_t category = AAX_ePlugInCategory_EQ;
inline constexpr uint32_t productID = 'Prob';
inline constexpr uint32_t monoNativeID = 0x50524F31;
inline constexpr uint32_t stereoNativeID = 0x50524F32;
inline constexpr const char* backendBundle = "KelvoProbe.component";
inline constexpr const char* factoryName = "KelvoProbeFactory";

} // namespace kelvoaax::product
