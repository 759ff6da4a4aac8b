#pragma once
#include <string>
#include <string_view>

#include "project/Workspace.h"

// The media dialog (TagSound, TagFlash, TagDirector) without its widgets.
namespace tarnbook::authoring {

enum class MediaKind { Sound, Flash, Director };

// What differs between the kinds (UTF-8 texts).
struct MediaKindTexts {
    const char* caption;    // the dialog's caption
    const char* fileLabel;  // the label of the file field
    const char* filter;     // the open dialog's filter
};
const MediaKindTexts& mediaKindTexts(MediaKind kind);

class MediaForm {
  public:
    static constexpr int kMaxVolume = 100;

    MediaForm(project::Workspace& ws, MediaKind kind) : ws_(ws), kind_(kind) {}

    MediaKind kind() const { return kind_; }
    bool hasVolume() const { return kind_ == MediaKind::Sound; }
    bool hasSize() const { return kind_ != MediaKind::Sound; }

    // The file: the full path the chooser gave, or a path typed into the field.
    const std::string& file() const { return file_; }
    void setFile(std::string_view path) { file_ = path; }
    bool chooseFile();

    int volume() const { return volume_; }
    void setVolume(int volume);  // 0-100
    // Width and height keep only their digits.
    const std::string& width() const { return width_; }
    const std::string& height() const { return height_; }
    void setWidth(std::string_view text);
    void setHeight(std::string_view text);
    // The two as numbers for the sizing window (0 when empty, at most 99999).
    int widthNumber() const;
    int heightNumber() const;

    // A file that exists and, for the movies, a width and a height.
    bool okEnabled() const;

    // OK: brings the file into the project (sound and Flash into the resource folder,
    // registered; the Director movie into the project folder, where the page's script looks
    // for it beside the compiled help) and returns the markup. A file of that name already
    // there is kept and used. Throws platform::IoError when the copy fails.
    std::string accept();

  private:
    project::Workspace& ws_;
    MediaKind kind_;
    std::string file_;
    int volume_ = 0;
    std::string width_ = "200";
    std::string height_ = "200";
};

}  // namespace tarnbook::authoring
