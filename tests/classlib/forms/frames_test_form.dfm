object FrameHost: TFrameHostForm
  Left = 0
  Top = 0
  Caption = 'frames'
  ClientWidth = 400
  ClientHeight = 300
  object AddressFrame: TScrollBox
    Left = 220
    Top = 10
    Width = 150
    Height = 100
    TabOrder = 2
    object Inner: TAddressFrame
      Left = 0
      Top = 150
      TabOrder = 0
    end
  end
  inline Home: TAddressFrame
    Left = 10
    Top = 10
    TabOrder = 0
    inherited edtCity: TEdit
      Text = '北京'
    end
  end
  inline Work: TAddressFrame
    Left = 10
    Top = 100
    TabOrder = 1
  end
end
