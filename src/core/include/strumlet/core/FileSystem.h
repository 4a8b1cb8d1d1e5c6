#pragma once

#include <string>

namespace strumlet {

// "folder/name" without doubling a "/" that `folder` already ends with; `name` alone when
// `folder` is empty.
std::string JoinPath(const std::string& folder, const std::string& name);

// The system's text for an errno value. Unlike strerror it may be called from any thread; take
// the value right at the failing call, before anything else can change errno.
std::string ErrorText(int error);

}  // namespace strumlet
