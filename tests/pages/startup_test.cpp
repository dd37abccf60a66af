// Start-up as the connection page's load runs it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>

#include "app/access_check.h"
#include "app/home_page.h"
#include "page_harness.h"
#include "pages/form1.h"
#include "pages/form2.h"
#include "support/list_contents.h"

namespace {

using pages_test::PageHarness;

class StartUp : public testing::Test {
 protected:
  static void SetUpTestSuite() { PageHarness::PrepareDataSources(); }

  QString field(const char* name) const { return form.findChild<QLineEdit*>(name)->text(); }

  PageHarness harness;
  pages::Form1 form{harness.context};
};

TEST_F(StartUp, FirstRunShowsTheEmptyConnectionPageSilently) {
  form.Form_Load();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.windowTitle(), "Ferrovale");
  EXPECT_EQ(field("Text1"), "");
  EXPECT_EQ(field("Text2"), "");
  EXPECT_EQ(field("Text3"), "");
  EXPECT_EQ(form.loadedForm2(), nullptr);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, ASavedFileThatIsGoneKeepsTheConnectionPage) {
  harness.saveConnection(harness.missingAccessFile(), "pw", PageHarness::kShopDsn);
  form.Form_Load();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(field("Text1"), harness.missingAccessFile());
  EXPECT_EQ(field("Text2"), "pw");
  EXPECT_EQ(field("Text3"), PageHarness::kShopDsn);
  EXPECT_EQ(form.loadedForm2(), nullptr);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, ADataSourceThatFailsKeepsTheConnectionPage) {
  harness.saveConnection(harness.existingAccessFile(), "", PageHarness::kBrokenDsn);
  form.Form_Load();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(field("Text3"), PageHarness::kBrokenDsn);
  EXPECT_EQ(form.loadedForm2(), nullptr);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, WorkingSavedValuesGoStraightToTheTableManager) {
  harness.saveConnection(harness.existingAccessFile(), "", PageHarness::kShopDsn);
  form.Form_Load();
  ASSERT_NE(form.loadedForm2(), nullptr);
  pages::Form2& tables = *form.loadedForm2();
  EXPECT_TRUE(tables.isVisible());
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(fake::entries(tables.List1()), QStringList({"Customers", "Invoices"}));
  EXPECT_EQ(fake::entries(tables.List2()), QStringList({"Orders", "Products"}));
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, SavedValuesAreWrittenBackUnchanged) {
  harness.saveConnection("C:\\data\\shop.mdb", "", "Sales DSN");
  form.Form_Load();
  EXPECT_EQ(field("Text2"), "");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessMdbFile), "C:\\data\\shop.mdb");
  EXPECT_EQ(harness.saved(app::SavedSettings::kAccessPassword), "");
  EXPECT_EQ(harness.saved(app::SavedSettings::kDataSourceName), "Sales DSN");
}

TEST_F(StartUp, ADrawOfSevenOpensTheHomePageAndGoesOn) {
  harness.randomFraction = 0.06;  // 0.06 * 100 + 1 = 7
  harness.saveConnection("", "", "Sales DSN");
  form.Form_Load();
  ASSERT_EQ(harness.openedUrls.size(), 1u);
  EXPECT_EQ(harness.openedUrls[0], QUrl(QString::fromLatin1(app::kHomePageAddress)));
  EXPECT_EQ(field("Text3"), "Sales DSN");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, AnyOtherDrawLeavesTheBrowserAlone) {
  for (double fraction : {0.0, 0.05, 0.07, 0.999}) {
    harness.randomFraction = fraction;
    app::VisitHomePage(harness.context.random, harness.context.openUrl);
  }
  EXPECT_TRUE(harness.openedUrls.empty());
}

TEST_F(StartUp, ABrowserThatWillNotStartIsReportedAtStep104) {
  harness.randomFraction = 0.06;
  harness.urlOpenerWorks = false;
  form.Form_Load();
  ASSERT_EQ(harness.prompter.calls().size(), 1u);
  const auto& report = harness.prompter.calls()[0];
  EXPECT_EQ(report.caption, "Application Error");
  EXPECT_TRUE(report.text.contains("in Ferrovale7/29/2014.Form1.Form_Load at line 104\r\r"));
  EXPECT_EQ(form.windowTitle(), "Ferrovale");  // start-up went on
  EXPECT_TRUE(form.isVisible());
}

TEST_F(StartUp, WithoutTheHandPointerFileTheButtonsShowTheArrow) {
  form.Form_Load();
  EXPECT_FALSE(form.pointer().hasCustomPicture());
  EXPECT_TRUE(harness.prompter.calls().empty());
}

TEST_F(StartUp, TheShippedHandPointerIsLoaded) {
  harness.installHandCursor();
  form.Form_Load();
  EXPECT_TRUE(form.pointer().hasCustomPicture());
}

TEST_F(StartUp, AnUnreadablePointerFileIsReportedAtStep126) {
  harness.installUnreadableHandCursor();
  form.Form_Load();
  ASSERT_EQ(harness.prompter.messages().size(), 1u);
  EXPECT_TRUE(harness.prompter.messages()[0].contains("Form1.Form_Load at line 126"));
  EXPECT_FALSE(form.pointer().hasCustomPicture());
}

TEST_F(StartUp, MissingDataAccessObjectsAreToldOnceAsTheLastStep) {
  harness.connectionsCanBeCreated = false;
  form.Form_Load();
  ASSERT_EQ(harness.prompter.calls().size(), 1u);
  EXPECT_EQ(harness.prompter.calls()[0].text, app::kAccessNotInstalled);
  EXPECT_EQ(harness.prompter.calls()[0].style, app::kOkOnly);
  EXPECT_EQ(harness.prompter.calls()[0].caption, "");
  EXPECT_TRUE(form.isVisible());
}

TEST(CheckAccessInstalled, SaysNothingWhenAConnectionCanBeCreated) {
  test_support::ScriptedPrompter prompter;
  app::CheckAccessInstalled(prompter, [] { return std::make_unique<ado::Connection>(); });
  EXPECT_TRUE(prompter.calls().empty());
}

TEST(CheckAccessInstalled, TreatsANullConnectionAsMissingObjects) {
  test_support::ScriptedPrompter prompter;
  app::CheckAccessInstalled(prompter, [] { return std::unique_ptr<ado::Connection>(); });
  EXPECT_EQ(prompter.messages(), std::vector<QString>{app::kAccessNotInstalled});
}

TEST_F(StartUp, ClosingTheConnectionPageEndsTheProgramWithoutWriting) {
  form.Form_Load();
  const QString before = harness.saved(app::SavedSettings::kDataSourceName);
  form.close();
  EXPECT_EQ(harness.programEnds, 1);
  EXPECT_EQ(harness.saved(app::SavedSettings::kDataSourceName), before);
  EXPECT_TRUE(harness.prompter.calls().empty());
}

}  // namespace
