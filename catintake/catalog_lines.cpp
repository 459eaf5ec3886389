#include "catintake/catalog_lines.h"

#include "catalog/line_reader.h"
#include "catalog/text_routines.h"

namespace catintake {

CatalogLines::CatalogLines(LanguageCode key_language)
    : nodes_(1), key_prefix_(language_prefix(key_language.view())) {}

void CatalogLines::load(std::string_view bytes) {
  catalog::skip_utf8_bom(bytes);
  catalog::LineReader reader(bytes);
  std::string_view line;
  while (reader.next(line)) index(link_after(tail_, catalog::skip_blanks(line)));
}

CatalogLines::Node CatalogLines::append(std::string_view text) {
  Node node = link_after(tail_, store_.store(text));
  index(node);
  return node;
}

CatalogLines::Node CatalogLines::insert_after(Node node, std::string_view text) {
  return link_after(node, store_.store(text));
}

void CatalogLines::remove_after(Node node) {
  Node gone = nodes_[node].next;
  if (gone == none) return;
  nodes_[node].next = nodes_[gone].next;
  if (tail_ == gone) tail_ = node;
}

void CatalogLines::replace(Node node, std::string_view text) {
  nodes_[node].text = store_.store(text);
}

CatalogLines::Node CatalogLines::find_line(std::string_view line) const {
  return key_lines_.find(line, [this](Node node) { return nodes_[node].text; });
}

cattools::IoStatus CatalogLines::write(cattools::OutputFile& file) const {
  for (Node node = next(head); node != none; node = next(node)) {
    file.write(nodes_[node].text);
    file.put('\n');
  }
  return file.status();
}

CatalogLines::Node CatalogLines::link_after(Node node, std::string_view text) {
  nodes_.push_back({text, nodes_[node].next});
  auto added = static_cast<Node>(nodes_.size() - 1);
  nodes_[node].next = added;
  if (tail_ == node) tail_ = added;
  return added;
}

void CatalogLines::index(Node node) {
  if (language_prefix(nodes_[node].text) == key_prefix_)
    key_lines_.insert(node, [this](Node line) { return nodes_[line].text; });
}

}  // namespace catintake
