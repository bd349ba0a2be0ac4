#include "platform/win32/headless_metrics.h"

namespace {
HeadlessMetrics& Current() {
  static HeadlessMetrics metrics;
  return metrics;
}
}  // namespace

const HeadlessMetrics& GetHeadlessMetrics() { return Current(); }

void SetHeadlessMetrics(const HeadlessMetrics& metrics) { Current() = metrics; }
