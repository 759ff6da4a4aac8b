#include <gtest/gtest.h>

#include "ImportFixture.h"
#include "workshopimport/ImportCommand.h"

namespace tarnbook::testing {
namespace {

TEST(ImportCommand, ShowsProgressMarksChangedAndTellsWhereTheResourcesGo) {
    ImportFixture f;
    f.put("toc.hhc", "<UL>" + object("A", "a.htm") + "</UL>");
    FakeStatus status;
    int changed = 0;
    workshopimport::ImportForm form;
    EXPECT_FALSE(form.okEnabled());
    form.contentsPath = f.workshop + "/missing.hhc";
    EXPECT_FALSE(form.okEnabled());
    workshopimport::runImportCommand({f.tree, f.project, f.projectFolder}, form, f.prompts, status,
                                     [&] { ++changed; });
    EXPECT_EQ(changed, 0);  // nothing to import: silent
    EXPECT_TRUE(f.prompts.shown.empty());

    form.contentsPath = f.workshop + "/toc.hhc";
    EXPECT_TRUE(form.okEnabled());
    workshopimport::runImportCommand({f.tree, f.project, f.projectFolder}, form, f.prompts, status,
                                     [&] { ++changed; });
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(f.tree.count(), 1u);
    EXPECT_EQ(status.panes[0], "");
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_EQ(f.prompts.shown[0].kind, "warn");
    EXPECT_EQ(f.prompts.shown[0].text,
              "[" + f.projectFolder + "\\_RESOURCE\\] へ全てのリソースをコピーして下さい");
}

}  // namespace
}  // namespace tarnbook::testing
