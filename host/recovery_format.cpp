#include "host/recovery_format.h"


namespace vxhost {
namespace {

constexpr std::string_view SIGNATURE_1 = "VX-HOST-RECOVERY 1\n";
constexpr std::string_view SIGNATURE_2 = "VX-HOST-RECOVERY 2\n";
constexpr char HEX[] = "0123456789ABCDEF";

// One "name=value" line at position; moves past it.
bool Field(std::string_view bytes, std::size_t& position, std::string_view name, std::string_view& value) {
  const std::size_t end = bytes.find('\n', position);
  if (end == std::string_view::npos) return false;
  const std::string_view line = bytes.substr(position, end - position);
  if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != '=') return false;
  value = line.substr(name.size() + 1);
  position = end + 1;
  return true;
}

bool Number(std::string_view text, std::uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const std::uint64_t next = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (next / 10 != value) return false;
    value = next;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "LINE HEXBYTES": a kept line.
bool KeptLineOf(std::string_view value, KeptLine& kept) {
  const std::size_t space = value.find(' ');
  std::uint64_t line = 0;
  if (space == std::string_view::npos || !Number(value.substr(0, space), line)) return false;
  const std::string_view hex = value.substr(space + 1);
  if (hex.empty() || hex.size() % 2 != 0) return false;
  kept.line = static_cast<std::size_t>(line);
  kept.bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    kept.bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

}  // namespace

std::string FormatRecovery(const RecoveryRecord& record) {
  std::string bytes(SIGNATURE_2);
  bytes += "document=" + record.document + "\n";
  bytes += std::string("encoding=") + (record.encoding == Encoding::Utf8 ? "UTF-8" : "Shift_JIS") + "\n";
  bytes += std::string("bom=") + (record.byteOrderMark ? "1" : "0") + "\n";
  bytes += record.disk ? "disk=" + std::to_string(record.disk->size) + " " + std::to_string(record.disk->writeTime) + "\n"
                       : std::string("disk=none\n");
  for (const KeptLine& kept : record.kept) {
    bytes += "kept=" + std::to_string(kept.line) + " ";
    for (unsigned char c : kept.bytes) {
      bytes += HEX[c >> 4];
      bytes += HEX[c & 15];
    }
    bytes += "\n";
  }
  bytes += "length=" + std::to_string(record.text.size()) + "\n\n";
  bytes += record.text;
  return bytes;
}

bool ParseRecovery(std::string_view bytes, RecoveryRecord& record) {
  const bool second = bytes.substr(0, SIGNATURE_2.size()) == SIGNATURE_2;
  if (!second && bytes.substr(0, SIGNATURE_1.size()) != SIGNATURE_1) return false;
  std::size_t position = SIGNATURE_2.size();
  RecoveryRecord read;
  std::string_view document, encoding, bom, value;
  if (!Field(bytes, position, "document", document) || !Field(bytes, position, "encoding", encoding) ||
      !Field(bytes, position, "bom", bom)) {
    return false;
  }
  if (encoding != "UTF-8" && encoding != "Shift_JIS") return false;
  if (bom != "0" && bom != "1") return false;
  read.document = std::string(document);
  read.encoding = encoding == "UTF-8" ? Encoding::Utf8 : Encoding::ShiftJis;
  read.byteOrderMark = bom == "1";
  read.diskRecorded = second;
  if (second) {
    if (!Field(bytes, position, "disk", value)) return false;
    if (value != "none") {
      const std::size_t space = value.find(' ');
      DiskState disk;
      if (space == std::string_view::npos || !Number(value.substr(0, space), disk.size) ||
          !Number(value.substr(space + 1), disk.writeTime)) {
        return false;
      }
      read.disk = disk;
    }
    while (Field(bytes, position, "kept", value)) {
      KeptLine kept;
      if (!KeptLineOf(value, kept) || (!read.kept.empty() && kept.line <= read.kept.back().line)) return false;
      read.kept.push_back(std::move(kept));
    }
  }
  std::uint64_t length = 0;
  if (!Field(bytes, position, "length", value) || !Number(value, length) || position >= bytes.size() ||
      bytes[position] != '\n') {
    return false;
  }
  ++position;
  if (length != bytes.size() - position) return false;
  read.text = std::string(bytes.substr(position));
  record = std::move(read);
  return true;
}

}  // namespace vxhost
