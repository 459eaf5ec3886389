#include "catweld/catalog_checks.h"

#include "catalog/file_kind.h"
#include "catalog/numbers.h"
#include "catalog/text_routines.h"

namespace catweld {

std::optional<ReportKind> foreign_content(std::string_view bytes) {
  switch (catalog::text_kind(bytes)) {
    case catalog::TextKind::utf16:
      return ReportKind::utf16_byte_order_mark;
    case catalog::TextKind::binary:
      return ReportKind::nul_byte;
    case catalog::TextKind::xml:
      return ReportKind::begins_like_xml;
    case catalog::TextKind::po:
      return ReportKind::begins_like_po;
    case catalog::TextKind::other:
      break;
  }
  return std::nullopt;
}

}  // namespace catweld
