#pragma once
// Where the hosts look for unit bundles and how a model name finds its bundle. A bundle is a
// directory <Product>.component; its model name is the product name without the "Kelvo"
// prefix, compared case-insensitively (KelvoTolvar.component serves "tolvar" and
// "KelvoTolvar").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvohost {

struct BundleLocation {
    std::string product;        // "KelvoTolvar"
    std::string model;          // "tolvar"
    std::filesystem::path path; // .../KelvoTolvar.component
};

// "KelvoTolvar" gives "tolvar"; a product without the prefix gives its own name, lower case.
std::string modelNameForProduct(std::string_view product);

// The folders searched, in order: the build's bundle folder (../bundles beside the program's
// own folder), then each folder of the colon-separated plug-in path (empty entries skipped).
std::vector<std::filesystem::path> searchFolders(const std::filesystem::path& programFolder,
                                                 const char* pluginPath);

// The folders for this process: the running program's folder and KELVO_PLUGIN_PATH.
std::vector<std::filesystem::path> defaultSearchFolders();

// Every *.component directory with a Contents/Info.plist directly inside the folders, in folder
// order and by name within a folder; a product found in an earlier folder hides the same product in
// a later one.
std::vector<BundleLocation> findBundles(const std::vector<std::filesystem::path>& folders);

// MODEL as the user gives it: a path to a .component directory (anything containing a '/' or
// ending in ".component"), or a model or product name looked up in the folders. Throws
// InputError naming the models that exist when nothing matches.
BundleLocation resolveModel(std::string_view model,
                            const std::vector<std::filesystem::path>& folders);

} // namespace kelvohost
