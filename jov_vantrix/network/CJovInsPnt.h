// One insertion point of the "JOV_INSPT" block of a network entity.
#pragma once

#include <cstdint>
#include <memory>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"

class CJovInsPnt : public CSeznam {
 public:
  CJovInsPnt() = default;
  explicit CJovInsPnt(const double point[3]);
  ~CJovInsPnt() override = default;

  // The point's three doubles; null for a default-constructed element.
  const double* GetPoint() const { return m_point.get(); }
  void SetPoint(double x, double y, double z);

  // 1070 with the low 16 bits of value, then one 1010 per element of the
  // list (an element without a point is written at the origin). The caller
  // owns the chain; null when a node cannot be made.
  static resbuf* BuildChain(const CJovInsPnt& list, int value);
  // Appends copies of two points.
  static void AddPointPair(CJovInsPnt& list, const GLVector& p1, const GLVector& p2);

 private:
  std::unique_ptr<double[]> m_point;
};
