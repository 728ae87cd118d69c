#pragma once
// The build constants of KelvoFennicAAX: the bridge for the Fennic FET compressor.

#include <AAX/AAX.h>

#include <cstdint>

namespace kelvoaax::product {

inline constexpr const char* name = "KelvoFennic"; // effect, package and component name
inline constexpr const char* identifier = "com.kelvo.KelvoFennicAAX"; // the AAX bundle's
inline constexpr uint32_t category = AAX_ePlugInCategory_Dynamics;
inline constexpr uint32_t productID = 'Fenn'; // also the unit's subtype and the chunk's product
inline constexpr uint32_t monoNativeID = 0x3D81C5A2;
inline constexpr uint32_t stereoNativeID = 0x6F2E94B7;
inline constexpr const char* backendBundle = "KelvoFennic.component"; // in Resources/Backend
inline constexpr const char* factoryName = "KelvoFennicFactory";

} // namespace kelvoaax::product
