// Runs the template maker's recognition over a folder of saved pages, for measuring how well
// the chosen element matches hand-made article texts (scripts/score_extraction.py scores the
// output). For every <id>.html.gz (or .html) in the pages folder it recognises the article
// element with the nesting mode, then the grouping mode when that finds nothing, turns the
// element into plain text and writes it in UTF-8 to <out>/<id>.txt (empty when nothing was
// found). One line per page goes to standard output: id, mode that succeeded (-1 none),
// recognition milliseconds, body bytes. With a candidate count N, the blocks offered to the
// user go to <out>/<id>.<k>.txt (k from 1, the pick first) and their count ends the line.
//
//   extraction_eval <pages folder> <output folder> [N]
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "support/gbk_text.h"
#include "support/regex_object.h"
#include "support/text_encoding.h"
#include "templatemaker/body_candidates.h"
#include "templatemaker/body_extractor.h"
#include "templatemaker/html_entities.h"

namespace {

namespace fs = std::filesystem;
using yelian::BodyExtractor;
using yelian::RecognitionMode;

struct Outcome {
    yelian::Recognition recognition;
    int mode = -1;
};

Outcome recogniseBody(std::string_view page) {
    BodyExtractor extractor;
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        yelian::Recognition recognition = extractor.recognise(page, mode);
        if (!recognition.body.empty()) return {std::move(recognition), static_cast<int>(mode)};
    }
    return {};
}

// Visible text of an element: non-content elements dropped, every tag a line break (so that
// words of neighbouring paragraphs stay apart), references decoded.
std::string plainText(BodyExtractor& extractor, std::string_view markup) {
    yelian::RegexObject tags;
    tags.create(R"(<[\s\S]+?>)");
    return yelian::decodeEntities(tags.replace(extractor.stripNonContent(markup), "\n"));
}

std::string idOf(const fs::path& file) {
    std::string name = file.filename().string();
    for (const std::string suffix : {".gz", ".html", ".htm"}) {
        if (name.ends_with(suffix)) name.resize(name.size() - suffix.size());
    }
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: extraction_eval <pages folder> <output folder> [candidates]\n";
        return 2;
    }
    const int candidates = argc == 4 ? std::atoi(argv[3]) : 0;
    const fs::path pages = argv[1];
    const fs::path out = argv[2];
    fs::create_directories(out);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(pages)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    BodyExtractor extractor;
    double totalMs = 0;
    int failures = 0;
    for (const fs::path& file : files) {
        const std::string id = idOf(file);
        const auto read = yelian::readTextFile(file.string(), yelian::TextEncoding::Auto);
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = recogniseBody(read.text);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        totalMs += took.count();
        const std::string& body = outcome.recognition.body;
        if (body.empty()) ++failures;
        std::ofstream(out / (id + ".txt"), std::ios::binary)
            << yelian::gbkToUtf8(plainText(extractor, body));
        std::cout << id << '\t' << outcome.mode << '\t' << took.count() << '\t' << body.size();
        if (candidates > 0) {
            const auto offered =
                yelian::bodyCandidates(extractor, read.text, outcome.recognition, candidates);
            for (std::size_t k = 0; k < offered.size(); ++k) {
                std::ofstream(out / (id + "." + std::to_string(k + 1) + ".txt"), std::ios::binary)
                    << yelian::gbkToUtf8(plainText(extractor, offered[k].markup));
            }
            std::cout << '\t' << offered.size() << '\t';
            for (std::size_t k = 0; k < offered.size(); ++k)
                std::cout << (k > 0 ? "," : "") << offered[k].kind;
        }
        std::cout << '\n';
    }
    std::cerr << files.size() << " pages, " << failures << " without a body, " << totalMs
              << " ms recognising\n";
    return 0;
}
