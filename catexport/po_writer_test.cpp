#include "catexport/po_writer.h"

#include <gtest/gtest.h>

#include "catexport/xliff_writer.h"

namespace catexport {
namespace {

// Each catalog text, as a PO string's contents and as XML character data.
struct Spelling {
  const char* catalog;
  const char* po;
  const char* xml;
};

const Spelling kSpellings[] = {
    {"plain", "plain", "plain"},
    {"a \"b\"", "a \\\"b\\\"", "a \"b\""},
    {"C:\\\\temp", "C:\\\\temp", "C:\\temp"},  // an escaped backslash
    {"two\\nlines\\tand\\r", "two\\nlines\\tand\\r", "two&#10;lines&#9;and&#13;"},
    {"  lead", "  lead", "&#32;&#32;lead"},        // the reader drops leading blanks
    {"ends in \\", "ends in \\\\", "ends in \\"},  // a backslash that escapes nothing
    {"\\$5", "\\$5", "\\$5"},                      // a literal dollar at the start stays
    {"x \\$5", "x \\$5", "x $5"},
    {"$SYM text", "$SYM text", "$SYM text"},  // a symbol key
    {"<b> & </b>", "<b> & </b>", "&lt;b&gt; &amp; &lt;/b&gt;"},
    {"\\\"quoted\\\"", "\\\"quoted\\\"", "\"quoted\""},
    {"\\%d", "\\%d", "\\%d"},
};

TEST(TextForms, CatalogTextsAsPoStringsAndXmlText) {
  for (const Spelling& spelling : kSpellings) {
    std::string po, xml;
    append_po_text(spelling.catalog, po);
    EXPECT_EQ(po, spelling.po) << spelling.catalog;
    EXPECT_TRUE(append_xml_text(spelling.catalog, xml)) << spelling.catalog;
    EXPECT_EQ(xml, spelling.xml) << spelling.catalog;
  }
}

TEST(TextForms, ControlCharactersXmlCannotHoldRefuseTheText) {
  std::string xml = "kept";
  EXPECT_FALSE(append_xml_text("bell \x07", xml));
  EXPECT_EQ(xml, "kept");
  std::string attribute;
  append_xml_attribute("a\"b<c", attribute);
  EXPECT_EQ(attribute, "a&quot;b&lt;c");
}

}  // namespace
}  // namespace catexport
