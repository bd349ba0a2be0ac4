#include "platform/catalogue/CatalogueSource.h"

#include <sqlite3.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <variant>
#include <vector>

#include "dataformat/resbuf.h"
#include "platform/catalogue/CatalogueSchema.h"
#include "platform/catalogue/GroupCodeText.h"

namespace jovDatabase {
namespace {

struct SourceError {
  int line;
  std::string what;
};

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

int64_t ParseInt(const std::string& text, int line, const char* what) {
  std::string t = Trim(text);
  if (t.empty()) return 0;
  // Decimal, or hexadecimal with 0x (status words); never octal.
  bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(t.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || *end != '\0') throw SourceError{line, std::string("bad number for ") + what};
  return v;
}

double ParseReal(const std::string& text, int line, const char* what) {
  std::string t = Trim(text);
  if (t.empty()) return 0;
  double v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v))
    throw SourceError{line, std::string("bad number for ") + what};
  return v;
}

// Splits a row at unescaped '|' and resolves the escapes of each field.
std::vector<std::string> SplitRow(const std::string& row, int line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < row.size(); ++i) {
    char c = row[i];
    if (c == '|') {
      fields.emplace_back();
    } else if (c == '\\') {
      if (++i == row.size()) throw SourceError{line, "'\\' at the end of a row"};
      switch (row[i]) {
        case 'n':
          fields.back() += '\n';
          break;
        case 'r':
          fields.back() += '\r';
          break;
        case 't':
          fields.back() += '\t';
          break;
        case '|':
          fields.back() += '|';
          break;
        case '\\':
          fields.back() += '\\';
          break;
        default:
          throw SourceError{line, "unknown escape in a row"};
      }
    } else {
      fields.back() += c;
    }
  }
  for (auto& f : fields) f = Trim(f);
  return fields;
}

struct Row {
  int line;
  std::vector<std::string> fields;
  const std::string& At(size_t i) const {
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
  }
};

struct Item {
  int line = 0;
  std::map<std::string, std::string> values;  // key = value lines
  std::map<std::string, std::string> blocks;  // stored texts
  std::map<std::string, int> blockLines;
};

struct Source {
  std::map<std::string, std::string> catalogue;
  std::vector<Row> names, partypes, producers, products;
  std::vector<Item> items;
};

const std::set<std::string> kItemKeys = {"id", "idi", "title", "type", "status"};
const std::set<std::string> kTextBlocks = {"points", "properties"};
const std::set<std::string> kCrLfBlocks = {"params", "parA", "parB", "parC", "par3D"};
const std::set<std::string> kDxfBlocks = {"dxfA", "dxfB", "dxfC", "dxf3D"};

// "code value" lines into "code\nvalue\n" pairs.
std::string GeometryText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& raw : lines) {
    size_t b = raw.find_first_not_of(" \t");
    if (b == std::string::npos || raw[b] == '#') continue;
    size_t sep = raw.find_first_of(" \t", b);
    std::string code = raw.substr(b, sep == std::string::npos ? std::string::npos : sep - b);
    std::string value = sep == std::string::npos ? std::string() : raw.substr(sep + 1);
    text += code + "\n" + value + "\n";
  }
  return text;
}

std::string JoinLines(const std::vector<std::string>& lines, const char* end) {
  std::string text;
  for (const auto& l : lines) text += l + end;
  return text;
}

Source ReadSource(const std::string& text) {
  Source src;
  std::istringstream in(text);
  std::string line, section;
  int lineNo = 0;
  Item* item = nullptr;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    if (t.front() == '[' && t.back() == ']') {
      section = t.substr(1, t.size() - 2);
      item = nullptr;
      if (section == "item") {
        src.items.emplace_back();
        item = &src.items.back();
        item->line = lineNo;
      } else if (section != "catalogue" && section != "names" && section != "partypes" &&
                 section != "producers" && section != "products") {
        throw SourceError{lineNo, "unknown section [" + section + "]"};
      }
      continue;
    }
    if (section.empty()) throw SourceError{lineNo, "text before the first section"};
    if (section == "catalogue" || section == "item") {
      if (t.size() > 2 && t.compare(t.size() - 2, 2, "<<") == 0) {
        std::string name = Trim(t.substr(0, t.size() - 2));
        if (!item) throw SourceError{lineNo, "text block outside an item"};
        bool known = kTextBlocks.count(name) || kCrLfBlocks.count(name) || kDxfBlocks.count(name);
        if (!known) throw SourceError{lineNo, "unknown text block '" + name + "'"};
        if (item->blocks.count(name)) throw SourceError{lineNo, "block '" + name + "' given twice"};
        int start = lineNo;
        std::vector<std::string> lines;
        bool closed = false;
        while (std::getline(in, line)) {
          ++lineNo;
          if (!line.empty() && line.back() == '\r') line.pop_back();
          if (Trim(line) == ">>") {
            closed = true;
            break;
          }
          lines.push_back(line);
        }
        if (!closed) throw SourceError{start, "block '" + name + "' without '>>'"};
        item->blockLines[name] = start;
        item->blocks[name] = kDxfBlocks.count(name)    ? GeometryText(lines)
                             : kCrLfBlocks.count(name) ? JoinLines(lines, "\r\n")
                                                       : JoinLines(lines, "\n");
        continue;
      }
      size_t eq = t.find('=');
      if (eq == std::string::npos) throw SourceError{lineNo, "expected key = value"};
      std::string key = Trim(t.substr(0, eq)), value = Trim(t.substr(eq + 1));
      if (item) {
        if (!kItemKeys.count(key)) throw SourceError{lineNo, "unknown item key '" + key + "'"};
        item->values[key] = value;
      } else {
        if (key != "trade" && key != "title")
          throw SourceError{lineNo, "unknown catalogue key '" + key + "'"};
        src.catalogue[key] = value;
      }
      continue;
    }
    Row row{lineNo, SplitRow(t, lineNo)};
    if (section == "names") src.names.push_back(row);
    if (section == "partypes") src.partypes.push_back(row);
    if (section == "producers") src.producers.push_back(row);
    if (section == "products") src.products.push_back(row);
  }
  return src;
}

// Four view groups: a count line, then four lines per point.
bool PointsTextIsWhole(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string l;
  while (std::getline(in, l)) lines.push_back(l);
  size_t at = 0;
  for (int group = 0; group < 4; ++group) {
    if (at >= lines.size()) return false;
    char* end = nullptr;
    long n = std::strtol(lines[at].c_str(), &end, 10);
    if (end == lines[at].c_str() || n < 0) return false;
    // Bounded by the lines left, so a huge count cannot wrap the index.
    const size_t left = lines.size() - at - 1;
    if (static_cast<unsigned long>(n) > left / 4) return false;
    at += 1 + 4 * static_cast<size_t>(n);
  }
  return at == lines.size();
}

void CheckItem(const Item& item, char trade) {
  auto id = item.values.find("id");
  if (id == item.values.end()) throw SourceError{item.line, "item without an id"};
  const std::string& code = id->second;
  if (code.size() != 12 || code[7] != '-' || code[0] != trade)
    throw SourceError{item.line, "index id '" + code + "' is not 12 characters of trade " +
                                     std::string(1, trade) + " with '-' as the 8th"};
  auto statusText = item.values.find("status");
  uint64_t status = statusText == item.values.end()
                        ? 0
                        : static_cast<uint64_t>(ParseInt(statusText->second, item.line, "status"));
  static const char* const views[] = {"dxfA", "dxfB", "dxfC", "dxf3D"};
  for (int v = 0; v < 4; ++v) {
    bool flagged = (status >> (31 - v)) & 1;
    auto block = item.blocks.find(views[v]);
    bool present = block != item.blocks.end() && !block->second.empty();
    if (flagged != present)
      throw SourceError{item.line, code + ": status bit " + std::to_string(31 - v) +
                                       (flagged ? " names a view without geometry"
                                                : " is clear but geometry " +
                                                      std::string(views[v]) + " is given")};
    if (!present) continue;
    resbuf* chain = nullptr;
    std::string why;
    if (!ParseGroupCodeText(block->second.c_str(), &chain, &why))
      throw SourceError{item.blockLines.at(views[v]), code + " " + views[v] + ": " + why};
    FreeGroupCodeNodes(chain);
  }
  auto points = item.blocks.find("points");
  if (points != item.blocks.end() && !points->second.empty() && !PointsTextIsWhole(points->second))
    throw SourceError{item.blockLines.at("points"), code + ": points text is not four view groups"};
}

class Writer {
 public:
  explicit Writer(const std::string& path) {
    std::remove(path.c_str());
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      // The destructor does not run for a throwing constructor.
      std::string why = db_ ? sqlite3_errmsg(db_) : "cannot open";
      sqlite3_close(db_);
      db_ = nullptr;
      throw SourceError{0, "catalogue file: " + why};
    }
  }
  ~Writer() { sqlite3_close(db_); }

  void Exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(0);
  }

  // Binds the values (null optionals bind NULL) and runs one insert.
  using Value = std::variant<std::monostate, int64_t, double, std::string>;
  void Insert(const char* sql, const std::vector<Value>& values, int line) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) Fail(line);
    for (size_t i = 0; i < values.size(); ++i) {
      int at = static_cast<int>(i + 1);
      const Value& v = values[i];
      if (auto* n = std::get_if<int64_t>(&v)) sqlite3_bind_int64(st, at, *n);
      if (auto* r = std::get_if<double>(&v)) sqlite3_bind_double(st, at, *r);
      if (auto* s = std::get_if<std::string>(&v))
        sqlite3_bind_text(st, at, s->c_str(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    }
    if (sqlite3_step(st) != SQLITE_DONE) {
      std::string why = sqlite3_errmsg(db_);
      sqlite3_finalize(st);
      throw SourceError{line, "catalogue file: " + why};
    }
    sqlite3_finalize(st);
  }

  sqlite3* Db() const { return db_; }

  [[noreturn]] void Fail(int line) {
    throw SourceError{
        line, std::string("catalogue file: ") + (db_ ? sqlite3_errmsg(db_) : "cannot open")};
  }

 private:
  sqlite3* db_ = nullptr;
};

void Write(const Source& src, char trade, const std::string& path) {
  Writer w(path);
  const char* schemaError = nullptr;
  if (!CreateCatalogueSchema(w.Db(), &schemaError)) w.Fail(0);
  w.Exec("BEGIN");
  const char* setting = "INSERT INTO catalogue (key, value) VALUES (?1, ?2)";
  w.Insert(setting, {std::string("format"), std::to_string(kCatalogueFormat)}, 0);
  w.Insert(setting, {std::string("trade"), std::string(1, trade)}, 0);
  auto title = src.catalogue.find("title");
  w.Insert(setting, {std::string("title"), title == src.catalogue.end() ? "" : title->second}, 0);

  for (const auto& r : src.names) {
    if (r.fields.size() < 4 || r.fields.size() > 6)
      throw SourceError{r.line, "names row needs list | entry | id | name [| comment | status]"};
    w.Insert(
        "INSERT INTO names (list, entry, id, name, comment, status) VALUES (?1,?2,?3,?4,?5,?6)",
        {r.At(0), ParseInt(r.At(1), r.line, "entry"), ParseInt(r.At(2), r.line, "id"), r.At(3),
         r.At(4), ParseInt(r.At(5), r.line, "status")},
        r.line);
  }
  for (const auto& r : src.partypes) {
    if (r.fields.size() < 2 || r.fields.size() > 6)
      throw SourceError{r.line, "partypes row needs id | title [| status | lo | hi | second id]"};
    w.Insert(
        "INSERT INTO partypes (id, title, status, lo, hi, second_id) VALUES (?1,?2,?3,?4,?5,?6)",
        {ParseInt(r.At(0), r.line, "id"), r.At(1), ParseInt(r.At(2), r.line, "status"),
         ParseReal(r.At(3), r.line, "lo"), ParseReal(r.At(4), r.line, "hi"),
         ParseInt(r.At(5), r.line, "second id")},
        r.line);
  }
  for (const auto& r : src.producers) {
    if (r.fields.size() < 2 || r.fields.size() > 4)
      throw SourceError{r.line, "producers row needs id | name [| comment | status]"};
    w.Insert(
        "INSERT INTO producers (id, name, comment, status) VALUES (?1,?2,?3,?4)",
        {ParseInt(r.At(0), r.line, "id"), r.At(1), r.At(2), ParseInt(r.At(3), r.line, "status")},
        r.line);
  }
  static const std::pair<const char*, const char*> blockColumns[] = {
      {"dxfA", "dxf_a"},    {"dxfB", "dxf_b"},    {"dxfC", "dxf_c"},
      {"dxf3D", "dxf_3d"},  {"points", "points"}, {"properties", "properties"},
      {"params", "params"}, {"parA", "par_a"},    {"parB", "par_b"},
      {"parC", "par_c"},    {"par3D", "par_3d"}};
  for (const auto& item : src.items) {
    CheckItem(item, trade);
    auto value = [&item](const char* key) {
      auto it = item.values.find(key);
      return it == item.values.end() ? std::string() : it->second;
    };
    std::string columns = "index_id, title, type, status";
    std::string marks = "?1, ?2, ?3, ?4";
    std::vector<Writer::Value> values = {value("id"), value("title"),
                                         ParseInt(value("type"), item.line, "type"),
                                         ParseInt(value("status"), item.line, "status")};
    if (!value("idi").empty()) {
      columns += ", idi";
      values.emplace_back(ParseInt(value("idi"), item.line, "idi"));
      marks += ", ?" + std::to_string(values.size());
    }
    for (const auto& [block, column] : blockColumns) {
      auto it = item.blocks.find(block);
      if (it == item.blocks.end()) continue;
      columns += std::string(", ") + column;
      values.emplace_back(it->second);
      marks += ", ?" + std::to_string(values.size());
    }
    std::string sql = "INSERT INTO items (" + columns + ") VALUES (" + marks + ")";
    w.Insert(sql.c_str(), values, item.line);
  }
  for (const auto& r : src.products) {
    if (r.fields.size() < 4 || r.fields.size() > 8)
      throw SourceError{
          r.line,
          "products row needs id | producer | item | date [| names id | price | unit | comment]"};
    w.Insert(
        "INSERT INTO products (id, producer_id, idi, date, status, price, mj, comment) "
        "SELECT ?1, ?2, idi, ?4, ?5, ?6, ?7, ?8 FROM items WHERE index_id = ?3 "
        "AND ?2 IN (SELECT id FROM producers)",
        {ParseInt(r.At(0), r.line, "id"), ParseInt(r.At(1), r.line, "producer"), r.At(2), r.At(3),
         ParseInt(r.At(4), r.line, "names id"), ParseReal(r.At(5), r.line, "price"),
         ParseInt(r.At(6), r.line, "unit"), r.At(7)},
        r.line);
    if (sqlite3_changes(w.Db()) != 1)
      throw SourceError{r.line, "product of an unknown item or producer"};
  }
  w.Exec("COMMIT");
}

}  // namespace

bool BuildCatalogueFromText(const std::string& source, const char* outputPath, std::string& error,
                            const char* sourceName) {
  if (!outputPath || !*outputPath) {
    error = "no output file";
    return false;
  }
  std::string temporary = std::string(outputPath) + ".part";
  try {
    Source src = ReadSource(source);
    auto trade = src.catalogue.find("trade");
    if (trade == src.catalogue.end() || trade->second.size() != 1 || trade->second[0] < 'A' ||
        trade->second[0] > 'Z')
      throw SourceError{0, "[catalogue] needs trade = one capital letter"};
    Write(src, trade->second[0], temporary);
  } catch (const SourceError& e) {
    std::remove(temporary.c_str());
    error = std::string(sourceName ? sourceName : "source") + ":" + std::to_string(e.line) + ": " +
            e.what;
    return false;
  }
  if (std::rename(temporary.c_str(), outputPath) != 0) {
    std::remove(temporary.c_str());
    error = std::string("cannot write ") + outputPath;
    return false;
  }
  return true;
}

bool BuildCatalogueFile(const char* sourcePath, const char* outputPath, std::string& error) {
  std::ifstream in(sourcePath ? sourcePath : "", std::ios::binary);
  if (!in) {
    error = std::string("cannot read ") + (sourcePath ? sourcePath : "(null)");
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return BuildCatalogueFromText(text.str(), outputPath, error, sourcePath);
}

}  // namespace jovDatabase
