// Reading bytes as text with every requested encoding, from memory and from a file, and
// writing the result back out in every encoding; the charset checks and gunzip on their own.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_input.h"
#include "support/text_encoding.h"

namespace {

using namespace yelian;

constexpr TextEncoding kEncodings[] = {
    TextEncoding::Auto,    TextEncoding::Gbk,  TextEncoding::Utf8,     TextEncoding::Utf16Le,
    TextEncoding::Utf16Be, TextEncoding::Big5, TextEncoding::Big5Hkscs};

// One file per process, rewritten for each input.
const std::string& scratchPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("yelian-fuzz-" + std::to_string(::getpid()) + ".txt"))
                                        .string();
    return path;
}

void readFromFile(std::string_view bytes, TextEncoding requested) {
    {
        std::ofstream file(scratchPath(), std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const TextReadResult fromFile = readTextFile(scratchPath(), requested);
    const TextReadResult fromBytes = readTextBytes(bytes, requested);
    // The file holds exactly the bytes: both readers must agree.
    if (!fromFile.readable || fromFile.text != fromBytes.text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    const std::string_view bytes = input.takeRest();
    for (TextEncoding requested : kEncodings) {
        const TextReadResult read = readTextBytes(bytes, requested);
        if (!read.readable) std::abort();
        writeTextFile({}, read.text, requested);
        if (const auto spliced = encodeForSplicing(read.text, requested)) {
            writeSplicedTextFile({}, "<p>", read.text, *spliced, "</p>", requested);
        }
    }
    readFromFile(bytes, kEncodings[flags % std::size(kEncodings)]);
    detectMetaCharset(bytes);
    looksLikeUtf8(bytes);
    gunzipBytes(bytes, std::size_t{1} << 20);
    return 0;
}
