#pragma once
// The state behind one Application of the stand-in: its visibility, whether it has quit, and its
// open documents, each a text with a colour per character and a selection.
#include <memory>
#include <string>
#include <vector>

namespace lumenta::standin {

inline constexpr long kAutomaticColour = -16777216;  // the word processor's wdColorAutomatic

struct Document {
  std::wstring path;
  std::wstring text;
  std::vector<long> colours;  // one per character of text
  size_t start = 0;           // the selection, in characters; start == end is an insertion point
  size_t end = 0;
};

// The settings of the selection's Find object and its Replacement (one set per application, as
// in the word processor, where every Selection.Find read shows the same settings).
struct FindSettings {
  std::wstring text;
  long highlight = 0;
  bool matchCase = false;
  long wrap = 0;  // 0: stop at the end of the document, 1: continue from its other end
  std::wstring replacementText;
};

struct Session {
  bool visible = false;
  bool quit = false;
  bool running = false;
  FindSettings find;
  // Open documents in the order they were opened; the active one is the last opened.
  std::vector<std::shared_ptr<Document>> documents;
  std::shared_ptr<Document> active() const {
    return documents.empty() ? nullptr : documents.back();
  }
};

}  // namespace lumenta::standin
