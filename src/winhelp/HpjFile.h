#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Help Workshop project file (.hpj): INI-like sections of a WinHelp project. Texts are the
// file's bytes (CP932 for the projects we meet); warnings are UTF-8 for the user.
namespace tarnbook::winhelp {

struct MapEntry {
    std::string id;
    long long number = 0;
};

struct AliasEntry {
    std::string alias;
    std::string target;
};

struct WindowDefinition {
    std::string name;
    std::string caption;
    std::string definition;  // the whole value after '='
};

struct HpjProject {
    std::string path;    // the .hpj file
    std::string folder;  // its folder; relative names resolve from here

    // [OPTIONS]
    std::string title;
    std::string contentsFile;                // CNT=
    std::string contentsTopic;               // CONTENTS= (or the older INDEX=)
    int lcid = 0;                            // LCID=, the first number
    int charset = -1;                        // CHARSET=, -1 when not given
    std::vector<std::string> rootFolders;    // ROOT=, full paths
    std::vector<std::string> bitmapFolders;  // BMROOT=, full paths

    std::vector<std::string> topicFiles;  // [FILES], full paths of the files that exist
    std::vector<MapEntry> map;            // [MAP], includes expanded
    std::vector<AliasEntry> aliases;      // [ALIAS], includes expanded
    std::vector<WindowDefinition> windows;
    std::vector<std::string> bitmaps;  // [BITMAPS], full paths of the files that exist

    std::vector<std::string> warnings;
};

// Parses the text of a project file. `folder` is where its relative names (topic files,
// "#include" files, bitmaps) are looked up.
HpjProject parseHpj(std::string_view bytes, std::string_view folder);

// Reads and parses a project file from disk. Throws platform::IoError when the file cannot
// be read; every other problem is a warning.
HpjProject readHpj(std::string_view path);

// The full path of a file a WinHelp project names (relative, or a Windows path of another
// machine), looked up in each folder in turn; nullopt when it is not found.
std::optional<std::string> findProjectFile(std::string_view name,
                                           const std::vector<std::string>& folders);

// Parses a number of the project's sections: decimal, or hexadecimal with "0x".
bool parseHelpNumber(std::string_view text, long long* value);

}  // namespace tarnbook::winhelp
