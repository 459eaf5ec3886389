#include "catexport/sub_writer.h"

#include <cstdio>
#include <string>
#include <unordered_set>

#include "catalog/catalog_format.h"
#include "catexport/translations.h"

namespace catexport {
namespace {

void append_selector(const catalog::CatalogMessages& catalog, const catalog::Message& message,
                     std::unordered_set<uint32_t>& keys, std::string& out) {
  uint32_t key = catalog::message_key(message.key_text, catalog.key_language() == "00");
  if (!keys.insert(key).second) {
    out.append(catalog.key_language()).append(": ").append(message.key_text).append("\n");
    return;
  }
  char hash_line[16];
  std::snprintf(hash_line, sizeof hash_line, "#%08x\n", key);
  out += hash_line;
}

}  // namespace

size_t write_sub_catalog(const catalog::CatalogMessages& catalog, std::string_view language,
                         TextOutput& out) {
  std::string buffer;
  std::unordered_set<uint32_t> keys;
  std::unordered_set<std::string_view> key_texts;
  size_t left_out = 0;
  LanguageView view;
  for (const catalog::Message& message : catalog.messages()) {
    view_of(catalog, message, language, view);
    if (!key_texts.insert(message.key_text).second) {
      left_out += view.lines.empty() ? 0 : 1;
      continue;
    }
    if (view.lines.empty()) {
      keys.insert(catalog::message_key(message.key_text, catalog.key_language() == "00"));
      continue;
    }
    append_selector(catalog, message, keys, buffer);
    for (const catalog::MessageLine* line : view.lines) buffer.append(line->content()).append("\n");
    if (buffer.size() >= (1u << 16)) {
      out.write(buffer);
      buffer.clear();
    }
  }
  out.write(buffer);
  return left_out;
}

}  // namespace catexport
