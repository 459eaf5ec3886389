#include "catintake/first_match_index.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace catintake {
namespace {

TEST(FirstMatchIndex, FindsTheFirstIdOfEachTextAcrossGrowth) {
  std::vector<std::string> texts;
  auto text_of = [&](uint32_t id) { return std::string_view(texts[id]); };
  FirstMatchIndex index;
  EXPECT_EQ(index.find("x", text_of), FirstMatchIndex::none);
  for (uint32_t id = 0; id < 3000; ++id) {
    texts.push_back("t" + std::to_string(id % 1000));  // each text three times
    EXPECT_EQ(index.insert(id, text_of), id % 1000);
  }
  for (uint32_t id = 0; id < 1000; ++id) EXPECT_EQ(index.find(texts[id], text_of), id);
  EXPECT_EQ(index.find("t1000", text_of), FirstMatchIndex::none);
  EXPECT_EQ(index.find("", text_of), FirstMatchIndex::none);
  index.replace(2005, text_of);
  EXPECT_EQ(index.find("t5", text_of), 2005u);
}

}  // namespace
}  // namespace catintake
