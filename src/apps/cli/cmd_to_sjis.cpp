#include <cstdio>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "authoring/SjisConvert.h"
#include "platform/Files.h"

namespace {

// Prints a legacy EUC-JP / ISO-2022-JP / Shift_JIS text file as Shift_JIS, line by line.
int runToSjis(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarnbook-cli to-sjis FILE\n");
        return 2;
    }
    const std::string converted =
        tarnbook::authoring::convertTextToSjis(tarnbook::platform::readFile(args[0]));
    if (std::fwrite(converted.data(), 1, converted.size(), stdout) != converted.size() ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tarnbook-cli to-sjis: cannot write the output\n");
        return 1;
    }
    return 0;
}

CliRegistration reg{
    {"to-sjis", "FILE", "print a Japanese text file converted to Shift_JIS", &runToSjis}};

}  // namespace
