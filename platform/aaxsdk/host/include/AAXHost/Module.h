#pragma once
// An AAX plug-in module (an .aaxplugin bundle) loaded as a host loads it: the bundle opened
// through Core Foundation (so the module finds itself by its identifier), its executable
// loaded, its exported entry point asked to describe the module.

#include <AAXHost/Describe.h>

#include <CoreFoundation/CoreFoundation.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace aaxhost {

// A module that cannot be used; the text says why, in a few words.
class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Module {
    std::string path;
    std::string identifier;       // the bundle's identifier
    CFBundleRef bundle = nullptr; // +0, kept by the process-wide bundle registry
    AAX_DescribeModuleProc entryPoint = nullptr;
    ModuleDescription description;
};

// [main thread] Throws LoadError when there is no bundle at the path, its executable does not
// load or does not itself define the entry point (one found only in a library it depends on is
// not its own). The description is made even when the module's answer is
// an error (description.result says so).
std::unique_ptr<Module> loadModule(const std::string& path, const Refusals& refusals = {});

} // namespace aaxhost
