// What the command tests share: a temporary folder with a few articles, an environment whose
// program folder holds no settings file, and a run of the command line that keeps its status
// and output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "testing/temp_dir.h"

namespace yelian::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliFixture : public ::testing::Test {
  protected:
    CliFixture() {
        // Every control keeps its design state unless a test writes a settings file.
        environment.programFolder = dir.file("bin");
        std::filesystem::create_directory(environment.programFolder);
        // An articles folder: a page with a title and a text file.
        dir.write("arts/a.htm", "<title>A</title>a");
        dir.write("arts/n.txt", "n");
    }

    CliRun run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        CliRun result;
        result.status = runCli(args, in, out, err, environment);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    TempDir dir;
    CliEnvironment environment;
};

}  // namespace yelian::testing
