#pragma once
#include <string>

namespace tarnbook::project {

// The program's version facts by key index: 0 Comments, 1 CompanyName, 2 FileDescription,
// 3 FileVersion, 4 InternalName, 5 LegalCopyright, 6 LegalTrademarks, 7 OriginalFilename,
// 8 PrivateBuild, 9 ProductName, 10 ProductVersion, 11 SpecialBuild. An index without a
// value gives `fallback`.
std::string versionString(int keyIndex, const std::string& fallback = {});

// The title without a project: "Tarnbook -Build <product version>-".
std::string startupTitle();

// What the About box shows (UTF-8).
struct AboutInfo {
    std::string productName;  // key 9
    std::string build;        // "Build " + key 3
    std::string copyright;    // key 5
    std::string description;  // key 0
};
AboutInfo aboutInfo();

}  // namespace tarnbook::project
