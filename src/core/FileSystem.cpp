#include "strumlet/core/FileSystem.h"

#include <system_error>

namespace strumlet {

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/') {
    return folder + name;
  }
  return folder + "/" + name;
}

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace strumlet
