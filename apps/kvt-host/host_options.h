// The command line of kvt-host after its command word.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kvt::host {

// A command line the host cannot follow; `problem` says why.
struct UsageError {
  std::string problem;
};

class HostOptions {
 public:
  // Reads args[first..]: exactly `positional` arguments taken as they are
  // (an expression may begin with "-"), then, in any order, the options
  // named in `valued` with their value ("--db PATH") and the flags named in
  // `flags` ("--new"). Raises UsageError for a missing argument or value,
  // an unknown or repeated option, or anything left over.
  HostOptions(const std::vector<std::string>& args, size_t first, size_t positional,
              const std::set<std::string>& valued, const std::set<std::string>& flags);

  const std::string& Positional(size_t index) const { return positional_.at(index); }
  // The option's value, or `fallback` when it was not given.
  std::string Value(const std::string& name, const std::string& fallback) const;
  bool Has(const std::string& flag) const { return flags_.count(flag) != 0; }

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
  std::set<std::string> flags_;
};

}  // namespace kvt::host
