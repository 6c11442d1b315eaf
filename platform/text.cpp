#include "platform/text.h"

#include <cstdint>

namespace tessmoor {

namespace {

char32_t LowerCodePoint(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper and lower case as even/odd, with a shifted block in the middle.
    if (c == 0x130) return U'i';
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c < 0x138 || (c >= 0x14A && c <= 0x177)) return (c % 2 == 0) ? c + 1 : c;
    return c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                 // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;               // full-width Latin
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `i`; returns its length, or 0 when it is not valid UTF-8.
std::size_t DecodeAt(std::string_view s, std::size_t i, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  return len;
}

}  // namespace

std::string LowerCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    const std::size_t len = DecodeAt(utf8, i, c);
    if (len == 0) {
      out += utf8[i++];
      continue;
    }
    const char32_t lower = LowerCodePoint(c);
    if (lower == c)
      out.append(utf8.substr(i, len));
    else
      AppendUtf8(out, lower);
    i += len;
  }
  return out;
}

std::string_view FileExtension(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t sep = path.find_last_of("\\/:");
  if (dot == std::string_view::npos || (sep != std::string_view::npos && sep > dot)) return {};
  return path.substr(dot);
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t sep = path.find_last_of("\\/:");
  return sep == std::string_view::npos ? std::string_view() : path.substr(0, sep + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (!out.empty() && (out.back() == '\\' || out.back() == '/')) out.pop_back();
  out += '\\';
  while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.remove_prefix(1);
  out += name;
  return out;
}

}  // namespace tessmoor
