#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "authoring/SjisConvert.h"
#include "platform/Paths.h"

namespace {

// Prints a legacy EUC-JP / ISO-2022-JP / Shift_JIS text file as Shift_JIS, line by line.
// Streams, so files of any size need little memory.
int runToSjis(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarnbook-cli to-sjis FILE\n");
        return 2;
    }
    const std::string native = tarnbook::platform::nativePath(args[0]).str();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(native.c_str(), "rb"),
                                                       &std::fclose);
    if (!in) {
        std::fprintf(stderr, "tarnbook-cli to-sjis: cannot open %s: %s\n", native.c_str(),
                     std::strerror(errno));
        return 1;
    }
    bool writeFailed = false;
    tarnbook::authoring::SjisTextConverter converter([&writeFailed](std::string_view block) {
        if (std::fwrite(block.data(), 1, block.size(), stdout) != block.size()) writeFailed = true;
    });
    std::vector<char> buffer(1 << 20);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
        converter.feed(std::string_view(buffer.data(), got));
    }
    if (std::ferror(in.get())) {
        std::fprintf(stderr, "tarnbook-cli to-sjis: cannot read %s\n", native.c_str());
        return 1;
    }
    converter.finish();
    if (writeFailed || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tarnbook-cli to-sjis: cannot write the output\n");
        return 1;
    }
    return 0;
}

CliRegistration reg{
    {"to-sjis", "FILE", "print a Japanese text file converted to Shift_JIS", &runToSjis}};

}  // namespace
