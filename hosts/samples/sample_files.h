#pragma once
// What kelvo-samples keeps of a render: a digest of its samples (the reference file checked
// in beside it), or the samples themselves as raw float32 (for measuring a difference).

#include "sample_cases.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace kelvohost {

// FNV-1a 64 over the samples' float32 bit patterns, channel after channel, each as four
// little-endian bytes: equal digests mean equal samples, bit for bit.
std::uint64_t sampleDigest(const Channels& samples);

// Sixteen lower-case hex digits.
std::string digestText(std::uint64_t digest);

// The digest file's lines: "# ..." comments, then "<case name> <digest>" one case a line.
// Throws InputError when it cannot be read or a line is neither.
std::map<std::string, std::string> readDigestFile(const std::filesystem::path& file);

// The raw file of a case in folder: <model>_<preset>_<rate>_<layout>.f32, its channels one
// after the other, float32 in the machine's byte order.
std::filesystem::path rawFile(const std::filesystem::path& folder, const SampleCase& sampleCase);
// Written as every output file is (output_file.h). Throws InputError.
void writeRaw(const std::filesystem::path& file, const Channels& samples);
// The file's floats, one channel after the other; throws InputError when unreadable.
std::vector<float> readRaw(const std::filesystem::path& file);

// How two renders of a case differ.
struct RawDifference {
    double largest = 0; // the largest absolute difference of two samples
    std::size_t differing = 0;
    std::size_t firstAt = 0; // index of the first differing sample (channel after channel)
};
RawDifference compareRaw(const std::vector<float>& a, const std::vector<float>& b);

} // namespace kelvohost
