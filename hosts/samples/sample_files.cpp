#include "sample_files.h"

#include "host_error.h"
#include "output_file.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace kelvohost {

std::uint64_t sampleDigest(const Channels& samples) {
    std::uint64_t digest = 0xcbf29ce484222325u; // the FNV-1a 64 offset basis
    for (const auto& channel : samples) {
        for (const float sample : channel) {
            const auto bits = std::bit_cast<std::uint32_t>(sample);
            for (unsigned byte = 0; byte < 4; ++byte) {
                digest ^= (bits >> (8 * byte)) & 0xffu;
                digest *= 0x100000001b3u; // the FNV 64 prime
            }
        }
    }
    return digest;
}

std::string digestText(std::uint64_t digest) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

std::map<std::string, std::string> readDigestFile(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        throw InputError(file.string() + ": cannot be read");
    }
    std::map<std::string, std::string> digests;
    std::string line;
    for (unsigned number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string name, digest, rest;
        if (!(fields >> name >> digest) || fields >> rest || digest.size() != 16) {
            throw InputError(file.string() + ":" + std::to_string(number) +
                             ": not \"<case> <digest>\"");
        }
        digests[name] = digest;
    }
    return digests;
}

std::filesystem::path rawFile(const std::filesystem::path& folder, const SampleCase& sampleCase) {
    std::string name = sampleCase.name();
    for (char& c : name) {
        c = c == '/' ? '_' : c;
    }
    return folder / (name + ".f32");
}

void writeRaw(const std::filesystem::path& file, const Channels& samples) {
    OutputFile out(resolveOutputTarget(file));
    for (const auto& channel : samples) {
        out.write(channel.data(), channel.size() * sizeof(float));
    }
    out.finish();
    out.commit();
}

std::vector<float> readRaw(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) {
        throw InputError(file.string() + ": cannot be read");
    }
    std::vector<float> samples(static_cast<std::size_t>(in.tellg()) / sizeof(float));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(samples.data()),
            static_cast<std::streamsize>(samples.size() * sizeof(float)));
    return samples;
}

RawDifference compareRaw(const std::vector<float>& a, const std::vector<float>& b) {
    RawDifference difference;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (std::bit_cast<std::uint32_t>(a[i]) != std::bit_cast<std::uint32_t>(b[i])) {
            const double d = std::fabs(static_cast<double>(a[i]) - static_cast<double>(b[i]));
            difference.firstAt = difference.differing == 0 ? i : difference.firstAt;
            difference.largest = std::isnan(d) || d > difference.largest ? d : difference.largest;
            ++difference.differing;
        }
    }
    return difference;
}

} // namespace kelvohost
