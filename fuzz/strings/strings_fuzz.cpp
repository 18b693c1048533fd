// Checks the search, edit and in-place string routines and rt_copy_bytes against a plain model
// built on standard containers. Input: an operation byte, two parameter bytes, two length
// bytes, then the bytes of up to three texts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "rtlib.h"
#include "stand_in_strings.h"

namespace {

void check(bool ok, const char *what) {
  if (!ok) {
    fprintf(stderr, "mismatch: %s\n", what);
    abort();
  }
}

// A text in a block of exactly its length plus a terminator.
struct Text {
  std::vector<char> bytes;
  StrView view;
  explicit Text(const std::string &s) : bytes(s.begin(), s.end()) {
    bytes.push_back('\0');
    bytes.shrink_to_fit();
    view = StrView{bytes.data(), s.size()};
  }
};

// The text up to its first NUL.
std::string c_view(const std::string &s, size_t from = 0) {
  if (from >= s.size())
    return {};
  return std::string(s.c_str() + from);
}

int64_t model_instr(const std::string &t, const std::string &s) {
  const size_t at = std::string_view(t).find(s);
  return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

int64_t model_count(const std::string &t, const std::string &s) {
  const std::string needle = c_view(s);
  if (s.empty() || needle.empty())
    return 0;
  const std::string hay = c_view(t);
  int64_t count = 0;
  for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1))
    ++count;
  return count;
}

int64_t model_verify(const std::string &t, const std::string &set) {
  const std::string hay = c_view(t), members = c_view(set);
  for (size_t i = 0; i < hay.size(); ++i)
    if (members.find(hay[i]) == std::string::npos)
      return static_cast<int64_t>(i) + 1;
  return 0;
}

int model_find_any(const std::string &t, const std::string &set) {
  const std::string hay = c_view(t), members = c_view(set);
  for (char c : hay)
    if (members.find(c) != std::string::npos)
      return static_cast<unsigned char>(c);
  return -1;
}

std::string model_remove(const std::string &s, int64_t start, int64_t count) {
  if (start < 1 || count < 1 || static_cast<uint64_t>(start) - 1 >= s.size())
    return s;
  const size_t offset = static_cast<size_t>(start - 1);
  return s.substr(0, offset) + s.substr(std::min(s.size(), offset + static_cast<size_t>(count)));
}

std::string model_insert(const std::string &s, const std::string &ins, int64_t position) {
  const int64_t clamped =
      std::max<int64_t>(1, std::min<int64_t>(position, static_cast<int64_t>(s.size()) + 1));
  const size_t offset = static_cast<size_t>(clamped - 1);
  return s.substr(0, offset) + ins + s.substr(offset);
}

// Occurrences are found NUL-terminated from the current place (as strstr does) and count only
// where all of the search string's bytes match inside the source; the scan goes on behind each
// occurrence, or one place further on behind a candidate that does not count.
std::string model_replace(const std::string &src, const std::string &search,
                          const std::string &rep) {
  if (search.empty() || search[0] == '\0')
    return src;
  const std::string needle = c_view(search);
  std::string out;
  size_t place = 0, copied = 0;
  while (place < src.size() && src[place] != '\0') {
    const std::string segment = c_view(src, place);
    const size_t at = segment.find(needle);
    if (at == std::string::npos)
      break;
    const size_t p = place + at;
    if (p + search.size() <= src.size() && src.compare(p, search.size(), search) == 0) {
      out += src.substr(copied, p - copied) + rep;
      place = copied = p + search.size();
    } else {
      place = p + 1;
    }
  }
  return out + src.substr(copied);
}

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void check_sized(const RtString *r, const std::string &expected, const char *what) {
  check(r != nullptr, what);
  check(r->data == reinterpret_cast<const char *>(r) + 32, what);
  check(r->length == expected.size() && r->capacity == expected.size() && r->inline_flag == 1,
        what);
  check(std::string(r->data, r->length) == expected && r->data[r->length] == 0, what);
  check(standin::heap_block_size(r) == expected.size() + 33, what);
}

void check_copy_or_null(RtString *r, const std::string &expected, const char *what) {
  if (expected.empty() && r == nullptr)
    return;
  check_sized(r, expected, what);
}

std::string to_ab(std::string s) {
  for (char &c : s)
    c = static_cast<char>('a' + (static_cast<unsigned char>(c) & 1));
  return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 5)
    return 0;
  standin::reset();
  const uint8_t op = data[0];
  const int64_t p1 = static_cast<int8_t>(data[1]);
  const int64_t p2 = static_cast<int8_t>(data[2]);
  const char *rest = reinterpret_cast<const char *>(data + 5);
  const size_t left = size - 5;
  const size_t n1 = std::min<size_t>(left, data[3] * (left > 600 ? 16 : 1));
  const size_t n2 = std::min<size_t>(left - n1, data[4]);
  std::string a(rest, n1), b(rest + n1, n2), c(rest + n1 + n2, left - n1 - n2);
  if (op & 0x80) { // a two-letter alphabet makes periodic and near-miss cases likely
    a = to_ab(a);
    b = to_ab(b);
  }
  Text ta(a), tb(b), tc(c);
  switch (op % 14) {
  case 0:
    check(rt_instr(&ta.view, &tb.view) == model_instr(a, b), "instr");
    check(rt_instr(&ta.view, &tc.view) == model_instr(a, c), "instr");
    break;
  case 1:
    check(rt_str_count(&ta.view, &tb.view) == model_count(a, b), "count");
    break;
  case 2: {
    check(rt_str_verify(&ta.view, &tb.view) == model_verify(a, b), "verify");
    RtString *r = rt_str_find_any(&ta.view, &tb.view);
    const int expected = model_find_any(a, b);
    check((r == nullptr) == (expected < 0), "find_any");
    if (r != nullptr) {
      check(r->length == 1 && r->capacity == 8 && r->inline_flag == 1 &&
                static_cast<unsigned char>(r->data[0]) == expected && r->data[1] == 0,
            "find_any record");
      rt_free(r);
    }
    break;
  }
  case 3: {
    RtString *r = rt_str_remove(&ta.view, p1, p2);
    check_copy_or_null(r, model_remove(a, p1, p2), "remove");
    rt_free(r);
    break;
  }
  case 4: {
    RtString *r = rt_str_insert(&ta.view, &tb.view, p1);
    check_sized(r, model_insert(a, b, p1), "insert");
    rt_free(r);
    break;
  }
  case 5:
  case 6: {
    RtString *r = rt_str_replace(&ta.view, &tb.view, &tc.view);
    check_copy_or_null(r, model_replace(a, b, c), "replace");
    rt_free(r);
    break;
  }
  case 7: {
    const uint64_t count = static_cast<uint8_t>(p1) % 40;
    char *block = static_cast<char *>(rt_str_repeat(&tb.view, count));
    std::string expected;
    for (uint64_t i = 0; i < count; ++i)
      expected += b;
    check(block != nullptr && standin::heap_block_size(block) == expected.size(), "repeat size");
    check(std::string(block, expected.size()) == expected, "repeat");
    rt_free(block);
    break;
  }
  case 8: {
    int64_t (*routines[])(StrView *) = {rt_str_trim, rt_str_ltrim, rt_str_rtrim};
    const int which = static_cast<int>(static_cast<uint8_t>(p1) % 3);
    size_t start = 0, end = a.size();
    if (!a.empty()) {
      if (which != 2)
        while (start < end && is_white(a[start]))
          ++start;
      if (which != 1)
        while (end > start && is_white(a[end - 1]))
          --end;
    }
    StrView v = ta.view;
    check(routines[which](&v) == 0, "trim result");
    check(v.data == ta.view.data + start && v.length == end - start, "trim view");
    check(std::string(v.data, v.length) == a.substr(start, end - start), "trim text");
    check(a.empty() || v.data[v.length] == 0, "trim terminator");
    break;
  }
  case 9: {
    StrView v = ta.view;
    rt_str_reverse(&v);
    check(std::string(v.data, v.length) == std::string(a.rbegin(), a.rend()), "reverse");
    check(v.data[v.length] == 0 && v.data == ta.view.data, "reverse view");
    break;
  }
  case 10: {
    std::vector<unsigned char> expected(left + 1), actual;
    for (size_t i = 0; i < expected.size(); ++i)
      expected[i] = static_cast<unsigned char>(i * 7 + 1);
    actual = expected;
    const size_t to = static_cast<uint8_t>(p1) % expected.size();
    const size_t from = static_cast<uint8_t>(p2) % expected.size();
    const size_t count = data[3] % (expected.size() - std::max(to, from) + 1);
    for (size_t i = 0; i < count; ++i)
      expected[to + i] = expected[from + i];
    check(rt_copy_bytes(actual.data() + to, actual.data() + from, count) == actual.data() + to,
          "copy result");
    check(actual == expected, "copy bytes");
    break;
  }
  case 11: {
    RtString *blank = rt_str_blank();
    check(rt_str_concat(blank, &ta.view, &tb.view) == 0, "concat");
    check(std::string(blank->data, blank->length) == a + b && blank->data[blank->length] == 0 &&
              blank->capacity == blank->length && blank->inline_flag == 0 &&
              standin::heap_block_size(blank->data) == blank->length + 1,
          "concat record");
    RtString *copy = rt_str_dup(reinterpret_cast<StrView *>(blank));
    check_copy_or_null(copy, a + b, "dup");
    rt_free(copy);
    rt_free(blank->data);
    rt_free(blank);
    break;
  }
  case 12: {
    check(rt_str_asc(&ta.view) == (a.empty() ? 0 : static_cast<unsigned char>(a[0])), "asc");
    const long value = atol(ta.view.data);
    check(rt_str_val(&ta.view) == static_cast<int32_t>(value), "val");
    break;
  }
  case 13: {
    std::vector<char> buffer(a.begin(), a.end()), expected;
    buffer.resize(a.size() + 300);
    expected = buffer;
    const size_t offset = static_cast<uint8_t>(p1);
    const size_t count = std::min<size_t>(a.size(), static_cast<uint8_t>(p2));
    memmove(expected.data() + offset, expected.data(), count);
    check(rt_move_at(buffer.data(), offset, buffer.data(), count) == buffer.data() + offset,
          "move_at result");
    check(buffer == expected, "move_at");
    break;
  }
  }
  return 0;
}
