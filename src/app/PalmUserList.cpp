#include "app/PalmUserList.h"

namespace strumlet {
namespace {

// Stands in until the Palm Desktop's user directory can be read: nobody to offer.
class NoPalmUsers final : public PalmUserList {
 public:
  std::vector<std::string> UserNames() override { return {}; }
  std::optional<std::string> BackupFolder(const std::string&) override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<PalmUserList> OpenPalmUserList() { return std::make_unique<NoPalmUsers>(); }

}  // namespace strumlet
