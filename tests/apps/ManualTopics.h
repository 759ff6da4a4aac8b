#pragma once
#include <cstdint>
#include <utility>

// The topic numbers the program's help buttons and menus call, with the title of the
// manual's page each must open.
namespace tarnbook::testing {

inline constexpr std::pair<std::uint32_t, const char*> kManualTopics[] = {
    {36, "新規プロジェクトウィザード"},
    {40, "プロジェクトメンテナンス"},
    {44, "ヘッダとコンテンツの追加"},
    {46, "アイテムのプロパティ"},
    {48, "プロジェクトプロパティ"},
    {50, "インポートフィルタ"},
    {52, "環境設定"},
    {54, "プロジェクトテンプレート"},
    {56, "ヘルプの結合（マージ）"},
    {60, "ポップアップ・実行ファイル・関連トピック"},
    {61, "メディアとアンカー"},
    {63, "URLフィルタ"},
    {70, "Aリンク・Kリンク・閉じる・スプラッシュ"},
    {82, "タイトル取得方法の選択"},
    {84, "Web形式で出力"},
};

}  // namespace tarnbook::testing
