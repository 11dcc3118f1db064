object GalleryDialog: TGalleryDialog
  Left = 940
  Top = 500
  BorderIcons = [biSystemMenu, biHelp]
  BorderStyle = bsDialog
  Caption = 'A modal dialog'
  ClientHeight = 160
  ClientWidth = 360
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  object Prompt: TLabel
    Left = 16
    Top = 16
    Caption = 'Name of the new skin:'
  end
  object NameEdit: TEdit
    Left = 16
    Top = 36
    Width = 328
    Height = 21
    Text = 'Azure'
  end
  object KeepBox: TCheckBox
    Left = 16
    Top = 70
    Width = 200
    Height = 17
    Caption = 'Keep the current skin'
    Checked = True
    State = cbChecked
  end
  object OkButton: TButton
    Left = 188
    Top = 120
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
  object CancelButton: TButton
    Left = 269
    Top = 120
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
  end
end
