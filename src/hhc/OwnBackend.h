#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "hhc/HhcMessages.h"
#include "hhc/ProjectAdapter.h"

// The driver's own back end: writes the compiled help of an adapted project with our own
// container, LZX coder and system files, without any outside program.
namespace tarnbook::hhc {

struct OwnBuild {
    bool written = false;
    std::vector<std::string> storedFiles;  // entry names without '/', in stream order
    std::string failure;                   // why nothing was written
};

// Collects the project's files (those listed, the sitemaps, text popups, and every file of the
// project folder that a stored page or sitemap refers to), builds the system files and writes
// `outputPath` (core path) atomically. `progress` gets (bytes compressed, bytes in total).
OwnBuild writeOwnChm(const AdaptedProject& project, const std::string& projectFolder,
                     const std::string& outputPath, std::vector<HhcMessage>* messages,
                     const std::function<void(std::size_t, std::size_t)>& progress = {});

// The text of a page's <title> element with blanks around it removed; "" when there is none.
std::string pageTitle(std::string_view html);

}  // namespace tarnbook::hhc
