// Temporary folders and a desktop sandbox for tests: XDG folders pointed into
// a fresh temporary tree, desktop entries and default-application rules.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder, removed with everything in it when the owner goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  // Writes a file (creating its folders) and returns its path.
  std::filesystem::path write(const std::string& relative, const std::string& contents) const;
  std::filesystem::path write(const std::string& relative,
                              const std::vector<std::uint8_t>& contents) const;

 private:
  std::filesystem::path m_path;
};

// XDG_CONFIG_HOME, XDG_CACHE_HOME, XDG_STATE_HOME, XDG_DATA_HOME and XDG_DATA_DIRS pointed into
// a temporary tree whose only borrowed part is the machine's MIME database, so
// no installed application is seen. Set before the first GIO call of the
// process.
class DesktopSandbox {
 public:
  DesktopSandbox();
  const std::filesystem::path& root() const { return m_dir.path(); }
  std::filesystem::path config_home() const { return root() / "config"; }
  std::filesystem::path data_home() const { return root() / "data"; }
  // Writes applications/<id>.desktop under the data home and returns its path.
  std::filesystem::path add_application(const std::string& id, const std::string& name,
                                        const std::string& exec, const std::string& mime_types,
                                        const std::string& extra = "") const;
  // Indexes the MimeType claims of the sandbox's entries (mimeinfo.cache, with
  // the desktop's own update-desktop-database), as an installation does; GIO
  // knows an entry's claims only from that index. False when the tool is
  // missing or fails.
  bool index_mime_types() const;
  // Adds a default-application rule to the sandbox's mimeapps.list.
  void set_default(const std::string& mime_type, const std::string& desktop_id) const;
  // A script that writes its arguments, one per line, to the marker file.
  std::filesystem::path marker_program(const std::filesystem::path& marker) const;

 private:
  TempDir m_dir;
};

}  // namespace testing_support
