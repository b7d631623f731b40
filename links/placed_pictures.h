// The pictures placed in a Scribus document, read from its file.
//
// A Scribus document (.sla) is XML. Its image frames are items whose PTYPE is
// 2; the picture's file is in PFILE (absolute, or relative to the document's
// folder), its scale in LOCALSCX and LOCALSCY (points per pixel), the frame's
// name in ANNAME. Items are written as PAGEOBJECT (on a page, OwnPage counting
// from 0, or on the pasteboard when it is negative), MASTEROBJECT (on the
// master page named by OnMasterPage), FRAMEOBJECT (an inline frame, InID, held
// by a text frame's <ITEXT COBJ="InID">) and PatternItem (inside a <Pattern>);
// a group's members are PAGEOBJECT elements nested in the group's own element.
//
// The file is read with Qt's XML stream reader, once, front to back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace links {

// Where a frame sits.
enum class Place {
  Page,        // a document page: `page` counts from 1
  Master,      // a master page: `owner` is its name
  Pattern,     // a pattern: `owner` is its name
  Pasteboard,  // beside the pages
};

struct PlacedPicture {
  Place place = Place::Page;
  int page = 0;             // for Place::Page, from 1
  std::string owner;        // the master page's or the pattern's name
  std::string frame;        // the frame's name (UTF-8)
  std::string stored_path;  // PFILE as the document writes it
  std::string path;         // absolute and clean (UTF-8)
  double scale_x = 0;       // points per pixel; 0 when the file does not say
  double scale_y = 0;
  bool inline_frame = false;  // anchored in a text frame
  bool grouped = false;       // a member of a group
  bool embedded = false;      // the picture's data is kept inside the document
};

// Reads the document in `bytes`, resolving relative picture paths against
// `folder` (an absolute path). Returns true and fills `pictures`, in document
// order, for every image frame that names a picture; empty frames are left
// out, but a picture embedded in the document (an empty PFILE and
// isInlineImage="1") is listed with `embedded` set. Returns false with one line in `error` when the
// bytes are not XML
// ("damaged document: <what> at line L, column C"), not a Scribus document
// ("not a Scribus document") or a compressed one (.sla.gz, which is not
// unpacked here); `pictures` is then empty.
bool read_placed_pictures(std::string_view bytes, const std::string& folder,
                          std::vector<PlacedPicture>& pictures, std::string& error);

// Reads the document file at `path`; relative picture paths resolve against
// the document's own folder (symbolic links followed, as Scribus does).
// False with one line in `error` when the file cannot be read, or as above.
bool read_placed_pictures_file(const std::string& path, std::vector<PlacedPicture>& pictures,
                               std::string& error);

// "page 3", "master Normal", "pattern Dots" or "pasteboard".
std::string place_label(const PlacedPicture& picture);

}  // namespace links
