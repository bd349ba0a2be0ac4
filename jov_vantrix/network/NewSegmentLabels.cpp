#include "jov_vantrix/network/NewSegmentLabels.h"

#include <cstring>
#include <iterator>
#include <utility>

#include "jov_vantrix/network/EntityChains.h"

namespace {

// The texts every label shares; the host only reads a chain it is given.
char* Shared(const char* text) { return const_cast<char*>(text); }

}  // namespace

bool NewSegmentLabels::Add(const char* layer, double height, double widthFactor, double rotation, GLVector point,
                           const char* number, const char* piece) {
  if (!layer) layer = "";
  if (!number) number = "";
  if (!piece) piece = "";
  const size_t numberBytes = std::strlen(number) + 1;
  const size_t pieceBytes = std::strlen(piece) + 1;
  if (numberBytes > sizeof(Label::number) || pieces_.size() + pieceBytes > UINT32_MAX || runs_.size() >= UINT32_MAX)
    return false;
  // A run goes on while its layer and sizes do (every label of a renewal).
  if (runs_.empty() || runs_.back().layer != layer || runs_.back().height != height ||
      runs_.back().widthFactor != widthFactor || runs_.back().rotation != rotation)
    runs_.push_back({layer, height, widthFactor, rotation});
  Label label{point, {}, static_cast<uint32_t>(pieces_.size()), static_cast<uint32_t>(runs_.size() - 1)};
  std::memcpy(label.number, number, numberBytes);
  pieces_.insert(pieces_.end(), piece, piece + pieceBytes);
  labels_.push_back(label);
  return true;
}

void NewSegmentLabels::Reserve(size_t more, size_t pieceBytes) {
  labels_.reserve(labels_.size() + more);
  pieces_.reserve(pieces_.size() + more * (pieceBytes + 1));
}

void NewSegmentLabels::Clear() {
  runs_.clear();
  labels_.clear();
  pieces_.clear();
  held_.clear();
}

resbuf* NewSegmentLabels::HoldChain(const char* layer, double height, double widthFactor, double rotation,
                                    GLVector point, const char* number, const char* piece) {
  if (!number || std::strlen(number) >= sizeof(Frame::number)) return nullptr;
  Frame frame;
  CGroupChainRef holder;
  if (!holder.Assign(Lay(frame, layer ? layer : "", height, widthFactor, rotation, point, number, piece ? piece : "")))
    return nullptr;
  held_.push_back(std::move(holder));
  return held_.back().GetChainForWrite();
}

resbuf* NewSegmentLabels::Chain(size_t i, Frame& frame) const {
  const Label& label = labels_[i];
  const Run& run = runs_[label.run];
  return Lay(frame, run.layer.c_str(), run.height, run.widthFactor, run.rotation, label.point, label.number,
             pieces_.data() + label.piece);
}

resbuf* NewSegmentLabels::Lay(Frame& frame, const char* layer, double height, double widthFactor, double rotation,
                              const GLVector& point, const char* number, const char* piece) {
  std::memcpy(frame.number, number, std::strlen(number) + 1);
  size_t used = 0;
  auto node = [&frame, &used](int16_t code, const char* text) -> resbuf* {
    if (used == std::size(frame.nodes)) return nullptr;
    resbuf& made = frame.nodes[used++];
    made = resbuf{};
    made.code = code;
    if (text) made.value.text = Shared(text);
    return &made;
  };
  resbuf* first = nullptr;
  resbuf* last = LayTextEntity({layer, frame.number, point, height, &rotation, widthFactor}, &first, node);
  // The tag, as extended data.
  const std::pair<int16_t, const char*> tag[] = {
      {-3, nullptr}, {1001, kSegmentLabelApplication}, {1000, kSegmentLabelKey}, {1000, piece}};
  for (const auto& [code, text] : tag) last = last ? (last->next = node(code, text)) : nullptr;
  return last ? first : nullptr;
}
