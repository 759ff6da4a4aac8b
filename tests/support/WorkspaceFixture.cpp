#include "support/WorkspaceFixture.h"

#include <filesystem>

namespace tarnbook::testing {

std::string WorkspaceFixture::makeProjectFile(const std::string& name,
                                              const std::string& extraXhpLines) const {
    const std::string folder = dir.file(name);
    std::filesystem::create_directories(folder + "/_RESOURCE");
    const std::string xhp = folder + "/" + name + ".XHP";
    writeBytes(xhp, "[XHP]\r\nPDir=" + folder + "\r\nName=" + name + "\r\nXHP=" + xhp +
                        "\r\nXHC=" + folder + "/" + name + ".XHC\r\n" + extraXhpLines + "\r\n");
    return xhp;
}

}  // namespace tarnbook::testing
