#pragma once
#include <string>
#include <string_view>
#include <vector>

// "PROJECT.XHP [--flag]": the project argument, or empty when the arguments are anything
// else (then the caller prints its usage). `flagGiven` tells whether the flag was there.
inline std::string projectWithFlag(const std::vector<std::string>& args, std::string_view flag,
                                   bool* flagGiven) {
    std::string project;
    *flagGiven = false;
    for (const std::string& a : args) {
        if (a == flag) {
            *flagGiven = true;
        } else if (project.empty() && !a.starts_with("--")) {
            project = a;
        } else {
            return {};
        }
    }
    return project;
}
