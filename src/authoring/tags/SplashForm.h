#pragma once
#include <string>
#include <string_view>

#include "project/Workspace.h"

// The splash-screen dialog (ActTagSplash) without its widgets.
namespace tarnbook::authoring {

class SplashForm {
  public:
    static constexpr int kMinMilliseconds = 1;
    static constexpr int kMaxMilliseconds = 60000;

    explicit SplashForm(project::Workspace& ws) : ws_(ws) {}

    static const char* caption() { return "スプラッシュ表示タグ"; }
    static const char* pictureFilter() {
        return "スプラッシュ画像ファイル ( *.bmp;*.gif)|*.bmp;*.gif";
    }

    const std::string& picture() const { return picture_; }  // typed or chosen path
    void setPicture(std::string_view path) { picture_ = path; }
    int milliseconds() const { return milliseconds_; }
    void setMilliseconds(int ms);  // kept within 1-60000

    // The picture chooser; false when cancelled.
    bool choosePicture();

    // OK needs a picture that exists.
    bool okEnabled() const;

    // OK: copies the picture into the resource folder under a free name (also when it lies
    // there already), registers the copy and returns the markup. Throws platform::IoError
    // when the copy fails.
    std::string accept();

  private:
    project::Workspace& ws_;
    std::string picture_;
    int milliseconds_ = 2000;
};

}  // namespace tarnbook::authoring
