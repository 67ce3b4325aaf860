#include "palette/insert/method_choice.h"

namespace vxpalette {

namespace {

char16_t Lower(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit - u'A' + u'a' : unit; }

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsIgnoringCase(std::u16string_view text, std::u16string_view start) {
  return text.size() >= start.size() && EqualIgnoringCase(text.substr(0, start.size()), start);
}

// The class a Windows Forms control wraps: the second of its dot-separated parts.
std::u16string_view WrappedClass(std::u16string_view className) {
  constexpr std::u16string_view FORMS_PREFIX = u"WindowsForms10.";
  if (!StartsIgnoringCase(className, FORMS_PREFIX)) return className;
  std::u16string_view rest = className.substr(FORMS_PREFIX.size());
  return rest.substr(0, rest.find(u'.'));
}

}  // namespace

ControlKind KindOfClass(std::u16string_view className) {
  std::u16string_view name = WrappedClass(className);
  if (EqualIgnoringCase(name, u"Edit") || EqualIgnoringCase(name, u"RichEdit")) return ControlKind::Edit;
  if (StartsIgnoringCase(name, u"RichEdit")) return ControlKind::RichEdit;
  return ControlKind::Other;
}

PositionCount PositionCountOf(ControlKind kind) {
  return kind == ControlKind::RichEdit ? PositionCount::ParagraphEndIsOne : PositionCount::PerUnit;
}

InsertMethod ChooseMethod(InsertMethod requested, ControlKind kind, std::size_t typedUnits) {
  bool takesMessages = kind != ControlKind::Other;
  if (requested == InsertMethod::Keys || requested == InsertMethod::Clipboard) return requested;
  if (takesMessages) return InsertMethod::Message;
  return typedUnits > LONGEST_TYPED_TEXT ? InsertMethod::Clipboard : InsertMethod::Keys;
}

}  // namespace vxpalette
