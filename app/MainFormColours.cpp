// Colour fields: a double click opens the colour dialog; a confirmed choice becomes the
// field's text ("#RRGGBB") and its background, the text in white or black, whichever reads
// better on it.
#include "app/HtmlColor.h"
#include "app/MainForm.h"

namespace composer {

using vcl::TObject;

void Tfrmmain::PickColour(vcl::TEdit* Field) {
  if (!dlgColor1->Execute()) return;
  const vcl::TColor colour = dlgColor1->Color();
  Field->SetText(ColorToHtmlHex(colour));
  Field->SetColor(colour);
  Field->Font()->SetColor(static_cast<vcl::TColor>(ContrastingTextColor(colour)));
}

void Tfrmmain::edt1DblClick(TObject*) { PickColour(edt1); }
void Tfrmmain::edt2DblClick(TObject*) { PickColour(edt2); }
void Tfrmmain::edt4DblClick(TObject*) { PickColour(edt4); }
void Tfrmmain::edt5DblClick(TObject*) { PickColour(edt5); }
void Tfrmmain::edt6DblClick(TObject*) { PickColour(edt6); }
void Tfrmmain::edt7DblClick(TObject*) { PickColour(edt7); }
void Tfrmmain::edt8DblClick(TObject*) { PickColour(edt8); }
void Tfrmmain::edt17DblClick(TObject*) { PickColour(edt17); }
void Tfrmmain::edt18DblClick(TObject*) { PickColour(edt18); }
void Tfrmmain::edt20DblClick(TObject*) { PickColour(edt20); }
void Tfrmmain::edt21DblClick(TObject*) { PickColour(edt21); }
void Tfrmmain::edt22DblClick(TObject*) { PickColour(edt22); }
void Tfrmmain::edt23DblClick(TObject*) { PickColour(edt23); }
void Tfrmmain::edt24DblClick(TObject*) { PickColour(edt24); }
void Tfrmmain::edt28DblClick(TObject*) { PickColour(edt28); }
void Tfrmmain::edtziseDblClick(TObject*) { PickColour(edtzise); }
void Tfrmmain::edtfengediseDblClick(TObject*) { PickColour(edtfengedise); }
void Tfrmmain::edtfengebiaotiDblClick(TObject*) { PickColour(edtfengebiaoti); }
void Tfrmmain::edtfengexiaoziDblClick(TObject*) { PickColour(edtfengexiaozi); }
void Tfrmmain::edtfengexianDblClick(TObject*) { PickColour(edtfengexian); }

}  // namespace composer
