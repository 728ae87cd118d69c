#pragma once
// The module's exported entry point, through which the host learns what the plug-in offers.
// Each plug-in module compiles it in once (the aaxsdk_module library); its only work is to
// call the plug-in's GetEffectDescriptions with the host's collection.
//
// Promises: the result is GetEffectDescriptions' own; an exception that escapes it never
// reaches the host (AAX_ERROR_UNSPECIFIED instead).

#include <AAX/AAX_ICollection.h>

// The symbol a host looks up in the module.
inline constexpr const char* AAX_DescribeModuleSymbol = "AAX_DescribeModule";

typedef AAX_Result (*AAX_DescribeModuleProc)(AAX_ICollection* collection) noexcept;

extern "C" __attribute__((visibility("default"))) AAX_Result
AAX_DescribeModule(AAX_ICollection* collection) noexcept;
