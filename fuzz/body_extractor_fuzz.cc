// The body recognition in every mode on hostile pages and selectors, and the candidates the
// template maker offers beside its pick.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "templatemaker/body_candidates.h"
#include "templatemaker/body_extractor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yelian;
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    const std::string specs(input.takeText());
    const std::string page(input.takeRest());

    BodyExtractor extractor;
    const auto mode = static_cast<RecognitionMode>(flags % 4);
    const Recognition pick =
        extractor.recognise(page, mode, specs, (flags & 4) != 0, (flags & 8) != 0);
    // A recognition either finds a body or says why not.
    if (pick.body.empty() != (pick.failure != RecognitionFailure::None)) std::abort();
    const int count = 1 + (flags >> 4) % 8;
    int number = 1;
    for (const BodyCandidate& candidate : bodyCandidates(extractor, page, pick, count)) {
        candidateLabel(number++, candidate);
    }
    return 0;
}
