#include <gtest/gtest.h>

#include "app/ErrorHandler.h"
#include "app/Site.h"
#include "app/StartNumber.h"
#include "ui/Gbk.h"

namespace {

TEST(ErrorBoxTextTest, FullStopOnlyAfterACharacterSortingAfterIt) {
  const struct {
    std::string message, shown;
  } cases[] = {
      {"", ""},
      {"disk full", "disk full."},
      {"disk full.", "disk full."},
      {"what?", "what?."},
      {"done!", "done!"},
      {"(x)", "(x)"},
      {"a-", "a-"},
      {"a,", "a,"},
      {"path/", "path/."},
      {"code 5", "code 5."},
      {ui::Gbk("无法打开"), ui::Gbk("无法打开") + "."},
      {ui::Gbk("出错！"), ui::Gbk("出错！") + "."},
      {"line\r\n", "line\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(app::ErrorBoxText(c.message), c.shown);
  }
}

TEST(ErrorHandlerTest, EveryErrorReachesTheBoxAndNoneEscapes) {
  struct Dialogs : ui::IDialogs {
    std::vector<std::pair<std::string, std::string>> boxes;
    int MessageDlg(const std::string&, ui::DialogType, ui::DialogButtons) override { return 0; }
    void ErrorBox(const std::string& caption, const std::string& text) override {
      boxes.emplace_back(caption, text);
    }
  } dialogs;
  const app::TErrorHandler errors(dialogs);
  bool after = false;
  errors.Run([] { throw std::runtime_error("bad thing"); });
  errors.Run([] { throw 42; });
  errors.Run([&] { after = true; });
  EXPECT_TRUE(after);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0], std::make_pair(ui::Gbk("青禾英语词典"), std::string("bad thing.")));
  EXPECT_EQ(dialogs.boxes[1].first, ui::Gbk("青禾英语词典"));
}

TEST(SiteTest, Addresses) {
  const std::string site = std::string("http://") + QINGHE_SITE_HOST;
  EXPECT_EQ(app::SiteHost(), QINGHE_SITE_HOST);
  EXPECT_EQ(app::HomePageAddress(), site + "/");
  EXPECT_EQ(app::AboutPageAddress(), site + "/softtj.php?soft=lexora&ref=shuoming");
  EXPECT_EQ(app::EntryPageAddress(""), site + "/en/.html");
}

TEST(StartNumberTest, LinearCongruentialDraw) {
  const struct {
    std::uint32_t seed, state, n;
  } cases[] = {
      {0u, 1u, 0u},
      {1u, 134775814u, 1882u},
      {12345u, 1655067934u, 23121u},
      {0x80000000u, 0x80000001u, 30000u},
      {0xFFFFFFFFu, 4160191484u, 58117u},
      {649090867u, 0u, 0u},                // the state wraps to 0
      {1298181734u, 0xFFFFFFFFu, 59999u},  // the largest state stays below 60000
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seed);
    std::uint32_t state = c.seed;
    EXPECT_EQ(app::DrawStartNumber(state), c.n);
    EXPECT_EQ(state, c.state);
  }
}

}  // namespace
