#include "catcheck/driver.h"

#include <gtest/gtest.h>

#include "catalog/catalog_messages.h"
#include "catcheck/excerpt.h"
#include "catcheck/findings.h"
#include "catcheck/key_index.h"
#include "catcheck/output.h"
#include "tests/support/test_support.h"

namespace catcheck {
namespace {

using testing_support::for_each_allocation_failure;
using testing_support::read_file;
using testing_support::RunResult;
using testing_support::ScratchDir;
using testing_support::write_file;

TEST(KeyIndex, ChainsTextsOfOneKeyAndPointsCopiesAtTheirFirst) {
  // "Message 3751513", "Message 7302568" and "Message 9836983" share one message key.
  std::string bytes =
      "en: Message 3751513\nen: Message 7302568\nen: Message 3751513\nen: Message 9836983\n"
      "en: Message 7302568\nen: Tab\\t\nen: Tab\t\n";
  catalog::CatalogMessages catalog(bytes, {catalog::ReadRules::KeyLanguage::first_language_line});
  KeyIndex index(catalog);
  EXPECT_EQ(index.first(index.key(3)), 0u);
  EXPECT_EQ(index.next_text(0), 1u);
  EXPECT_EQ(index.next_text(1), 3u);
  EXPECT_EQ(index.next_text(3), KeyIndex::kNone);
  EXPECT_EQ(index.duplicate_of(2), 0u);
  EXPECT_EQ(index.duplicate_of(4), 1u);
  EXPECT_EQ(index.duplicate_of(6), 5u);  // the same text once the escape is decoded
  EXPECT_EQ(index.find_text(index.key(0), "Message 9836983"), 3u);
  EXPECT_EQ(index.find_text(index.key(0), "Message 1"), KeyIndex::kNone);
}

TEST(Output, NumbersAndExcerpts) {
  EXPECT_EQ(grouped(0), "0");
  EXPECT_EQ(grouped(999), "999");
  EXPECT_EQ(grouped(1000), "1,000");
  EXPECT_EQ(grouped(1234567), "1,234,567");
  EXPECT_EQ(excerpt(std::string(60, 'a')), std::string(60, 'a'));
  // Cut after 57 bytes, but not inside the two bytes of U+00E9 that straddle the cut.
  EXPECT_EQ(excerpt(std::string(56, 'a') + "\xC3\xA9" + std::string(10, 'b')),
            std::string(56, 'a') + "...");
}

TEST(Driver, RunningOutOfMemoryAnywhereGivesTheMemoryReportOrTheSameResult) {
  ScratchDir dir;
  write_file(dir / "app.cat",
             "en: %d files\nen[1]: one file\nde: %s Dateien\n\nen: Message 3751513\n"
             "en: Message 7302568\nen: Open\nde:  Offen\n");
  write_file(dir / "app.sub", "#092D8F11\nde: x\n");
  // Where the library can do without the memory (a sort's buffer), the result is the same.
  for (const char* format : {"text", "json"}) {
    cattools::Args args{"catcheck", "--format", format, dir / "app.cat", dir / "app.sub"};
    RunResult expected = testing_support::run_tool(run, args);
    ASSERT_EQ(expected.exit_code, 1);
    long clean = for_each_allocation_failure(run, args, [&](long n, const RunResult& result) {
      if (result.exit_code == 1 && result.out == expected.out && result.err.empty()) return;
      EXPECT_EQ(result.exit_code, 2) << "allocation " << n;
      EXPECT_EQ(result.err, "catcheck - insufficient memory\n") << "allocation " << n;
      EXPECT_EQ(result.out, "") << "allocation " << n;
    });
    EXPECT_GT(clean, 20);
  }
}

// The planted-fault case holds every kind of finding once; its clean twin holds none.
TEST(Findings, ThePlantedFaultCatalogShowsEveryKindOnce) {
  std::string cases = testing_support::source_dir() + "/tests/cli/catcheck/";
  std::string planted = read_file(cases + "planted_faults/expect/stdout");
  for (int kind = 0; kind <= static_cast<int>(FindingKind::empty_translation); ++kind) {
    std::string tag = "[" + std::string(kind_id(static_cast<FindingKind>(kind))) + "]\n";
    size_t first = planted.find(tag);
    EXPECT_NE(first, std::string::npos) << tag;
    EXPECT_EQ(planted.find(tag, first + 1), std::string::npos) << tag;
  }
  EXPECT_TRUE(read_file(cases + "clean_twin/expect/stdout").ends_with("0 errors, 0 warnings\n"));
}

}  // namespace
}  // namespace catcheck
