#include "links/placed_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>

namespace links {

namespace {

// Inline frames inside inline frames are followed this deep; Scribus nests
// them one or two levels, and a loop in a damaged file must end.
constexpr int kMaxInlineNesting = 16;

// Where an item at the top of the document's tree sits: a page, a master
// page, a pattern, or (for an inline frame) the text frame holding it.
struct Anchor {
  Place place = Place::Page;
  int page = 0;
  std::string owner;
  QString inline_id;  // set for an inline frame until its holder is known
};

std::string utf8(QStringView text) {
  return text.toString().toStdString();
}

class SlaReader {
 public:
  SlaReader(QXmlStreamReader& xml, QString folder) : m_xml(xml), m_folder(std::move(folder)) {}

  bool read(std::vector<PlacedPicture>& pictures, std::string& error);

 private:
  void start_element();
  void start_item();
  Anchor top_level_anchor() const;
  void add_picture(const QXmlStreamAttributes& attributes);
  void place_inline_frames();
  QString resolve(const QString& stored) const;

  QXmlStreamReader& m_xml;
  QString m_folder;
  std::vector<Anchor> m_items;  // the items being read, outermost first
  std::string m_pattern;        // the pattern being read, if any
  std::vector<PlacedPicture> m_pictures;
  std::vector<QString> m_inline_ids;       // per picture: its inline frame's id, if any
  std::map<QString, Anchor> m_holders;     // inline frame id -> the text frame's anchor
  std::map<QString, QString> m_inline_of;  // inline frame id -> the inline frame holding it
};

// The elements that hold one item each (a frame, a shape, a group).
bool is_item(QStringView name) {
  return name == u"PAGEOBJECT" || name == u"MASTEROBJECT" || name == u"FRAMEOBJECT" ||
         name == u"PatternItem";
}

bool is_scribus_root(QStringView name) {
  return name == u"SCRIBUSUTF8NEW" || name == u"SCRIBUSUTF8";
}

bool SlaReader::read(std::vector<PlacedPicture>& pictures, std::string& error) {
  if (!m_xml.readNextStartElement()) {
    error = m_xml.hasError() ? "" : "not a Scribus document";
  } else if (!is_scribus_root(m_xml.name())) {
    error = "not a Scribus document";
  } else {
    while (!m_xml.atEnd()) {
      QXmlStreamReader::TokenType token = m_xml.readNext();
      if (token == QXmlStreamReader::StartElement) start_element();
      if (token == QXmlStreamReader::EndElement) {
        if (is_item(m_xml.name()) && !m_items.empty()) m_items.pop_back();
        if (m_xml.name() == u"Pattern") m_pattern.clear();
      }
    }
  }
  if (m_xml.hasError()) {
    error = "damaged document: " + m_xml.errorString().toStdString() + " at line " +
            std::to_string(m_xml.lineNumber()) + ", column " + std::to_string(m_xml.columnNumber());
  }
  if (!error.empty()) return false;
  place_inline_frames();
  pictures = std::move(m_pictures);
  return true;
}

void SlaReader::start_element() {
  QStringView name = m_xml.name();
  if (is_item(name)) {
    start_item();
  } else if (name == u"Pattern") {
    m_pattern = utf8(m_xml.attributes().value(QLatin1String("Name")));
  } else if (name == u"ITEXT" && !m_items.empty()) {
    // A text frame's anchor character: the inline frame sits where the text
    // frame does.
    QStringView id = m_xml.attributes().value(QLatin1String("COBJ"));
    if (id.isEmpty()) return;
    const Anchor& holder = m_items.front();
    if (holder.inline_id.isEmpty()) {
      m_holders.emplace(id.toString(), holder);
    } else {
      m_inline_of.emplace(id.toString(), holder.inline_id);
    }
  }
}

// An item opens: at the top of the tree it has a place of its own; inside a
// group it shares the group's.
void SlaReader::start_item() {
  m_items.push_back(m_items.empty() ? top_level_anchor() : m_items.front());
  const QXmlStreamAttributes attributes = m_xml.attributes();
  if (attributes.value(QLatin1String("PTYPE")) != u"2") return;
  // A picture kept inside the document (Scribus's "Embed Image") has an
  // empty PFILE; any other frame without one is empty.
  bool embedded = attributes.value(QLatin1String("isInlineImage")) == u"1";
  if (attributes.value(QLatin1String("PFILE")).isEmpty() && !embedded) return;
  add_picture(attributes);
}

Anchor SlaReader::top_level_anchor() const {
  const QXmlStreamAttributes attributes = m_xml.attributes();
  Anchor anchor;
  QStringView name = m_xml.name();
  if (name == u"MASTEROBJECT") {
    anchor.place = Place::Master;
    anchor.owner = utf8(attributes.value(QLatin1String("OnMasterPage")));
  } else if (name == u"PatternItem") {
    anchor.place = Place::Pattern;
    anchor.owner = m_pattern;
  } else if (name == u"FRAMEOBJECT") {
    anchor.inline_id = attributes.value(QLatin1String("InID")).toString();
    anchor.place = Place::Pasteboard;  // until the text frame holding it is found
  } else {
    bool ok = false;
    int own_page = attributes.value(QLatin1String("OwnPage")).toInt(&ok);
    anchor.place = ok && own_page >= 0 ? Place::Page : Place::Pasteboard;
    anchor.page = anchor.place == Place::Page ? own_page + 1 : 0;
  }
  return anchor;
}

void SlaReader::add_picture(const QXmlStreamAttributes& attributes) {
  const Anchor& anchor = m_items.front();
  PlacedPicture picture;
  picture.place = anchor.place;
  picture.page = anchor.page;
  picture.owner = anchor.owner;
  picture.frame = utf8(attributes.value(QLatin1String("ANNAME")));
  QString stored = attributes.value(QLatin1String("PFILE")).toString();
  picture.stored_path = stored.toStdString();
  picture.embedded = attributes.value(QLatin1String("isInlineImage")) == u"1";
  if (!picture.embedded) picture.path = resolve(stored).toStdString();
  picture.scale_x = attributes.value(QLatin1String("LOCALSCX")).toDouble();
  picture.scale_y = attributes.value(QLatin1String("LOCALSCY")).toDouble();
  picture.inline_frame = !anchor.inline_id.isEmpty();
  picture.grouped = m_items.size() > 1;
  m_pictures.push_back(std::move(picture));
  m_inline_ids.push_back(anchor.inline_id);
}

// Gives each inline frame's picture the place of the text frame that holds
// it, following inline frames held by inline frames.
void SlaReader::place_inline_frames() {
  for (std::size_t i = 0; i < m_pictures.size(); ++i) {
    QString id = m_inline_ids[i];
    for (int depth = 0; !id.isEmpty() && depth < kMaxInlineNesting; ++depth) {
      if (auto holder = m_holders.find(id); holder != m_holders.end()) {
        m_pictures[i].place = holder->second.place;
        m_pictures[i].page = holder->second.page;
        m_pictures[i].owner = holder->second.owner;
        break;
      }
      auto outer = m_inline_of.find(id);
      id = outer == m_inline_of.end() ? QString() : outer->second;
    }
  }
}

// Absolute means a leading "/" alone: Qt would also take ":name" for a path
// into its own resources.
QString SlaReader::resolve(const QString& stored) const {
  if (stored.startsWith(u'/')) return QDir::cleanPath(stored);
  return QDir::cleanPath(m_folder + u'/' + stored);
}

// Scribus saves a document compressed when its name ends in ".gz".
constexpr const char* kCompressed = "compressed document: unpack it first (gunzip -k)";

bool is_gzip(const QByteArray& start) {
  return start.size() >= 2 && static_cast<unsigned char>(start[0]) == 0x1f &&
         static_cast<unsigned char>(start[1]) == 0x8b;
}

}  // namespace

bool read_placed_pictures(std::string_view bytes, const std::string& folder,
                          std::vector<PlacedPicture>& pictures, std::string& error) {
  pictures.clear();
  error.clear();
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  if (is_gzip(data)) {
    error = kCompressed;
    return false;
  }
  QXmlStreamReader xml(data);
  return SlaReader(xml, QString::fromStdString(folder)).read(pictures, error);
}

bool read_placed_pictures_file(const std::string& path, std::vector<PlacedPicture>& pictures,
                               std::string& error) {
  pictures.clear();
  error.clear();
  // Made absolute first, so that a name starting with ":" is a file too.
  std::error_code ignored;
  QFileInfo info(QString::fromStdString(std::filesystem::absolute(path, ignored).string()));
  // Never open a FIFO or a device: reading one could block for ever.
  if (info.exists() && !info.isFile()) {
    error = "cannot read: not a regular file";
    return false;
  }
  QFile file(info.filePath());
  if (!file.open(QIODevice::ReadOnly)) {
    error = "cannot read: " + file.errorString().toStdString();
    return false;
  }
  if (is_gzip(file.peek(2))) {
    error = kCompressed;
    return false;
  }
  QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  if (folder.isEmpty()) folder = info.absolutePath();
  QXmlStreamReader xml(&file);
  return SlaReader(xml, folder).read(pictures, error);
}

std::string place_label(const PlacedPicture& picture) {
  switch (picture.place) {
    case Place::Page:
      return "page " + std::to_string(picture.page);
    case Place::Master:
      return "master " + picture.owner;
    case Place::Pattern:
      return "pattern " + picture.owner;
    case Place::Pasteboard:
      break;
  }
  return "pasteboard";
}

}  // namespace links
