object GalleryMdiChild: TGalleryMdiChild
  Left = 0
  Top = 0
  Caption = 'MDI child'
  ClientHeight = 200
  ClientWidth = 300
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsMDIChild
  object ChildMemo: TMemo
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    Align = alClient
    Lines.Strings = (
      'A document window.')
  end
end
