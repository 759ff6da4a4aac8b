#include "project/AboutInfo.h"

#include "BuildInfo.h"

namespace tarnbook::project {

std::string versionString(int keyIndex, const std::string& fallback) {
    const std::string product = buildinfo::kProductName;
    std::string value;
    switch (keyIndex) {
        case 0:
            value = "HTML ヘルプ (.chm) 作成ツール";
            break;
        case 1:
            value = buildinfo::kCompanyName;
            break;
        case 2:
            value = product + " HTML Help authoring tool";
            break;
        case 3:
            value = buildinfo::kFileVersion;
            break;
        case 4:
            value = "tarnbook";
            break;
        case 5:
            value = std::string("Copyright (C) ") + buildinfo::kCompanyName;
            break;
        case 7:
            value = "tarnbook";
            break;
        case 9:
            value = product;
            break;
        case 10:
            value = buildinfo::kProductVersion;
            break;
        default:
            break;  // no trademarks, private or special build
    }
    return value.empty() ? fallback : value;
}

std::string startupTitle() {
    return std::string(buildinfo::kProductName) + " -Build " + versionString(10) + "-";
}

AboutInfo aboutInfo() {
    return {versionString(9), "Build " + versionString(3), versionString(5), versionString(0)};
}

}  // namespace tarnbook::project
