#include "catintake/xml_check.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <new>

// Since 2.4.0 expat limits the amplification of entity expansion (the "billion laughs" attack)
// by default: at most 100 times the input once 8 MiB have been expanded. The check relies on
// those defaults and sets no handler, so an external entity is never fetched, and parameter
// entities are not parsed.
static_assert(XML_MAJOR_VERSION > 2 || (XML_MAJOR_VERSION == 2 && XML_MINOR_VERSION >= 4),
              "expat 2.4.0 or later is needed for its entity-expansion limits");

namespace catintake {
namespace {

struct ParserFree {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<XML_ParserStruct, ParserFree>;

// XML_Parse takes an int length: larger files go in pieces.
constexpr size_t kPiece = size_t{1} << 24;

bool parse_all(XML_Parser parser, std::string_view document) {
  do {
    size_t size = std::min(document.size(), kPiece);
    bool last = size == document.size();
    if (XML_Parse(parser, document.data(), static_cast<int>(size), last) != XML_STATUS_OK)
      return false;
    document.remove_prefix(size);
  } while (!document.empty());
  return true;
}

}  // namespace

std::optional<XmlFault> find_xml_fault(std::string_view document, bool as_utf8) {
  Parser parser(XML_ParserCreate(as_utf8 ? "UTF-8" : nullptr));
  if (!parser) throw std::bad_alloc();
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  if (parse_all(parser.get(), document)) return std::nullopt;
  XML_Error error = XML_GetErrorCode(parser.get());
  if (error == XML_ERROR_NO_MEMORY) throw std::bad_alloc();
  return XmlFault{static_cast<int>(XML_GetCurrentLineNumber(parser.get())),
                  static_cast<int>(XML_GetCurrentColumnNumber(parser.get())) + 1,
                  XML_ErrorString(error)};
}

}  // namespace catintake
