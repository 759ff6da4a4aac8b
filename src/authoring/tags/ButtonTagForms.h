#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/tags/ControlTagMarkup.h"
#include "project/Workspace.h"

// The dialogs of the HTML Help control buttons without their widgets: the program shortcut,
// the related topics, the ALink/KLink buttons and the close-help/version buttons. Each form
// holds the fields and presets, the rule that enables OK and the markup OK inserts. Texts
// are CP932 unless a member says otherwise; nothing is remembered between two dialogs.
namespace tarnbook::authoring {

// The button style choice with its text and icon inputs, shared by three dialogs.
class ButtonFaceForm {
  public:
    explicit ButtonFaceForm(project::Workspace& ws, std::string presetText = {});

    const ButtonFace& face() const { return face_; }
    void setStyle(ButtonStyle style) { face_.style = style; }
    void setText(std::string_view text) { face_.text = text; }
    void setIcon(std::string_view icon) { face_.icon = icon; }

    // Only the chosen style's input is shown.
    bool textVisible() const { return face_.style == ButtonStyle::Text; }
    bool iconVisible() const { return face_.style == ButtonStyle::Icon; }
    // The chosen style has what it needs (the shortcut face needs nothing).
    bool ready() const;

    // The icon chooser: the chosen icon is copied into the resource folder (an existing file
    // of that name is kept) and registered; the icon field gets its bare name. False when
    // the chooser was cancelled. Throws platform::IoError when the copy fails.
    bool chooseIcon();
    static const char* iconFilter() { return "アイコンファイル (*.ico)|*.ico"; }

  private:
    project::Workspace& ws_;
    ButtonFace face_;
};

// The program-shortcut dialog (TagExt).
class ShortcutForm {
  public:
    explicit ShortcutForm(project::Workspace& ws) : face(ws) {}

    ButtonFaceForm face;
    std::string program;     // "実行ファイル名"
    std::string parameters;  // "パラメータ"
    TagFont font;

    bool okEnabled() const { return !program.empty() && face.ready(); }
    std::string markup() const;
};

// The related-topics dialog (TagRelated).
class RelatedTopicsForm {
  public:
    // Lists every node with a page, in tree order, none ticked.
    explicit RelatedTopicsForm(project::Workspace& ws);

    struct Topic {
        PageRef page;
        bool ticked = false;
    };
    const std::vector<Topic>& topics() const { return topics_; }
    void setTicked(std::size_t index, bool ticked);

    ButtonFaceForm face;    // text preset "関連トピック"
    bool popupMenu = true;  // "ポップアップ"; false: "ダイアログ"
    TagFont font;

    bool okEnabled() const;
    std::string markup() const;  // the ticked topics in list order

  private:
    std::vector<Topic> topics_;
};

// The ALink/KLink button dialog (TagA, TagK).
class LinkButtonForm {
  public:
    static constexpr std::size_t kKeywordLimit = 149;

    LinkButtonForm(project::Workspace& ws, LinkKind kind);

    LinkKind kind() const { return kind_; }
    // The dialog's caption (UTF-8).
    std::string caption() const;

    // The button text is Unicode (preset "环境设定"); the page gets it in CP932.
    const std::u16string& buttonText() const { return buttonText_; }
    void setButtonText(std::u16string_view text) { buttonText_ = text; }
    const std::string& keyword() const { return keyword_; }
    void setKeyword(std::string_view keyword);  // cut to the limit

    ButtonFaceForm face;  // style and icon; the text lives above
    TagFont font;

    // A keyword and the chosen style's input.
    bool okEnabled() const;
    std::string markup() const;

  private:
    LinkKind kind_;
    std::u16string buttonText_;
    std::string keyword_;
};

// The close-help and control-version dialog (ActTagClose, ActTagOCXver).
class HelpButtonForm {
  public:
    explicit HelpButtonForm(HelpButtonKind kind);

    HelpButtonKind kind() const { return kind_; }
    std::string caption() const;  // UTF-8
    // Only the close button writes a font.
    bool fontUsed() const { return kind_ == HelpButtonKind::Close; }

    HelpButtonFace face = HelpButtonFace::Button;  // "テキストボタン" / "リンクテキスト"
    std::string text;                              // preset by the kind
    TagFont font;

    bool okEnabled() const { return !text.empty(); }
    std::string markup() const;

  private:
    HelpButtonKind kind_;
};

}  // namespace tarnbook::authoring
