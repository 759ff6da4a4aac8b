#include "contents/CommandTable.h"

#include "contents/ProjectTextFiles.h"
#include "project/Workspace.h"

namespace tarnbook::contents {

const std::vector<Command>& commandTable() {
    using enum Rule;
    static const std::vector<Command> table = {
        {"ProjectOpen", "ファイル", "プロジェクトを開く(&O)...",
         "開く|既存のプロジェクトを開きます", "Ctrl+O", Always},
        {"FileSave", "ファイル", "プロジェクトを保存(&S)", "保存|現在のプロジェクトを保存します",
         "Ctrl+S", F},
        {"ProjectSaveAs", "ファイル", "プロジェクトに名前を付けて保存(&A)...",
         "名前を付けて保存|プロジェクトを別名で保存します", "", H},
        {"FileExit1", "ファイル", "終了(&Q)", "終了|アプリケーションを終了します", "", Always},
        {"ShowAbout", "ファイル", "バージョン情報(&A)", "バージョン情報を表示します", "", Always},
        {"mnuHelpView", "ヘルプ", "ヘルプ(&C)", "ﾍﾙﾌﾟ表示|ヘルプファイルを表示します", "F1",
         HelpFile},
        {"mnuHelpKeyword", "ヘルプ", "キーワード検索(&K)", "キーワード検索を行います", "",
         HelpFile},
        {"FileOpenResource", "ファイル", "リソースの追加",
         "リソース追加|任意のリソースをヘルプに追加します", "", Always},
        {"NewProject", "プロジェクト", "新規プロジェクト(&N)...",
         "新規|新しいプロジェクトを作成します", "Ctrl+N", Always},
        {"GoCompile", "プロジェクト", "プロジェクトをコンパイル(&G)",
         "コンパイル|プロジェクトをコンパイルしてヘルプを作成します", "Ctrl+G", G},
        {"ProjectProperty", "プロジェクト", "プロジェクトプロパティ(&P)...",
         "プロジェクトプロパティ|現在のプロジェクトの設定", "Ctrl+F2", H},
        {"ImportFolder", "プロジェクト", "フォルダ取り込み(&I)...",
         "フォルダ取り込み ( CTRL + I )|現在のプロジェクトに指定フォルダを取り込みます", "Ctrl+I",
         H},
        {"ViewCHM", "プロジェクト", "コンパイル済みヘルプ表示(&V)",
         "表示|作成したヘルプファイルを表示します", "", H},
        {"ViewLog", "プロジェクト", "最後のコンパイルログ表示(&L)",
         "ログ表示|コンパイルログを表示します", "", H},
        {"PutMap", "プロジェクト", "マップファイル出力(&M)",
         "マップファイル出力|プログラムから呼び出す為のマップファイルを出力します", "", H},
        {"OpenPrjFolder", "プロジェクト", "プロジェクトフォルダを開く(&O)",
         "フォルダを開く|現在のプロジェクトのフォルダを開きます", "", H},
        {"Maintenance", "プロジェクト", "プロジェクトメンテナンス(&R)...",
         "プロジェクトメンテナンス|不要ファイルの整理等を行います", "", H},
        {"ImportHHP", "プロジェクト", "WorkShopプロジェクト取り込み(&W)...",
         "プロジェクト取り込み|Workshopのプロジェクトを取り込みます", "", H},
        {"GenIndex", "プロジェクト", "目次ファイル作成(&G)",
         "目次作成|選択コンテンツを参照する目次を作成します", "", C},
        {"ExportWeb", "プロジェクト", "Web形式で出力(&W)", "", "", Always},
        {"ActEditMap", "プロジェクト", "マップファイル編集(&Z)", "", "", MapEdit},
        {"ActEditPopup", "プロジェクト", "ポップアップテキスト編集(&X)", "", "", PopupEdit},
        {"ImportHPJ", "プロジェクト", "Win32ﾍﾙﾌﾟｺﾝﾊﾞｰﾄ(&W)", "", "", H},
        {"ShowSetting", "設定", "環境設定(&O)...", "動作設定|動作環境を設定します", "", Always},
        {"TemplateSetting", "設定", "プロジェクトテンプレート(&P)...",
         "テンプレート|プロジェクトテンプレートを設定します", "", Always},
        {"ImportFilter", "設定", "インポートフィルタ(&F)...",
         "フィルタ|取り込みフィルタを設定します", "", Always},
        {"URLFilter", "設定", "URLフィルタ(&U)...", "URLフィルタ|URLフィルタを設定します", "",
         Always},
        {"BarCustomize", "設定", "ツールバー設定(&B)...",
         "カスタマイズ|ツールバーの表示を変更します", "", Always},
        {"DeleteViewerStateFile", "設定", "HH.dat 削除(&D)",
         "HH.dat 削除|HTML Help 情報ファイルを削除します", "", Always},
        {"DeCompile", "設定", "HTML Help 逆コンパイル(&R)...",
         "デコンパイル|コンパイル済みHTML Helpを逆コンパイルします", "", Always},
        {"Capture", "設定", "画面キャプチャ(&C)", "画面キャプチャ|有効時 Shift+Escape で保存します",
         "", Always},
        {"TreeUndo", "編集", "元に戻す(&U)", "元に戻す|コンテンツツリーの直前の変更を元に戻します",
         "Ctrl+Z", Undo},
        {"TreeRedo", "編集", "やり直し(&R)", "やり直し|元に戻した変更をやり直します", "Ctrl+Y",
         Redo},
        {"TbAddHeader", "左ﾂｰﾙﾊﾞｰ", "ヘッダ追加(&H)", "ヘッダ追加|ヘッダファイルを追加します",
         "Ctrl+F10", A},
        {"TbAddContent", "左ﾂｰﾙﾊﾞｰ", "コンテンツ追加（&C)",
         "コンテンツ追加|コンテンツファイルを追加します", "Ctrl+F11", A},
        {"TbCngProperty", "左ﾂｰﾙﾊﾞｰ", "プロパティ(&P)", "プロパティ|選択中コンテンツのプロパティ",
         "F2", B},
        {"EditHTML", "左ﾂｰﾙﾊﾞｰ", "", "編集 (Ctrl+Enter)|選択中コンテンツを外部エディタで編集します",
         "", I},
        {"TbDelItem", "左ﾂｰﾙﾊﾞｰ", "", "削除|選択中コンテンツを削除します", "Ctrl+Del", C},
        {"TbMoveUp", "左ﾂｰﾙﾊﾞｰ", "TbMoveUp", "上へ (Ctrl+↑)|選択中コンテンツを上へ移動します", "",
         MoveUp},
        {"TbMoveDown", "左ﾂｰﾙﾊﾞｰ", "", "下へ ( Ctrl+↓)|選択中コンテンツを下へ移動します", "",
         MoveDown},
        {"TbMoveRight", "左ﾂｰﾙﾊﾞｰ", "", "右へ (Ctrl+→)|選択中コンテンツを右へ移動します", "",
         MoveRight},
        {"TbMoveLeft", "左ﾂｰﾙﾊﾞｰ", "", "左へ(Crtl+←)|選択中コンテンツを左へ移動します", "",
         MoveLeft},
        {"TBSortItem", "左ﾂｰﾙﾊﾞｰ", "", "昇順ソート|ノードを昇順ソートします", "", E},
        {"ActSortItemUp", "左ﾂｰﾙﾊﾞｰ", "", "降順ソート|ノードを降順ソートします", "", Always},
        {"NodeExpand", "左ﾂｰﾙﾊﾞｰ", "", "ノード展開|選択ノード又は全ノードを開く/閉じる", "", E},
        {"CngType", "左ﾂｰﾙﾊﾞｰ", "CngType", "タイプ変更|ヘッダ<->コンテンツの変更", "", C},
        {"TagPopup", "タグ挿入", "ポップアップ(&P)...",
         "ポップアップ|カーソル位置にポップアップタグを挿入します", "", J},
        {"TagExt", "タグ挿入", "実行ファイル(&X)...",
         "実行ファイル|カーソル位置に実行ファイルタグを挿入します", "", J},
        {"TagRelated", "タグ挿入", "関連トピック(&R)...",
         "関連トピック|カーソル位置に関連トピックタグを挿入します", "", J},
        {"TagA", "タグ挿入", "Aリンク参照タグ挿入(&A)...",
         "Aリンク参照|カーソル位置にAリンク参照タグを挿入します", "", J},
        {"TagATo", "タグ挿入", "Aリンク(&O)", "Aリンクタグ|表示中HTMLにAリンクタグを挿入します", "",
         J},
        {"TagK", "タグ挿入", "Kリンク参照タグ挿入(&K)...",
         "Kリンク参照タグ|カーソル位置にKリンク参照タグを挿入します", "", J},
        {"TagKto", "タグ挿入", "Kリンク(&I)", "Kリンクタグ|表示中HTMLにKリンクタグを挿入します", "",
         J},
        {"ActTagSplash", "タグ挿入", "スプラッシュタグ(&L)...", "", "", J},
        {"ActTagOCXver", "タグ挿入", "HHCtrl.ocxバージョン(&H)...",
         "HHCtrl.ocxバージョンタグ|システムに登録されているHHCtrl.ocxのバージョンを表示します", "",
         J},
        {"ActTagClose", "タグ挿入", "ヘルプを閉じる(&C)...",
         "閉じるタグ|ヘルプファイルを閉じるオブジェクトタグを挿入します", "", J},
        {"TagAnchor", "タグ挿入", "アンカータグ挿入(&A)...",
         "アンカー|カーソル位置にアンカータグを挿入します", "", J},
        {"TagHref", "タグ挿入", "アンカータグ参照(&G)...",
         "リンク|カーソル位置にアンカー参照タグを挿入します", "", J},
        {"TagDirector", "タグ挿入", "Director(&D)...",
         "Director|カーソル位置にDirector再生タグを挿入します", "", J},
        {"TagFlash", "タグ挿入", "Flash(&F)...", "Flash|カーソル位置にFlash再生タグを挿入します",
         "", J},
        {"TagSound", "タグ挿入", "サウンド(&S)...",
         "サウンド|カーソル位置にサウンドファイル再生タグを挿入します", "", J},
        {"TagMovie", "タグ挿入", "ﾑｰﾋﾞｰ(&M)", "", "", J},
        {"TagSave", "タグ挿入", "タグ保存", "HTML保存|HTMLソースへの変更を保存します", "", K},
        {"TagUndo", "タグ挿入", "元に戻す(&U)", "元に戻す|直前の変更を元に戻す", "", Always},
        {"EditCut1", "タグ挿入", "切り取り(&X)",
         "切り取り|選択部分を切り取り、クリップボードに送る", "Ctrl+X", Always},
        {"EditCopy1", "タグ挿入", "コピー(&C)", "コピー|選択部分をコピーし、クリップボードに送る",
         "Ctrl+C", Always},
        {"EditPaste1", "タグ挿入", "貼り付け(&V)", "貼り付け|クリップボードの内容を貼り付ける",
         "Ctrl+V", Always},
        {"ActEditPasteAdd", "タグ挿入", "貼り付け(改行）",
         "貼り付け(改行)|クリップボードの内容を改行コード付きで貼り付ける", "", L},
        {"ViewRedraw", "ブラウザ", "更新(&R)", "更新|選択コンテンツを開きなおします", "F5", I},
        {"NavigateBack", "ブラウザ", "戻る", "戻る", "", Back},
        {"NavigateNext", "ブラウザ", "進む", "進む", "", Forward},
        {"FontSize", "ブラウザ", "フォントサイズ変更",
         "フォントサイズ|表示基本フォントサイズを指定します", "", Always},
        {"ResAll", "", "全リソース", "全リソース|ヘルプに含まれる全てのリソースを表示", "", Always},
        {"ResAdd", "", "追加リソース", "追加リソース|任意のリソースのみを表示", "", Always},
        {"ResDel", "リソース", "リソース削除(&D)", "削除|手動追加したリソースを削除します", "",
         ResourceDelete},
        {"Keyword", "リソース", "キーワード設定(&K)",
         "キーワード設定|コンパイル済みヘルプのキーワードに表示するキーワードを指定します", "",
         ResourceKeyword},
    };
    return table;
}

const Command* findCommand(std::string_view id) {
    for (const auto& c : commandTable())
        if (c.id == id) return &c;
    return nullptr;
}

std::string hintShort(std::string_view hint) {
    return std::string(hint.substr(0, hint.find('|')));
}

std::string hintLong(std::string_view hint) {
    const auto bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

std::string displayCaption(const Command& c) {
    return c.caption.empty() ? hintShort(c.hint) : std::string(c.caption);
}

EnableState enableStateOf(const project::Workspace& ws) {
    EnableState s;
    s.projectOpen = ws.hasProject();
    s.multiSelect = ws.isMultiSelect;
    s.nodeCount = ws.tree.count();
    s.saved = ws.saved;
    if (const project::TreeNode* n = ws.tree.focused()) {
        s.nodeSelected = true;
        s.nodeHasPage = !n->data.HTML.empty();
        s.nodeIsWebLink = project::isWebLinkIcon(n->data.ImageIndex);
        // A single focused node in a tree of more than one node moves.
        const bool movable = s.projectOpen && !s.multiSelect && s.nodeCount > 1;
        s.canMoveUp = movable && project::ContentTree::prev(n) != nullptr;
        s.canMoveDown = movable && project::ContentTree::next(n) != nullptr;
        s.canMoveLeft = movable && n->depth() >= 1;
        s.canMoveRight = movable;
    }
    s.mapFileEditable = !editableProjectTextFile(ws, ProjectTextFile::Map).empty();
    s.popupFileEditable = !editableProjectTextFile(ws, ProjectTextFile::Popup).empty();
    s.editorModified = ws.editor.modified();
    s.canGoBack = ws.preview.canGoBack();
    s.canGoForward = ws.preview.canGoForward();
    return s;
}

bool ruleEnabled(Rule rule, const EnableState& s) {
    const bool single = s.projectOpen && !s.multiSelect;
    switch (rule) {
        case Rule::Always:
            return true;
        case Rule::A:
            return single;
        case Rule::B:
            return single && s.nodeSelected;
        case Rule::C:
            return s.projectOpen && s.nodeSelected;
        case Rule::MoveUp:
            return s.canMoveUp;
        case Rule::MoveDown:
            return s.canMoveDown;
        case Rule::MoveLeft:
            return s.canMoveLeft;
        case Rule::MoveRight:
            return s.canMoveRight;
        case Rule::E:
            return s.projectOpen && s.nodeCount > 1;
        case Rule::F:
            return !s.saved;
        case Rule::G:
            return s.projectOpen && s.nodeCount > 0;
        case Rule::H:
            return s.projectOpen;
        case Rule::I:
            return single && s.nodeSelected && s.nodeHasPage && !s.nodeIsWebLink;
        case Rule::J:
            return s.projectOpen && s.nodeSelected && s.editorPageActive;
        case Rule::K:
            return s.editorModified;
        case Rule::L:
            return s.clipboardHasText;
        case Rule::MapEdit:
            return s.mapFileEditable;
        case Rule::PopupEdit:
            return s.popupFileEditable;
        case Rule::Back:
            return s.canGoBack;
        case Rule::Forward:
            return s.canGoForward;
        case Rule::ResourceDelete:
            return s.resourceDeletable;
        case Rule::ResourceKeyword:
            return s.resourceKeywordEditable;
        case Rule::HelpFile:
            return s.helpFileAvailable;
        case Rule::Undo:
            return s.canUndo;
        case Rule::Redo:
            return s.canRedo;
    }
    return false;
}

const std::vector<ToolbarLayout>& toolbarLayouts() {
    static const std::vector<ToolbarLayout> bars = {
        {"ToolBarFile", {"FileExit1", "ProjectOpen", "FileSave", "ProjectSaveAs"}},
        {"ToolBarPrj",
         {"NewProject", "OpenPrjFolder", "GoCompile", "ViewCHM", "ViewLog", "ProjectProperty",
          "ImportFolder", "PutMap", "GenIndex", "Maintenance", "ExportWeb", "ImportHHP"}},
        {"ToolBarTools",
         {"ShowSetting", "TemplateSetting", "ImportFilter", "BarCustomize", "DeleteViewerStateFile",
          "DeCompile", "Capture"}},
        {"ToolBarBrowser", {"NavigateBack", "NavigateNext", "ViewRedraw", "FontSize"}},
        {"ToolBarEditor", {"TagSave", "TagUndo", "EditCut1", "EditCopy1", "EditPaste1"}},
        {"ToolBarTag",
         {"TagPopup", "TagExt", "TagRelated", "TagA", "TagATo", "TagK", "TagKto", "TagAnchor",
          "TagHref", "TagDirector", "TagFlash", "TagSound"}},
        {"ToolBarLeft",
         {"TbAddHeader", "TbAddContent", "TbCngProperty", "EditHTML", "TbDelItem", "TbMoveUp",
          "TbMoveDown", "TbMoveLeft", "TbMoveRight", "TBSortItem", "ActSortItemUp", "NodeExpand",
          "GenIndex", "CngType"}},
    };
    return bars;
}

const std::vector<MenuLayout>& menuLayouts() {
    static const std::vector<MenuLayout> menus = {
        {"ファイル(&F)",
         {"ProjectOpen", "FileSave", "@最近使ったプロジェクト(&R)", "|", "ProjectSaveAs", "|",
          "FileExit1"}},
        {"編集(&E)", {"TreeUndo", "TreeRedo"}},
        {"プロジェクト(&P)",
         {"NewProject", "|", "ProjectProperty", "GoCompile", "OpenPrjFolder", "ViewCHM", "ViewLog",
          "|", "ImportFolder", "PutMap", "GenIndex", "ExportWeb", "|", "ActEditMap", "ActEditPopup",
          "Maintenance", "ImportHHP"}},
        {"オブジェクトタグ(&O)",
         {"TagPopup",
          "TagExt",
          "TagRelated",
          "|",
          "TagA",
          "TagATo",
          "|",
          "TagK",
          "TagKto",
          "|",
          "TagAnchor",
          "TagHref",
          "|",
          "TagDirector",
          "TagFlash",
          "TagSound",
          "|",
          "ActTagSplash",
          "ActTagOCXver",
          "ActTagClose"}},
        {"ツール(&T)",
         {"ShowSetting", "TemplateSetting", "ImportFilter", "URLFilter", "BarCustomize", "|",
          "DeleteViewerStateFile", "DeCompile", "|", "Capture", "ImportHPJ", "@外部ツール(&T)"}},
        {"ヘルプ(&H)", {"mnuHelpView", "mnuHelpKeyword", "|", "ShowAbout"}},
    };
    return menus;
}

const std::vector<PlaceHint>& menuItemHints() {
    static const std::vector<PlaceHint> hints = {
        {"ViewLog", "ログ表示|最後に行ったコンパイルのログを表示します"},
        {"PutMap", "プログラムからの呼び出し用マップファイルを出力します"},
        {"ExportWeb", "Web上配布形式に変換します"},
        {"ImportFilter", "フィルタ|フォルダ取り込み時、ドロップ時のフィルタを設定します"},
        {"Capture", "画面キャプチャ|ウインドウ画面をキャプチャします ( Shift + Escape )"},
        {"ImportHPJ", "Win32 ヘルププロジェクトをコンバートします"},
        {"@外部ツール(&T)", "登録された外部ツールを使用します"},
    };
    return hints;
}

const std::vector<PlaceHint>& toolButtonHints() {
    static const std::vector<PlaceHint> hints = {
        {"TagPopup", "ポップアップタグ挿入|ポップアップタグを指定位置に挿入します"},
    };
    return hints;
}

std::string_view placeHint(const std::vector<PlaceHint>& hints, std::string_view entry) {
    for (const auto& h : hints)
        if (h.entry == entry) return h.hint;
    return {};
}

}  // namespace tarnbook::contents
