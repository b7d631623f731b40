#include "tests/support/sandbox.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "tavrine-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  // A test may have taken its own rights away to make a write fail.
  fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(m_path, ec);
}

fs::path TempDir::write(const std::string& relative, const std::string& contents) const {
  fs::path file = m_path / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << contents;
  return file;
}

fs::path TempDir::write(const std::string& relative,
                        const std::vector<std::uint8_t>& contents) const {
  return write(relative, std::string(contents.begin(), contents.end()));
}

DesktopSandbox::DesktopSandbox() {
  for (const char* sub : {"config", "cache", "data/applications", "dirs"}) {
    fs::create_directories(root() / sub);
  }
  setenv("XDG_CONFIG_HOME", (root() / "config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (root() / "cache").c_str(), 1);
  setenv("XDG_STATE_HOME", (root() / "state").c_str(), 1);
  setenv("XDG_DATA_HOME", (root() / "data").c_str(), 1);
  // Only the shared MIME database comes from the machine, so that no installed
  // application can answer for the sandbox's own.
  fs::create_directory_symlink("/usr/share/mime", root() / "dirs" / "mime");
  setenv("XDG_DATA_DIRS", (root() / "dirs").c_str(), 1);
  setenv("XDG_CONFIG_DIRS", (root() / "config-dirs").c_str(), 1);
  setenv("XDG_CURRENT_DESKTOP", "", 1);
  m_dir.write("config/mimeapps.list", "[Default Applications]\n");
}

fs::path DesktopSandbox::add_application(const std::string& id, const std::string& name,
                                         const std::string& exec, const std::string& mime_types,
                                         const std::string& extra) const {
  return m_dir.write("data/applications/" + id + ".desktop",
                     "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec +
                         "\nMimeType=" + mime_types + "\n" + extra);
}

bool DesktopSandbox::index_mime_types() const {
  std::string command =
      "update-desktop-database -q '" + (data_home() / "applications").string() + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

void DesktopSandbox::set_default(const std::string& mime_type,
                                 const std::string& desktop_id) const {
  std::ofstream out(config_home() / "mimeapps.list", std::ios::app);
  out << mime_type << "=" << desktop_id << ".desktop\n";
}

fs::path DesktopSandbox::marker_program(const fs::path& marker) const {
  fs::path program =
      m_dir.write("bin/record-args", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" +
                                         marker.string() + ".tmp' && mv '" + marker.string() +
                                         ".tmp' '" + marker.string() + "'\n");
  fs::permissions(program, fs::perms::owner_all);
  return program;
}

}  // namespace testing_support
