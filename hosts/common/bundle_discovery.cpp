#include "bundle_discovery.h"

#include "host_error.h"
#include "text_match.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <system_error>

namespace kelvohost {
namespace {

constexpr std::string_view productPrefix = "kelvo";

bool looksLikePath(std::string_view text, const BundleKind& kind) {
    return text.find('/') != std::string_view::npos || text.ends_with(kind.extension);
}

BundleLocation locationFor(const std::filesystem::path& path, const BundleKind& kind) {
    BundleLocation location;
    location.product = path.stem().string();
    location.model = modelNameForProduct(location.product, kind);
    location.path = path;
    return location;
}

} // namespace

std::string modelNameForProduct(std::string_view product, const BundleKind& kind) {
    std::string lower = asciiLower(product);
    const std::string suffix = asciiLower(kind.suffix);
    if (!suffix.empty() && lower.size() > suffix.size() && lower.ends_with(suffix)) {
        lower.erase(lower.size() - suffix.size());
    }
    if (lower.size() > productPrefix.size() && lower.starts_with(productPrefix)) {
        lower.erase(0, productPrefix.size());
    }
    return lower;
}

std::vector<std::filesystem::path> searchFolders(const std::filesystem::path& programFolder,
                                                 const char* pluginPath) {
    std::vector<std::filesystem::path> folders;
    if (!programFolder.empty()) {
        folders.push_back((programFolder / ".." / "bundles").lexically_normal());
    }
    if (pluginPath != nullptr) {
        std::string_view rest(pluginPath);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            const std::string_view entry = rest.substr(0, colon);
            if (!entry.empty()) {
                folders.emplace_back(std::string(entry));
            }
            if (colon == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(colon + 1);
        }
    }
    return folders;
}

std::vector<std::filesystem::path> defaultSearchFolders() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return searchFolders(ec ? std::filesystem::path() : program.parent_path(),
                         std::getenv("KELVO_PLUGIN_PATH"));
}

std::vector<BundleLocation> findBundles(const std::vector<std::filesystem::path>& folders,
                                        const BundleKind& kind) {
    std::vector<BundleLocation> found;
    std::set<std::string> products;
    for (const auto& folder : folders) {
        std::error_code ec;
        std::vector<std::filesystem::path> here;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const auto& path = it->path();
            std::error_code typeError;
            // A folder still being built has no Info.plist yet and is not a bundle.
            if (path.extension() == kind.extension && it->is_directory(typeError) &&
                std::filesystem::is_regular_file(path / "Contents" / "Info.plist", typeError)) {
                here.push_back(path);
            }
        }
        std::sort(here.begin(), here.end());
        for (const auto& path : here) {
            BundleLocation location = locationFor(path, kind);
            if (products.insert(asciiLower(location.product)).second) {
                found.push_back(std::move(location));
            }
        }
    }
    return found;
}

BundleLocation resolveModel(std::string_view model,
                            const std::vector<std::filesystem::path>& folders,
                            const BundleKind& kind) {
    if (model.empty()) {
        throw InputError("no " + std::string(kind.what) + " given");
    }
    if (looksLikePath(model, kind)) {
        std::filesystem::path path{std::string(model)};
        // A trailing slash would leave an empty file name and so an empty product.
        if (!path.has_filename()) {
            path = path.parent_path();
        }
        std::error_code ec;
        if (!std::filesystem::is_directory(path, ec)) {
            throw InputError(std::string(model) + ": no such bundle");
        }
        if (!std::filesystem::is_regular_file(path / "Contents" / "Info.plist", ec)) {
            throw InputError(std::string(model) + ": not a " + std::string(kind.singular) +
                             " (no Contents/Info.plist)");
        }
        return locationFor(path, kind);
    }

    const std::string wanted = asciiLower(model);
    const std::vector<BundleLocation> bundles = findBundles(folders, kind);
    for (const auto& bundle : bundles) {
        if (bundle.model == wanted || asciiLower(bundle.product) == wanted) {
            return bundle;
        }
    }
    std::string message = "unknown " + std::string(kind.what) + " '" + std::string(model) + "'";
    if (bundles.empty()) {
        message += " (no " + std::string(kind.plural) + " found; set KELVO_PLUGIN_PATH or build " +
                   std::string(kind.builds) + ")";
    } else {
        message += " (available:";
        for (const auto& bundle : bundles) {
            message += " " + bundle.model;
        }
        message += ")";
    }
    throw InputError(message);
}

} // namespace kelvohost
