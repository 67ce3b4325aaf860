#include "palette/insert/remote_edit_win32.h"

#include <vector>

namespace vxpalette {

bool RemoteEdit::IsReadOnly() const { return (GetWindowLongW(control_, GWL_STYLE) & ES_READONLY) != 0; }

Answer RemoteEdit::ReadRange(DWORD* start, DWORD* end) const {
  // Through the pointers, not the packed result, which holds only 16 bits of each.
  return SendBounded(control_, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end), nullptr);
}

Answer RemoteEdit::ReadText(std::u16string* text) const {
  DWORD_PTR length = 0;
  Answer answer = SendBounded(control_, WM_GETTEXTLENGTH, 0, 0, &length);
  if (answer != Answer::Answered) return answer;
  // A RichEdit may count a paragraph end as one unit here and still hand it
  // out as CR LF: room for twice the length; the copy says what it wrote.
  std::size_t room = count_ == PositionCount::ParagraphEndIsOne ? 2 * length : length;
  std::vector<char16_t> buffer(room + 1);
  DWORD_PTR copied = 0;
  answer = SendBounded(control_, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), &copied);
  if (answer != Answer::Answered) return answer;
  text->assign(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
  return Answer::Answered;
}

Answer RemoteEdit::ReadSelection(Selection* selection) const {
  Answer answer = ReadRange(&selection->start, &selection->end);
  if (answer != Answer::Answered) return answer;
  selection->selected.clear();
  if (selection->end <= selection->start) return Answer::Answered;
  std::u16string text;
  answer = ReadText(&text);
  if (answer != Answer::Answered) return answer;
  std::size_t from = UnitIndexAt(text, selection->start, count_);
  std::size_t to = UnitIndexAt(text, selection->end, count_);
  selection->selected = text.substr(from, to - from);
  return Answer::Answered;
}

Answer RemoteEdit::ReplaceSelection(const std::u16string& text) const {
  return SendBounded(control_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()), nullptr);
}

Answer RemoteEdit::PutCaret(DWORD position) const {
  return SendBounded(control_, EM_SETSEL, position, position, nullptr);
}

}  // namespace vxpalette
