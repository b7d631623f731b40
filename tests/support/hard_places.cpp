#include "tests/support/hard_places.h"

namespace testing_support {

namespace fs = std::filesystem;

namespace {

// A folder name of about `bytes` bytes made of a repeated word.
std::string repeated(const std::string& word, std::size_t bytes, int index) {
  std::string name = std::to_string(index) + " ";
  while (name.size() + word.size() <= bytes) name += word;
  return name;
}

fs::path place(const fs::path& root, const fs::path& relative, const fs::path& sample) {
  fs::path picture = root / relative;
  fs::create_directories(picture.parent_path());
  fs::copy_file(sample, picture, fs::copy_options::overwrite_existing);
  return picture;
}

}  // namespace

std::vector<HardPlace> make_hard_places(const fs::path& root, const fs::path& sample) {
  fs::path long_latin = "Long";
  for (int i = 0; i < 5; ++i) long_latin /= repeated("Spring catalogue ", 60, i);
  fs::path long_cyrillic = "Длинный";
  for (int i = 0; i < 10; ++i) long_cyrillic /= repeated("Фотографии ", 150, i);
  fs::path deep = "Глубоко";
  for (int i = 0; i < 40; ++i) deep /= "Фото " + std::to_string(i);

  std::vector<HardPlace> places = {
      {"Cyrillic", place(root, "Изображения/обложка.jpg", sample)},
      {"Japanese", place(root, "写真/表紙.jpg", sample)},
      {"Greek with decomposed accents",
       place(root, "Φωτογραφι\xCC\x81ες/εξω\xCC\x81φυλλο.jpg", sample)},
      {"300 bytes", place(root, long_latin / "cover.jpg", sample)},
      {"1,500 bytes", place(root, long_cyrillic / "обложка.jpg", sample)},
      {"40 folders deep", place(root, deep / "обложка.jpg", sample)},
      {"not UTF-8", place(root, "Bilder \xE9t\xE9/cover \xFF.jpg", sample)},
      {"folder with #", place(root, "Проект #12/cover#5.jpg", sample)},
  };
  fs::create_directory_symlink(root / "Изображения", root / "Pictures (link)");
  places.push_back({"through a symbolic link", root / "Pictures (link)" / "обложка.jpg"});
  return places;
}

}  // namespace testing_support
