#include "NameCheck.h"

#include <optional>
#include <utility>

#include "FileIdentity.h"

namespace kov::wfexport {

std::string CheckNames(const std::vector<NamedFile>& inputs,
                       const std::vector<NamedFile>& outputs) {
  std::vector<std::pair<const NamedFile*, FileIdentity>> known;
  for (const NamedFile& input : inputs) {
    if (auto identity = IdentityOf(input.path)) known.emplace_back(&input, *identity);
  }
  const std::size_t inputCount = known.size();
  for (const NamedFile& output : outputs) {
    const auto identity = IdentityOf(output.path);
    if (!identity) continue;
    for (std::size_t i = 0; i < known.size(); ++i) {
      if (known[i].second != *identity) continue;
      if (i < inputCount) return output.what + " names " + known[i].first->what;
      return known[i].first->what + " and " + output.what + " name one file";
    }
    known.emplace_back(&output, *identity);
  }
  return {};
}

}  // namespace kov::wfexport
