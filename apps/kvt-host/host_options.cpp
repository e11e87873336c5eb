#include "apps/kvt-host/host_options.h"

namespace kvt::host {

HostOptions::HostOptions(const std::vector<std::string>& args, size_t first, size_t positional,
                         const std::set<std::string>& valued, const std::set<std::string>& flags) {
  size_t i = first;
  for (; i < args.size() && positional_.size() < positional; ++i) positional_.push_back(args[i]);
  if (positional_.size() < positional) throw UsageError{"an argument is missing"};
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (values_.count(arg) != 0 || flags_.count(arg) != 0) {
      throw UsageError{arg + " is given twice"};
    }
    if (flags.count(arg) != 0) {
      flags_.insert(arg);
    } else if (valued.count(arg) != 0) {
      if (i + 1 == args.size()) throw UsageError{arg + " needs a value"};
      values_[arg] = args[++i];
    } else {
      throw UsageError{"unexpected \"" + arg + "\""};
    }
  }
}

std::string HostOptions::Value(const std::string& name, const std::string& fallback) const {
  auto found = values_.find(name);
  return found == values_.end() ? fallback : found->second;
}

}  // namespace kvt::host
