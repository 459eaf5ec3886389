#include "catintake/catalog_lines.h"

#include "catalog/text_routines.h"

namespace catintake {

CatalogLines::CatalogLines(catalog::LanguageCode key_language)
    : nodes_(1), key_language_(key_language) {}

void CatalogLines::load(std::string_view bytes) {
  catalog::CatalogReader reader(bytes, kCatalogRules, key_language_.view());
  catalog::CatalogLine line;
  while (reader.next(line)) classify(link_after(tail_, line.content), line.has_line_end);
}

CatalogLines::Node CatalogLines::append(std::string_view text) {
  Node node = link_after(tail_, store_.store(text));
  classify(node, true);
  return node;
}

// Lines inserted within the catalog are translations and key-language plural lines, which
// are no key lines: the index of key lines stays exact without them.
CatalogLines::Node CatalogLines::insert_after(Node node, std::string_view text) {
  return link_after(node, store_.store(text));
}

void CatalogLines::remove_after(Node node) {
  Node gone = nodes_[node].next;
  if (gone == kNone) return;
  nodes_[node].next = nodes_[gone].next;
  if (tail_ == gone) tail_ = node;
}

void CatalogLines::replace(Node node, std::string_view text) {
  nodes_[node].text = store_.store(text);
}

CatalogLines::Node CatalogLines::find_key_line(std::string_view key_text) const {
  std::string scratch;
  if (key_text.find('\\') != std::string_view::npos) {
    scratch = catalog::unescape_key_text(key_text);
    key_text = scratch;
  }
  return key_lines_.find(catalog::index_hash(key_text),
                         [&](Node node) { return nodes_[node].key_text == key_text; });
}

std::string_view CatalogLines::decoded(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return text;
  return store_.store(catalog::unescape_key_text(text));
}

cattools::IoStatus CatalogLines::write(cattools::OutputFile& file) const {
  for (Node node = next(kHead); node != kNone; node = next(node)) {
    file.write(nodes_[node].text);
    file.put('\n');
  }
  return file.status();
}

CatalogLines::Node CatalogLines::link_after(Node node, std::string_view text) {
  nodes_.push_back({text, {}, nodes_[node].next});
  auto added = static_cast<Node>(nodes_.size() - 1);
  nodes_[node].next = added;
  if (tail_ == node) tail_ = added;
  return added;
}

void CatalogLines::classify(Node node, bool has_line_end) {
  LineNode& entry = nodes_[node];
  catalog::CatalogLine line =
      catalog::classify_line(entry.text, has_line_end, key_language_.view());
  if (line.kind != catalog::LineKind::key) return;
  entry.key = true;
  entry.key_text = decoded(line.key_text);
  std::string_view key_text = entry.key_text;
  key_lines_.insert_first(catalog::index_hash(key_text), node,
                          [&](Node other) { return nodes_[other].key_text == key_text; });
}

}  // namespace catintake
