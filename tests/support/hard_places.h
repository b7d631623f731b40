// Pictures in places whose paths have no plain Mac Roman form or do not fit a
// short text: Cyrillic, Japanese and decomposed Greek names, 300- and
// 1,500-byte paths, 40 levels of Cyrillic folders, a name that is not valid
// UTF-8, folders with "#", and a symbolic link to a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct HardPlace {
  std::string label;
  std::filesystem::path picture;  // absolute, as the user names it
};

// Copies `sample` into each place under root (making its folders and the
// link) and returns the places.
std::vector<HardPlace> make_hard_places(const std::filesystem::path& root,
                                        const std::filesystem::path& sample);

}  // namespace testing_support
