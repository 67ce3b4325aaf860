// The codec's converters on POSIX systems: glibc's iconv.
#include <iconv.h>

#include "tools/vxtags/cp932_codec.h"

namespace vxtags {

void* Cp932Codec::OpenConverter(Direction direction) {
  const iconv_t converter =
      direction == Direction::ToCp932 ? iconv_open("CP932", "UTF-32LE") : iconv_open("UTF-32LE", "CP932");
  return converter == reinterpret_cast<iconv_t>(-1) ? nullptr : converter;
}

void Cp932Codec::CloseConverter(void* converter) {
  if (converter != nullptr) iconv_close(static_cast<iconv_t>(converter));
}

std::size_t Cp932Codec::Convert(void* converter, const char* in, std::size_t inLength, char* out,
                                std::size_t outSize) {
  if (converter == nullptr) return 0;
  const iconv_t cd = static_cast<iconv_t>(converter);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* input = const_cast<char*>(in);
  char* output = out;
  std::size_t inLeft = inLength;
  std::size_t outLeft = outSize;
  if (iconv(cd, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) return 0;
  return outSize - outLeft;
}

}  // namespace vxtags
