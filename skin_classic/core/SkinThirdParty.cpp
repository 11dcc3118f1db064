// The default Skin3rd list: foreign control classes and the standard kind each behaves like,
// for the control skinners (kinds in mixed case; the lookup lower-cases both sides).
#include <array>
#include <string_view>

#include "skin_classic/core/SkinData.h"

namespace winskin {
namespace {

constexpr std::array<std::wstring_view, 118> kDefaultSkin3rd = {
    L"TCategoryButtons=scrollbar", L"TPngSpeedbutton=pngspeedbutton", L"TPngBitBtn=pngbitbtn",
    L"TVirtualStringTree=scrollbar", L"TVirtualDrawTree=scrollbar", L"TTBXDockablePanel=Panel",
    L"TAdvPanelGroup=scrollbar", L"TComboboxex=combobox", L"TRxSpeedButton=speedbutton",
    L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar", L"TfrSpeedButton=speedbutton",
    L"TfrTBButton=speedbutton", L"TControlBar=Panel", L"TTBDock=Panel", L"TTBToolbar=Panel",
    L"TImageEnMView=scrollbar", L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar", L"TDBAdvMemo=scrollbar",
    L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox", L"TcxDBDateEdit=combobox",
    L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox", L"TcxDBBlobEdit=combobox",
    L"TcxDBPopupEdit=combobox", L"TcxDBFontNameComboBox=combobox", L"TcxDBShellComboBox=combobox",
    L"TRxLookupEdit=combobox", L"TRxDBLookupCombo=combobox", L"TRzGroup=Panel", L"TRzButton=button",
    L"TRzBitbtn=bitbtn", L"TRzMenuButton=menubtn", L"TRzCheckGroup=CheckGroup", L"TRzRadioGroup=Radiogroup",
    L"TRzButtonEdit=Edit", L"TRzDBRadioGroup=Radiogroup", L"TRzDBRadioButton=Radiobutton",
    L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox", L"TRzDateTimePicker=combobox",
    L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox", L"TRzDBDateTimePicker=combobox",
    L"TLMDButton=bitbtn", L"TLMDGroupBox=Groupbox", L"TDBCheckboxEh=Checkbox", L"TDBCheckboxEh=Checkbox",
    L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox", L"TLMDRadiobutton=Radiobutton",
    L"TLMDCalculator=Panel", L"TLMDGROUPBOX=Groupbox", L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel",
    L"TLMDButtonPanel=Panel", L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel",
    L"TLMDTechnicalLine=Panel", L"TLMDLMDClock=Panel", L"TLMDTrackbar=Panel", L"TLMDListCombobox=combobox",
    L"TLMDCheckListCombobox=combobox", L"TLMDHeaderListCombobox=combobox", L"TLMDImageCombobox=combobox",
    L"TLMDColorCombobox=combobox", L"TLMDFontCombobox=combobox", L"TLMDFontSizeCombobox=combobox",
    L"TLMDFontSizeCombobox=combobox", L"TLMDPrinterCombobox=combobox", L"TLMDDriveCombobox=combobox",
    L"TLMDCalculatorComboBox=combobox", L"TLMDTrackBarComboBox=combobox", L"TLMDCalendarComboBox=combobox",
    L"TLMDTreeComboBox=combobox", L"TLMDRADIOGROUP=Radiogroup", L"TLMDCheckGroup=CheckGroup",
    L"TLMDDBRADIOGROUP=Radiogroup", L"TLMDDBCheckGroup=CheckGroup", L"TLMDCalculatorEdit=Edit",
    L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit", L"TLMDEXTSPINEDIT=Edit",
    L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit", L"TLMDFILESAVEEDIT=Edit", L"TLMDCOLOREDIT=Edit",
    L"TLMDDBEDIT=Edit", L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit", L"TLMDDBSPINEDIT=Edit",
    L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TDBLookupCombobox=combobox",
    L"TWWDBCombobox=combobox", L"TWWDBCombobox=combobox", L"TWWDBLookupCombo=combobox",
    L"TWWKeyCombo=combobox", L"TWWTempKeyCombo=combobox", L"TWWDBDateTimePicker=combobox",
    L"TWWRADIOGROUP=Radiogroup", L"TWWDBEDIT=Edit", L"TcxButton=bitbtn", L"TcxDBRadioGroup=Radiogroup",
    L"TcxRadioGroup=Radiogroup", L"TcxGroupbox=Panel", L"TOVCPICTUREFIELD=Edit", L"TOVCDBPICTUREFIELD=Edit",
    L"TOVCSLIDEREDIT=Edit", L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit", L"TOVCDBSIMPLEFIELD=Edit",
    L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit",
};

}  // namespace

void FillDefaultSkin3rd(vcl::TStrings* Lines) {
  Lines->BeginUpdate();
  Lines->Clear();
  for (std::wstring_view line : kDefaultSkin3rd) Lines->Add(String(line));
  Lines->EndUpdate();
}

bool IsDefaultSkin3rd(const vcl::TStrings* Lines) {
  if (!Lines || Lines->Count() != static_cast<int>(kDefaultSkin3rd.size())) return false;
  for (int i = 0; i < Lines->Count(); ++i)
    if (Lines->Strings(i) != kDefaultSkin3rd[static_cast<size_t>(i)]) return false;
  return true;
}

}  // namespace winskin
