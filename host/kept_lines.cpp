#include "host/kept_lines.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace vxhost {
namespace {

template <typename Char>
std::vector<std::basic_string_view<Char>> Split(std::basic_string_view<Char> text) {
  std::vector<std::basic_string_view<Char>> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Char('\r')) {
      if (i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
    } else if (text[i] != Char('\n')) {
      continue;
    }
    lines.push_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// More differing lines than this between two saves and the comparison goes
// by order alone: its cost grows with the square of the differences.
constexpr long MAX_DIFFERENCES = 1000;

// The pairs of equal lines (a index, b index) of a shortest edit between a
// and b (Myers' O(ND) walk, its frontier kept per step for the walk back);
// nothing when the edit is longer than MAX_DIFFERENCES.
std::optional<std::vector<std::pair<std::size_t, std::size_t>>> CommonLines(const std::vector<int>& a,
                                                                            const std::vector<int>& b) {
  const long n = static_cast<long>(a.size()), m = static_cast<long>(b.size());
  const long limit = std::min(n + m, MAX_DIFFERENCES);
  std::vector<long> v(static_cast<std::size_t>(2 * limit + 3), 0);
  const long offset = limit + 1;
  std::vector<std::vector<long>> frontiers;
  long steps = -1;
  for (long d = 0; d <= limit && steps < 0; ++d) {
    frontiers.emplace_back(v.begin() + (offset - d - 1), v.begin() + (offset + d + 2));
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                             : v[offset + k - 1] + 1;
      long y = x - k;
      while (x < n && y < m && a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)]) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) {
        steps = d;
        break;
      }
    }
  }
  if (steps < 0) return std::nullopt;
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  long x = n, y = m;
  for (long d = steps; d >= 0; --d) {
    const std::vector<long>& before = frontiers[static_cast<std::size_t>(d)];
    auto at = [&](long k) { return before[static_cast<std::size_t>(k + d + 1)]; };
    const long k = x - y;
    const long previousK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
    const long previousX = d == 0 ? 0 : at(previousK);
    const long previousY = d == 0 ? 0 : previousX - previousK;
    const long startX = d == 0 ? 0 : (previousK == k + 1 ? previousX : previousX + 1);
    while (x > startX && y > startX - k) {
      --x, --y;
      pairs.emplace_back(static_cast<std::size_t>(x), static_cast<std::size_t>(y));
    }
    x = previousX;
    y = previousY;
  }
  std::reverse(pairs.begin(), pairs.end());
  return pairs;
}

// Equal lines in order, each line of b taking the next equal one of a.
std::vector<std::pair<std::size_t, std::size_t>> InOrder(const std::vector<int>& a, const std::vector<int>& b) {
  std::unordered_map<int, std::vector<std::size_t>> places;
  for (std::size_t i = 0; i < a.size(); ++i) places[a[i]].push_back(i);
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::size_t next = 0;
  for (std::size_t j = 0; j < b.size(); ++j) {
    const auto found = places.find(b[j]);
    if (found == places.end()) continue;
    const auto place = std::lower_bound(found->second.begin(), found->second.end(), next);
    if (place == found->second.end()) continue;
    pairs.emplace_back(*place, j);
    next = *place + 1;
  }
  return pairs;
}

}  // namespace

std::vector<std::wstring_view> SplitLines(std::wstring_view text) { return Split(text); }
std::vector<std::string_view> SplitLines(std::string_view bytes) { return Split(bytes); }

KeptLines::KeptLines(const std::vector<std::wstring_view>& lines, std::vector<KeptLine> kept) : kept_(std::move(kept)) {
  if (!kept_.empty()) lines_.assign(lines.begin(), lines.end());
}

std::vector<const std::string*> KeptLines::Match(const std::vector<std::wstring_view>& now) const {
  std::vector<const std::string*> matches(now.size(), nullptr);
  if (kept_.empty()) return matches;
  // Equal texts, equal numbers: the walk compares numbers.
  std::unordered_map<std::wstring_view, int> ids;
  auto id = [&](std::wstring_view line) { return ids.emplace(line, static_cast<int>(ids.size())).first->second; };
  std::vector<int> before, after;
  for (const std::wstring& line : lines_) before.push_back(id(line));
  for (std::wstring_view line : now) after.push_back(id(line));
  // Lines equal at both ends pair up by place; the walk only sees the middle.
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  for (std::size_t i = 0; i < head; ++i) pairs.emplace_back(i, i);
  const std::vector<int> middleBefore(before.begin() + static_cast<long>(head), before.end() - static_cast<long>(tail));
  const std::vector<int> middleAfter(after.begin() + static_cast<long>(head), after.end() - static_cast<long>(tail));
  auto middle = CommonLines(middleBefore, middleAfter);
  if (!middle) middle = InOrder(middleBefore, middleAfter);
  for (const auto& pair : *middle) pairs.emplace_back(pair.first + head, pair.second + head);
  for (std::size_t i = tail; i > 0; --i) pairs.emplace_back(before.size() - i, after.size() - i);

  std::unordered_map<std::size_t, const std::string*> keptAt;
  for (const KeptLine& line : kept_) keptAt.emplace(line.line, &line.bytes);
  for (const auto& pair : pairs) {
    const auto kept = keptAt.find(pair.first);
    if (kept != keptAt.end()) matches[pair.second] = kept->second;
  }
  return matches;
}

KeptLines KeptLines::After(const std::vector<std::wstring_view>& now, const std::vector<const std::string*>& matches) {
  std::vector<KeptLine> kept;
  for (std::size_t i = 0; i < matches.size() && i < now.size(); ++i) {
    if (matches[i]) kept.push_back(KeptLine{i, *matches[i]});
  }
  return KeptLines(now, std::move(kept));
}

}  // namespace vxhost
