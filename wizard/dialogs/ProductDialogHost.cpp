#include "wizard/dialogs/ProductDialogHost.h"

namespace {

class NoHost : public ProductDialogHost {
 public:
  std::string RegistryRoot() const override { return ""; }
  int TradeLetter() const override { return -1; }
  resbuf*& ResultChain(int which) override { return which == 1 ? chain1_ : chain2_; }
  void GetProducerData(const char* out[kProducerTexts]) const override {
    for (int i = 0; i < kProducerTexts; ++i) out[i] = nullptr;
  }
  void SetProducerData(const char* const[kProducerTexts]) override {}
  void KeepChoices(const int[kChoices]) override {}
  void KeptChoices(int out[kChoices]) const override {
    for (int i = 0; i < kChoices; ++i) out[i] = -1;
  }
  const char* PP2Date() const override { return nullptr; }
  const char* Slope() const override { return nullptr; }
  int Mirror() const override { return -1; }
  void SetMirror(int) override {}
  bool PointText(const char*, unsigned, unsigned, char*, unsigned) const override { return false; }
  bool ProductPointName(unsigned, unsigned, char*, unsigned) const override { return false; }
  void ApplyConnectionLevel(unsigned, unsigned, const char*, unsigned, CObjectSez*) override {}
  bool ProductDxf(unsigned, jovDatabase::resultResbuf&) override { return false; }
  bool BuildProductXData(HWND, unsigned, CObjectSez*, unsigned char*, unsigned, const char*, const char*,
                         const char*) override {
    return false;
  }
  bool FindKorpalinLibrary(char*, unsigned) const override { return false; }

 private:
  resbuf* chain1_ = nullptr;
  resbuf* chain2_ = nullptr;
};

ProductDialogHost* installed = nullptr;

}  // namespace

ProductDialogHost::~ProductDialogHost() = default;

ProductDialogHost& TheProductDialogHost() {
  static NoHost none;
  return installed ? *installed : none;
}

ProductDialogHost* SetProductDialogHost(ProductDialogHost* host) {
  ProductDialogHost* previous = installed;
  installed = host;
  return previous;
}
