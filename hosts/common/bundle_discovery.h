#pragma once
// Where the hosts look for bundles and how a model name finds its bundle. A unit bundle is a
// directory <Product>.component; its model name is the product name without the "Kelvo"
// prefix, compared case-insensitively (KelvoTolvar.component serves "tolvar" and
// "KelvoTolvar"). An AAX bundle is <Product>AAX.aaxplugin and its model name drops the "AAX"
// suffix too (KelvoFennicAAX.aaxplugin serves "fennic", "KelvoFennicAAX").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvohost {

// What kind of bundle a host looks for, and how it names them to its user.
struct BundleKind {
    std::string_view extension; // ".component"
    std::string_view suffix;    // of the product name, dropped from the model name ("AAX")
    std::string_view what;      // what the user names: "model"
    std::string_view singular;  // "unit bundle"
    std::string_view plural;    // "unit bundles"
    std::string_view builds;    // what builds them: "the units"
};

inline constexpr BundleKind unitBundles{".component",   "",         "model", "unit bundle",
                                        "unit bundles", "the units"};
inline constexpr BundleKind aaxBundles{".aaxplugin",         "AAX",          "plug-in",
                                       "AAX plug-in bundle", "AAX plug-ins", "the AAX bridges"};

struct BundleLocation {
    std::string product;        // "KelvoTolvar"
    std::string model;          // "tolvar"
    std::filesystem::path path; // .../KelvoTolvar.component
};

// "KelvoTolvar" gives "tolvar"; a product without the prefix gives its own name, lower case.
// The kind's suffix is dropped as well ("KelvoFennicAAX" gives "fennic" for AAX bundles).
std::string modelNameForProduct(std::string_view product, const BundleKind& kind = unitBundles);

// The folders searched, in order: the build's bundle folder (../bundles beside the program's
// own folder), then each folder of the colon-separated plug-in path (empty entries skipped).
std::vector<std::filesystem::path> searchFolders(const std::filesystem::path& programFolder,
                                                 const char* pluginPath);

// The folders for this process: the running program's folder and KELVO_PLUGIN_PATH.
std::vector<std::filesystem::path> defaultSearchFolders();

// Every *.component (the kind's extension) directory with a Contents/Info.plist directly inside
// the folders, in folder order and by name within a folder; a product found in an earlier folder
// hides the same product in a later one.
std::vector<BundleLocation> findBundles(const std::vector<std::filesystem::path>& folders,
                                        const BundleKind& kind = unitBundles);

// MODEL as the user gives it: a path to a .component directory (anything containing a '/' or
// ending in the kind's extension), or a model or product name looked up in the folders. Throws
// InputError naming the models that exist when nothing matches.
BundleLocation resolveModel(std::string_view model,
                            const std::vector<std::filesystem::path>& folders,
                            const BundleKind& kind = unitBundles);

} // namespace kelvohost
