#include <iconv.h>

#include <cerrno>

#include "platform/text_convert.h"

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts as far as the input allows. With `replace`, an undecodable byte
// becomes `replacement` and conversion goes on; without it, it fails.
bool convert(const char* to, const char* from, std::string_view in, std::string& out,
             bool replace, std::string_view replacement) {
  out.clear();
  Converter cd(to, from);
  if (!cd.valid()) return false;
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char buffer[1024];
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    std::size_t r = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (!replace) {
      out.clear();
      return false;
    }
    out.append(replacement);
    ++src;
    --srcLeft;
  }
  return true;
}

}  // namespace

bool utf8ToSjis(std::string_view utf8, std::string& out) {
  return convert("CP932", "UTF-8", utf8, out, false, {});
}

std::string sjisToUtf8(std::string_view sjis) {
  std::string out;
  convert("UTF-8", "CP932", sjis, out, true, "\xEF\xBF\xBD");
  return out;
}

bool pathFromUtf8(std::string_view utf8, std::string& out) {
  out.assign(utf8);
  return true;
}

std::string pathFromSettingText(std::string_view sjis) { return sjisToUtf8(sjis); }
