#pragma once
#include <string>
#include <vector>

#include "platform/IniFile.h"

// Keys of the project file that name files the build writes or reads. Whatever a hand-edited
// or hostile project file holds, the build writes only into the project folder and reads
// only files that lie there.
namespace tarnbook::project {

// The file name of the compiled help: `FileName` when it is a plain file name. A path
// ("..\..\x.chm", "/tmp/x.chm", "sub\x.chm") is cut to its file-name part; a value that
// leaves nothing usable falls back to NAME.chm (Default.chm without a name).
std::string compiledFileName(const platform::IniFile& project);

// The message that tells the author `FileName` was confined, empty when it is sound.
std::string compiledFileNameWarning(const platform::IniFile& project);

// The bare file name of the file a key names (`MAP`, `PopupTxt`, `UserAlias`), empty when
// the key is empty or its file-name part is not a usable name.
std::string linkedFileName(const platform::IniFile& project, const char* key);

// The project-relative path under which the build uses that file: the stored path when it
// is relative and stays inside the project folder ("texts\popup.txt"), otherwise the bare
// file name of the copy that copyLinkedFilesIn puts into the folder.
std::string linkedFilePath(const platform::IniFile& project, const char* key);

enum class LinkedCopy {
    FromOutside,  // only files the build could not use in place (the build)
    Always,       // also those inside, to the folder's top (the properties dialog)
};

// Makes sure a copy of the map, popup-text and alias files lies in the project folder under
// its bare name, unless a file of that name is already there. A relative stored path counts
// from the project folder. Returns the files that were copied.
std::vector<std::string> copyLinkedFilesIn(const platform::IniFile& project,
                                           const std::string& projectFolder, LinkedCopy which);

}  // namespace tarnbook::project
