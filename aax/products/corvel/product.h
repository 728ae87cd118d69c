#pragma once
// The build constants of KelvoCorvelAAX: the bridge for the Corvel preamplifier and equaliser.

#include <AAX/AAX.h>

#include <cstdint>

namespace kelvoaax::product {

inline constexpr const char* name = "KelvoCorvel"; // effect, package and component name
inline constexpr const char* identifier = "com.kelvo.KelvoCorvelAAX"; // the AAX bundle's
inline constexpr uint32_t category = AAX_ePlugInCategory_EQ;
inline constexpr uint32_t productID = 'Corv'; // also the unit's subtype and the chunk's product
inline constexpr uint32_t monoNativeID = 0x9C47D13E;
inline constexpr uint32_t stereoNativeID = 0xB5168E4F;
inline constexpr const char* backendBundle = "KelvoCorvel.component"; // in Resources/Backend
inline constexpr const char* factoryName = "KelvoCorvelFactory";

} // namespace kelvoaax::product
