#include "skin_layered/paint/png/PngError.h"

namespace skin_layered {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

void GraphicError(std::string_view format) {
  GraphicErrorFmt(format, {png_text::FormatName});
}

void GraphicErrorFmt(std::string_view format, std::initializer_list<std::string_view> args) {
  throw EPngError(TGraphicErrorKind::InvalidGraphic, FormatText(format, args));
}

void CompressionError(std::string_view message) {
  throw EPngError(TGraphicErrorKind::GraphicCompression, std::string(message));
}

void ColorConversionError(std::string_view message) {
  throw EPngError(TGraphicErrorKind::ColorConversion, std::string(message));
}

}  // namespace skin_layered
