object AddressFrame: TAddressFrame
  Left = 0
  Top = 0
  Width = 200
  Height = 60
  TabOrder = 0
  object lblCity: TLabel
    Left = 4
    Top = 6
    Caption = '城市'
  end
  object edtCity: TEdit
    Left = 40
    Top = 2
    Width = 120
    Height = 21
    TabOrder = 0
    Text = '上海'
    OnChange = edtCityChange
  end
end
