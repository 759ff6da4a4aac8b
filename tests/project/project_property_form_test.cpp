#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ProjectLifecycle.h"
#include "project/ProjectPropertyForm.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::project;
using tarnbook::testing::readBytes;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;
using Form = ProjectPropertyForm;

namespace {

struct Fixture : WorkspaceFixture {
    std::string folder;
    explicit Fixture(const std::string& extra = "") {
        const std::string xhp = makeProjectFile("proj", "Version=249\r\n" + extra);
        folder = dir.file("proj");
        ws.settings.writeString("SYSTEM", "DefHTML", "STD.HTML");
        EXPECT_TRUE(openProject(ws, xhp));
    }
    TreeNode* add(const std::string& title, const std::string& html, TreeNode* parent = nullptr,
                  int icon = 8) {
        auto n = std::make_unique<TreeNode>();
        n->data.Title = title;
        n->data.HTML = html;
        n->data.ImageIndex = icon;
        n->syncViewFromData();
        return ws.tree.appendChild(parent, std::move(n));
    }
    // What the project file on disk holds for a key of section XHP.
    std::string stored(const std::string& key) const {
        return platform::IniFile::load(ws.projectFile()).readString("XHP", key);
    }
};

}  // namespace

TEST(ProjectPropertyForm, PageListsShowSeparatorsForNodesWithoutAPageOfTheirOwn) {
    Fixture f;
    f.add("one", "one.htm");
    f.add("web", "HTTP://example.com/", nullptr, 12);
    f.add("three", "three.htm");
    f.add("none", "");
    Form form = Form::load(f.ws);
    const auto& e = form.pageEntries();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_FALSE(e[0].separator);
    EXPECT_TRUE(e[1].separator);
    EXPECT_EQ(e[1].title, "-----");
    EXPECT_FALSE(e[2].separator);
    EXPECT_TRUE(e[3].separator);

    form.selectPage(Form::PageList::Default, 2);
    form.selectPage(Form::PageList::Home, 2);
    form.selectPage(Form::PageList::Jump1, 1);  // a separator stores the standard page
    form.selectPage(Form::PageList::Jump2, 0);
    ASSERT_TRUE(form.accept(f.ws));
    EXPECT_EQ(f.stored("Default"), "_RESOURCE\\three.htm");
    EXPECT_EQ(f.stored("URL"), "_RESOURCE\\three.htm");
    EXPECT_EQ(f.stored("JUMP1"), "STD.HTML");
    EXPECT_EQ(f.stored("JUMP2"), "_RESOURCE\\one.htm");
}

TEST(ProjectPropertyForm, PreselectsTheStoredPageOrElseTheLastPageNode) {
    struct Case {
        const char* stored;
        std::vector<std::string> pages;  // "" = a node without a page
        int expected;
    };
    const Case cases[] = {
        {"_RESOURCE\\b.htm", {"a.htm", "b.htm", "c.htm"}, 1},
        {"_RESOURCE\\gone.htm", {"a.htm", "b.htm", ""}, 1},  // unmatched: last page node
        {"b.htm", {"a.htm", "b.htm", "c.htm"}, 2},           // the stored form has the prefix
        {"_RESOURCE\\x.htm", {"", ""}, 0},                   // no page node: first entry
        {"_RESOURCE\\x.htm", {}, -1},                        // empty tree: nothing
    };
    for (const auto& c : cases) {
        Fixture f(std::string("Default=") + c.stored + "\r\n");
        for (const auto& html : c.pages) f.add("t", html);
        Form form = Form::load(f.ws);
        EXPECT_EQ(form.pageSelection(Form::PageList::Default), c.expected) << c.stored;
    }
}

TEST(ProjectPropertyForm, EmptyTreeStoresTheStandardPageButLeavesDefaultAlone) {
    Fixture f("Default=_RESOURCE\\keep.htm\r\nURL=old\r\n");
    Form form = Form::load(f.ws);
    ASSERT_TRUE(form.accept(f.ws));
    EXPECT_EQ(f.stored("Default"), "_RESOURCE\\keep.htm");
    EXPECT_EQ(f.stored("URL"), "STD.HTML");
    EXPECT_EQ(f.stored("JUMP1"), "STD.HTML");
    EXPECT_EQ(f.stored("JUMP2"), "STD.HTML");
}

TEST(ProjectPropertyForm, AnInvalidFieldWritesNothingAndNamesTheField) {
    struct Case {
        void (*spoil)(Form&);
        const char* label;
    };
    const Case cases[] = {
        {[](Form& x) { x.fields.posX = ""; }, "左位置"},
        {[](Form& x) { x.fields.height = "12a"; }, "高さ"},
        {[](Form& x) { x.fields.frameWidth = ""; }, "左フレームサイズ"},
        {[](Form& x) { x.fileName = "..\\out"; }, "ファイル名"},
    };
    for (const auto& c : cases) {
        Fixture f;
        const std::string before = readBytes(f.ws.projectFile());
        Form form = Form::load(f.ws);
        form.helpName = "changed";
        form.fields.keepPos = true;
        c.spoil(form);
        EXPECT_FALSE(form.accept(f.ws)) << c.label;
        EXPECT_TRUE(f.prompts.sawText(c.label)) << c.label;
        EXPECT_EQ(readBytes(f.ws.projectFile()), before) << c.label;
        EXPECT_EQ(f.ws.project->readString("XHP", "HelpName"), "") << c.label;
    }
}

TEST(ProjectPropertyForm, OkWritesTheFieldsAndTheLanguageTheBuildReads) {
    Fixture f;
    Form form = Form::load(f.ws);
    EXPECT_EQ(form.caption(), "[ proj ] のプロパティ");
    EXPECT_EQ(form.helpName, "proj");
    EXPECT_EQ(form.fileName, "proj");
    EXPECT_EQ(form.fields.langNum, 14);
    form.helpName = "Title";
    form.fileName = "Out";
    form.fields.width = "640";
    form.fields.buttons[2] = true;  // BTNext
    form.fields.langNum = 7;
    ASSERT_TRUE(form.accept(f.ws));
    EXPECT_EQ(f.stored("HelpName"), "Title");
    EXPECT_EQ(f.stored("FileName"), "Out.chm");
    EXPECT_EQ(f.stored("Width"), "640");
    EXPECT_EQ(f.stored("BTNext"), "1");
    EXPECT_EQ(f.stored("BTBack"), "0");
    EXPECT_EQ(f.stored("LangNum"), "7");
    EXPECT_EQ(f.stored("LangStr"), "0409 English");
    // The reloaded form shows what was written.
    Form again = Form::load(f.ws);
    EXPECT_EQ(again.fileName, "Out");
    EXPECT_EQ(again.fields.langNum, 7);
    EXPECT_TRUE(again.fields.buttons[2]);
}

TEST(ProjectPropertyForm, MergeFilesAreCheckedCopiedOnceAndRefreshedWhenNewer) {
    Fixture f;
    const std::string src = f.dir.file("other");
    platform::createFolders(src);
    const std::string chm = src + "/lib.chm";
    writeBytes(chm, "v1");
    writeBytes(src + "/lib.hhc", "toc1");
    writeBytes(src + "/bare.chm", "x");
    writeBytes(f.folder + "/inside.chm", "x");
    writeBytes(f.folder + "/inside.hhc", "x");

    Form form = Form::load(f.ws);
    EXPECT_FALSE(form.mergeListEnabled());
    // The project folder spelled with other separators and letter case is still itself.
    std::string upper = f.folder;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (const std::string& inside : {f.folder + "/inside.chm", upper + "\\inside.chm"}) {
        f.prompts.shown.clear();
        EXPECT_FALSE(form.addMergeFile(f.prompts, inside)) << inside;
        EXPECT_TRUE(f.prompts.sawText("プロジェクトディレクトリ内")) << inside;
    }
    EXPECT_FALSE(form.addMergeFile(f.prompts, src + "/bare.chm"));
    EXPECT_TRUE(f.prompts.sawText("コンテンツファイルが存在しない"));

    ASSERT_TRUE(form.addMergeFile(f.prompts, chm));
    writeBytes(f.folder + "/lib.chm", "kept");  // a second add does not copy again
    ASSERT_TRUE(form.addMergeFile(f.prompts, chm));
    EXPECT_EQ(form.mergeFiles().size(), 2u);
    EXPECT_EQ(readBytes(f.folder + "/lib.chm"), "kept");
    EXPECT_EQ(readBytes(f.folder + "/lib.hhc"), "toc1");

    f.prompts.shown.clear();
    platform::setFileAge(chm, 1000000);
    ASSERT_TRUE(form.accept(f.ws));
    EXPECT_TRUE(f.prompts.shown.empty()) << "first copy sets the age silently";
    EXPECT_EQ(f.stored("Merge"), "2");
    EXPECT_EQ(f.stored("Merge1age"), "1000000");

    writeBytes(chm, "v2");
    writeBytes(src + "/lib.hhc", "toc2");
    platform::setFileAge(chm, 2000000);
    Form later = Form::load(f.ws);
    ASSERT_EQ(later.mergeFiles().size(), 2u);
    later.removeMergeFiles({1});
    ASSERT_TRUE(later.accept(f.ws));
    EXPECT_TRUE(f.prompts.sawText("を新しいファイルに入れ替えます"));
    EXPECT_EQ(readBytes(f.folder + "/lib.chm"), "v2");
    EXPECT_EQ(readBytes(f.folder + "/lib.hhc"), "toc2");
    EXPECT_EQ(f.stored("Merge"), "1");
    EXPECT_EQ(f.stored("Merge1age"), "2000000");
    EXPECT_EQ(f.stored("Merge2"), chm) << "keys past the count stay, unread";
}

TEST(ProjectPropertyForm, IconResetTakesEffectOnlyOnOk) {
    for (const bool ok : {false, true}) {
        Fixture f;
        TreeNode* parent = f.add("p", "p.htm", nullptr, 0);
        parent->data.ItemType = TData::kHeading;
        parent->syncViewFromData();
        TreeNode* leaf = f.add("c", "c.htm", parent, 8);
        TreeNode* web = f.add("w", "http://x/", nullptr, 12);
        f.ws.saved = true;
        Form form = Form::load(f.ws);
        form.resetIcons(Form::IconStyle::HtmlHelp);
        if (ok) {
            ASSERT_TRUE(form.accept(f.ws));
        }
        EXPECT_EQ(parent->data.ImageIndex, ok ? 4 : 0);
        EXPECT_EQ(parent->selectedIndex, ok ? 5 : 1);
        EXPECT_EQ(leaf->data.ImageIndex, ok ? 10 : 8);
        EXPECT_EQ(leaf->imageIndex, ok ? 10 : 8);
        EXPECT_EQ(web->data.ImageIndex, 12) << "a web link keeps its mark";
        EXPECT_EQ(f.ws.saved, !ok);
    }
    EXPECT_EQ(resetIconFor(Form::IconStyle::WinHelp, true), 0);
    EXPECT_EQ(resetIconFor(Form::IconStyle::WinHelp, false), 8);
}

TEST(ProjectPropertyForm, LinkedFilesAreCopiedInWithoutOverwritingADifferentFile) {
    Fixture f;
    const std::string src = f.dir.file("maps");
    platform::createFolders(src);
    writeBytes(src + "/help.map", "new");
    writeBytes(f.folder + "/help.map", "old");

    Form form = Form::load(f.ws);
    f.prompts.fileAnswers.push_back(src + "/help.map");
    f.prompts.answers.push_back(ui::Answer::No);  // keep the project's own file
    ASSERT_TRUE(form.chooseLinkedFile(f.prompts, Form::LinkedFile::Map));
    EXPECT_EQ(readBytes(f.folder + "/help.map"), "old");
    EXPECT_EQ(form.linkedFile[0], "help.map");

    f.prompts.fileAnswers.push_back(src + "/help.map");
    f.prompts.answers.push_back(ui::Answer::Yes);
    ASSERT_TRUE(form.chooseLinkedFile(f.prompts, Form::LinkedFile::Map));
    EXPECT_EQ(readBytes(f.folder + "/help.map"), "new");

    writeBytes(src + "/pop.txt", "popups");
    f.prompts.fileAnswers.push_back(src + "/pop.txt");
    f.prompts.shown.clear();
    ASSERT_TRUE(form.chooseLinkedFile(f.prompts, Form::LinkedFile::Popup));
    EXPECT_TRUE(f.prompts.shown.empty());
    EXPECT_EQ(readBytes(f.folder + "/pop.txt"), "popups");
    form.useFile[1] = true;
    ASSERT_TRUE(form.accept(f.ws));
    EXPECT_EQ(f.stored("UsePopup"), "1");
    EXPECT_EQ(f.stored("PopupTxt"), "pop.txt");
    EXPECT_EQ(f.stored("MAP"), "help.map");
    EXPECT_EQ(f.stored("UserAlias"), "");
}
