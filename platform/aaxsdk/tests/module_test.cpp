// Loading a module: its entry point is the one its own executable defines, never one that a
// library the executable depends on happens to define.

#include <AAXHost/Module.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace {

TEST(Module, AnEntryPointFoundOnlyInADependencyIsRefused) {
    const std::string bundle = KELVO_ENTRYLESS_BUNDLE;
    std::string refusal;
    try {
        aaxhost::loadModule(bundle);
    } catch (const aaxhost::LoadError& error) {
        refusal = error.what();
    }
    EXPECT_EQ(refusal, "its executable does not define AAX_DescribeModule");

    // The executable was loaded and reaches the library's entry point through its handle.
    const std::string executable = bundle + "/Contents/" KELVO_BUNDLE_ARCH_FOLDER "/KelvoFixtureEntryless.so";
    void* handle = dlopen(executable.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(dlsym(handle, AAX_DescribeModuleSymbol), nullptr);
    dlclose(handle);
}

} // namespace
